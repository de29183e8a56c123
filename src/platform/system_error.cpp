#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv::platform {

std::string systemErrorText(int errorNumber) {
#ifdef _WIN32
  char buffer[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(errorNumber), 0, buffer, sizeof buffer, nullptr);
  // The system's texts end with a line break; messages put them inside a line.
  while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' ')) {
    --length;
  }
  if (length == 0) return "Error " + std::to_string(errorNumber);
  return std::string(buffer, length);
#else
  char buffer[512] = {};
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
  return text != nullptr ? std::string(text) : std::string();
#endif
}

std::string lastSystemErrorText() {
#ifdef _WIN32
  return systemErrorText(static_cast<int>(GetLastError()));
#else
  return systemErrorText(errno);
#endif
}

}  // namespace qv::platform
