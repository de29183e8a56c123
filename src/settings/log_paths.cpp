#include "settings/log_paths.h"

#include "platform/firewall_location.h"
#include "settings/value_names.h"

#include <memory>

namespace qv::settings {
namespace {

constexpr std::size_t kFirewallProgramNameLength = 7;  // "Smc.exe"

}  // namespace

std::string pathBesideFirewallProgram(std::string_view firewallProgramPath, std::string_view fileName) {
  if (firewallProgramPath.size() < kFirewallProgramNameLength) return {};
  std::string path(firewallProgramPath.substr(0, firewallProgramPath.size() - kFirewallProgramNameLength));
  path += fileName;
  return path;
}

namespace {

LogPaths storedLogPaths(const SettingsStore& store) {
  LogPaths paths;
  if (const std::unique_ptr<const SettingsKey> key = store.openForReading()) {
    paths.trafficLog = key->readText(names::kTrafficLogPath).value_or(std::string());
    paths.packetLog = key->readText(names::kPacketLogPath).value_or(std::string());
  }
  return paths;
}

void fillBesideFirewallProgram(LogPaths& paths, std::string_view firewallProgramPath) {
  if (paths.trafficLog.empty()) paths.trafficLog = pathBesideFirewallProgram(firewallProgramPath, "tralog.log");
  if (paths.packetLog.empty()) paths.packetLog = pathBesideFirewallProgram(firewallProgramPath, "rawlog.log");
}

}  // namespace

LogPaths lookupLogPaths(const SettingsStore& store, std::string_view firewallProgramPath) {
  LogPaths paths = storedLogPaths(store);
  fillBesideFirewallProgram(paths, firewallProgramPath);
  return paths;
}

LogPaths lookupLogPaths(const SettingsStore& store) {
  LogPaths paths = storedLogPaths(store);
  // Asked only when needed: on Windows it opens a registry key.
  if (paths.trafficLog.empty() || paths.packetLog.empty()) {
    fillBesideFirewallProgram(paths, platform::firewallProgramPath());
  }
  return paths;
}

LogPaths logPathsForReading(const SettingsStore& store) {
  LogPaths paths = lookupLogPaths(store);
  if (paths.trafficLog.empty()) paths.trafficLog = kDefaultTrafficLogPath;
  if (paths.packetLog.empty()) paths.packetLog = kDefaultPacketLogPath;
  return paths;
}

}  // namespace qv::settings
