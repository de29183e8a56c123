#pragma once

#include <string>

namespace qv::platform {

// Full path of the running program file (GetModuleFileNameA on Windows,
// /proc/self/exe here); empty when the system cannot tell.
std::string programPath();

// The folder that holds the program file, without a trailing separator.
std::string programFolder();

}  // namespace qv::platform
