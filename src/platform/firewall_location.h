#pragma once

#include <string>

namespace qv::platform {

// The full path of the firewall's program file as the firewall registered it
// under the machine's App Paths ("...\App Paths\Smc.exe", default value, at
// most 260 bytes). Empty when it is not registered, and always empty off
// Windows, where no such registration exists.
std::string firewallProgramPath();

}  // namespace qv::platform
