#include "platform/config_location.h"

#include "platform/program_location.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include <vector>
#endif

namespace qv::platform {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

#ifndef _WIN32
std::string homeFolder() {
  std::string home = environmentValue("HOME");
  if (!home.empty()) return home;
  // No HOME (a service or a stripped environment): ask the user database.
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    home = found->pw_dir;
  }
  return home.empty() ? std::string("/") : home;
}

std::string joinPath(const std::string& folder, const char* name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}
#endif

}  // namespace

#ifdef _WIN32

std::string userConfigHome() { return environmentValue("APPDATA"); }

std::string settingsFolder() { return userConfigHome() + "\\Orvane"; }

std::string settingsFilePath() { return settingsFolder() + "\\Quorvex Log Viewer.conf"; }

std::string filterListPath() { return programFolder() + "\\filter.lst"; }

#else

std::string userConfigHome() {
  // Relative values are invalid by the base-directory rules and are ignored.
  const std::string configured = environmentValue("XDG_CONFIG_HOME");
  if (!configured.empty() && configured.front() == '/') return configured;
  return joinPath(homeFolder(), ".config");
}

std::string settingsFolder() { return joinPath(userConfigHome(), "Orvane"); }

std::string settingsFilePath() { return joinPath(settingsFolder(), "Quorvex Log Viewer.conf"); }

std::string filterListPath() { return joinPath(settingsFolder(), "filter.lst"); }

#endif

}  // namespace qv::platform
