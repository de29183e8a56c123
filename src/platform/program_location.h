#pragma once

#include <string>

namespace qv::platform {

// Full path of the running program file (GetModuleFileNameA on Windows,
// /proc/self/exe here), asked on the first call and kept for the life of the
// process; empty when the system cannot tell. Safe to call from any thread.
std::string programPath();

// The folder that holds the program file, without a trailing separator.
std::string programFolder();

}  // namespace qv::platform
