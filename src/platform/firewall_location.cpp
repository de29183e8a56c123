#include "platform/firewall_location.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv::platform {

#ifdef _WIN32

std::string firewallProgramPath() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Smc.exe", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return {};
  }
  char buffer[261] = {};
  DWORD size = 260;
  const LONG status = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return {};
  // The stored text need not be terminated; the spare byte always is.
  return std::string(buffer);
}

#else

std::string firewallProgramPath() { return {}; }

#endif

}  // namespace qv::platform
