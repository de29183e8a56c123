#include "settings/log_paths.h"
#include "settings/memory_settings_store.h"

#include <gtest/gtest.h>

namespace qv::settings {
namespace {

StoredValue text(std::string_view value) {
  StoredValue stored{ValueType::kText, std::vector<std::uint8_t>(value.begin(), value.end())};
  stored.bytes.push_back(0);
  return stored;
}

TEST(LogPaths, StoredPathsComeFirst) {
  MemorySettingsStore store;
  store.putValue("tralogPath", text("/logs/t.log"));
  store.putValue("rawlogPath", text("/logs/r.log"));
  EXPECT_EQ(lookupLogPaths(store, "C:\\Fw\\Smc.exe"), (LogPaths{"/logs/t.log", "/logs/r.log"}));
}

TEST(LogPaths, EmptyOrMissingPathsComeFromTheFirewallsFolderEachByItself) {
  MemorySettingsStore store;
  store.putValue("tralogPath", text(""));  // present but empty: like a missing one
  store.putValue("rawlogPath", text("D:\\mine\\rawlog.log"));
  EXPECT_EQ(lookupLogPaths(store, "C:\\Program Files\\Fw\\\\Smc.exe"),
            (LogPaths{"C:\\Program Files\\Fw\\\\tralog.log", "D:\\mine\\rawlog.log"}));
  EXPECT_EQ(lookupLogPaths(MemorySettingsStore(), "E:\\Smc.exe"), (LogPaths{"E:\\tralog.log", "E:\\rawlog.log"}));
  EXPECT_EQ(pathBesideFirewallProgram("Smc.exe", "tralog.log"), "tralog.log");
  EXPECT_EQ(pathBesideFirewallProgram("a.exe", "tralog.log"), "");
}

TEST(LogPaths, NothingFoundLeavesThePathsEmptyUntilTheDefaultsApply) {
  MemorySettingsStore store;
  store.putValue("tralogPath", text(std::string(kMaxTextReadBytes, 'x')));  // too long to read
  EXPECT_EQ(lookupLogPaths(store, ""), (LogPaths{"", ""}));
  // No firewall registers itself on this system.
  EXPECT_EQ(logPathsForReading(store), (LogPaths{std::string(kDefaultTrafficLogPath), std::string(kDefaultPacketLogPath)}));
  EXPECT_EQ(kDefaultTrafficLogPath, "C:\\Program Files\\Keltor\\Quorvex\\tralog.log");
}

}  // namespace
}  // namespace qv::settings
