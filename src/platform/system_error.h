#pragma once

#include <string>

namespace qv::platform {

// The system's message text for an error number (strerror here,
// FormatMessageA on Windows), as shown after " : " in file and socket errors.
std::string systemErrorText(int errorNumber);

// The text for the calling thread's last error (errno / GetLastError).
std::string lastSystemErrorText();

}  // namespace qv::platform
