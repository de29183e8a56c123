#pragma once

#include "settings/settings_store.h"

#include <string>
#include <string_view>

namespace qv::settings {

struct LogPaths {
  std::string trafficLog;
  std::string packetLog;

  friend bool operator==(const LogPaths&, const LogPaths&) = default;
};

// The main window's paths when nothing else names a log.
inline constexpr std::string_view kDefaultTrafficLogPath = "C:\\Program Files\\Keltor\\Quorvex\\tralog.log";
inline constexpr std::string_view kDefaultPacketLogPath = "C:\\Program Files\\Keltor\\Quorvex\\rawlog.log";

// The log named fileName in the folder of the firewall's registered program
// file: the program's file name ("Smc.exe", its last 7 characters) is cut off
// and fileName appended, the folder part kept exactly as stored. Empty when
// the program path is too short to hold that name.
std::string pathBesideFirewallProgram(std::string_view firewallProgramPath, std::string_view fileName);

// Each path by itself: the stored "tralogPath" / "rawlogPath"; if that is
// missing or empty, the log beside the firewall's registered program file.
// Either may still come out empty. Reloaded from the store on every call,
// so a path changed in the Options dialog applies at the next read.
LogPaths lookupLogPaths(const SettingsStore& store, std::string_view firewallProgramPath);
// The same with the firewall's registration of this system.
LogPaths lookupLogPaths(const SettingsStore& store);

// What the main window reads: lookupLogPaths, then the fixed defaults for a
// path still empty.
LogPaths logPathsForReading(const SettingsStore& store);

}  // namespace qv::settings
