#include "settings/file_settings_store.h"
#include "settings/log_paths.h"
#include "settings/main_window_settings.h"
#include "settings/memory_settings_store.h"
#include "settings/options_settings.h"
#include "settings/packet_viewer_settings.h"
#include "temporary_home.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qv::settings {
namespace {

MainWindowClosingState sampleClosingState() {
  MainWindowClosingState state;
  state.checks = QuickFilterChecks{true, false, true, false, true, false, true};
  state.trafficColumnWidths = {120, 0, 999, 1000, -5, 60, 70, 80, 90, 100, 110, 120, 130, 140};
  state.packetColumnWidths = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
  state.fontSize = 15;
  state.trafficColumnOrder = {13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  state.packetColumnOrder = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  state.normalRect = WindowRect{-4, 20, 786, 480};
  state.maximized = true;
  state.texts = QuickFilterTexts{"24", "10.0.0.1", "80", "192.168.1.2", "1024", "C:\\app.exe", "Block all"};
  return state;
}

OptionsSettings sampleOptions() {
  return OptionsSettings{"/var/log/fw/tralog.log", "/var/log/fw/rawlog.log", ViewStyle{true, true, false, false, true},
                         0xE4DDD1, 0x000001, true, false, true};
}

FontDescription sampleFont() {
  FontDescription font;
  font.height = -13;
  font.weight = kFontWeightNormal;
  font.faceName = "DejaVu Sans";
  return font;
}

// Every value of the key, written by its writer, comes back through its
// reader with its type on each backend.
class SettingsRoundTrip : public ::testing::TestWithParam<std::string> {
 protected:
  SettingsRoundTrip()
      : store_(GetParam() == "file" ? makeFileSettingsStore(folder_.file("Orvane/Quorvex Log Viewer.conf"))
                                    : std::unique_ptr<SettingsStore>(std::make_unique<MemorySettingsStore>())) {}

  test::TemporaryFolder folder_;
  std::unique_ptr<SettingsStore> store_;
};

TEST_P(SettingsRoundTrip, EveryValueComesBackThroughItsReader) {
  ASSERT_TRUE(writeMainWindowSettings(*store_, sampleClosingState()).complete());
  ASSERT_TRUE(writeOptionsSettings(*store_, sampleOptions()).complete());
  ASSERT_TRUE(writePacketViewerSettings(*store_, PacketViewerClosingState{{10, 10, 683, 382}, true, 0.375}).complete());
  ASSERT_TRUE(writeFontFace(*store_, sampleFont()));

  const std::optional<MainWindowStoredState> main = readMainWindowSettings(*store_);
  ASSERT_TRUE(main.has_value());
  const MainWindowClosingState written = sampleClosingState();
  EXPECT_EQ(main->time, "24");
  EXPECT_EQ(main->remoteIp, "10.0.0.1");
  EXPECT_EQ(main->remotePort, "80");
  EXPECT_EQ(main->localIp, "192.168.1.2");
  EXPECT_EQ(main->localPort, "1024");
  EXPECT_EQ(main->appName, "C:\\app.exe");
  EXPECT_EQ(main->ruleName, "Block all");
  EXPECT_EQ(main->checks, written.checks);
  EXPECT_EQ(main->trafficColumnWidths[0], 120);
  EXPECT_EQ(main->trafficColumnWidths[2], 999);
  EXPECT_EQ(main->trafficColumnWidths[3], std::nullopt);
  EXPECT_EQ(main->trafficColumnWidths[4], std::nullopt);
  EXPECT_EQ(main->packetColumnWidths[10], 21);
  EXPECT_EQ(main->trafficColumnOrder, written.trafficColumnOrder);
  EXPECT_EQ(main->packetColumnOrder, written.packetColumnOrder);
  EXPECT_EQ(main->fontFace, sampleFont());
  EXPECT_EQ(main->fontSize, 15);
  EXPECT_EQ(main->windowRect, written.normalRect);
  EXPECT_EQ(main->maximized, true);
  EXPECT_EQ(main->startMinimized, true);
  EXPECT_EQ(main->viewStyle, (ViewStyle{true, true, false, false, true}));
  EXPECT_EQ(main->backgroundColor, 0xE4DDD1U);
  EXPECT_EQ(main->textColor, 0x000001U);
  EXPECT_EQ(startupListAppearance(*main), (ListAppearance{false, true, 0xE4DDD1, 0x000001}));
  EXPECT_FALSE(clearDataOnMinimize(*store_));

  EXPECT_EQ(readOptionsSettings(*store_),
            (StoredOptions{"/var/log/fw/tralog.log", "/var/log/fw/rawlog.log", true, false, true}));
  EXPECT_EQ(lookupLogPaths(*store_, ""), (LogPaths{"/var/log/fw/tralog.log", "/var/log/fw/rawlog.log"}));

  const std::optional<PacketViewerStoredState> viewer = readPacketViewerSettings(*store_);
  ASSERT_TRUE(viewer.has_value());
  EXPECT_EQ(viewer->rect, (WindowRect{10, 10, 683, 382}));
  EXPECT_EQ(viewer->maximized, true);
  EXPECT_EQ(viewer->splitterRatio, 0.375);

  const std::map<std::string, std::pair<ValueType, std::size_t>> table = {
      {"TimeStr", {ValueType::kText, 3}}, {"RIPStr", {ValueType::kText, 9}}, {"RPTStr", {ValueType::kText, 3}},
      {"LIPStr", {ValueType::kText, 12}}, {"LPTStr", {ValueType::kText, 5}}, {"AppStr", {ValueType::kText, 11}},
      {"RuleStr", {ValueType::kText, 10}}, {"CheckBox", {ValueType::kNumber32, 4}},
      {"ColumnWidth", {ValueType::kBinary, 56}}, {"ColumnWidthRaw", {ValueType::kBinary, 44}},
      {"ColumnOrder", {ValueType::kBinary, 56}}, {"ColumnOrderRaw", {ValueType::kBinary, 44}},
      {"FontFace", {ValueType::kBinary, 60}}, {"FontSize", {ValueType::kNumber32, 4}},
      {"WindowSize", {ValueType::kBinary, 16}}, {"WindowMax", {ValueType::kNumber32, 4}},
      {"StartupWindowMin", {ValueType::kNumber32, 4}}, {"ViewStyle", {ValueType::kNumber32, 4}},
      {"ColorBk", {ValueType::kNumber32, 4}}, {"ColorTxt", {ValueType::kNumber32, 4}},
      {"ClearData", {ValueType::kNumber32, 4}}, {"RegisterAutorun", {ValueType::kNumber32, 4}},
      {"tralogPath", {ValueType::kText, 23}}, {"rawlogPath", {ValueType::kText, 23}},
      {"PctVwDlgWndSize", {ValueType::kBinary, 16}}, {"PctVwDlgWndMax", {ValueType::kNumber32, 4}},
      {"PctVwDlgHorLineRatio", {ValueType::kBinary, 8}}};
  const auto key = store_->openForReading();
  for (const auto& [name, expected] : table) {
    const std::optional<StoredValue> value = key->value(name);
    ASSERT_TRUE(value.has_value()) << name;
    EXPECT_EQ(value->type, expected.first) << name;
    EXPECT_EQ(value->bytes.size(), expected.second) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsRoundTrip, ::testing::Values("memory", "file"),
                         [](const auto& info) { return info.param; });

struct ChainCase {
  const char* writer;
  std::function<void(SettingsStore&)> write;
  std::vector<std::string> order;
};

// Each writer writes its values in its order and stops at the first failed
// write: the values before it are new, those after it keep what they held.
TEST(WriteChains, StopAtTheFirstFailedWrite) {
  const std::vector<ChainCase> cases = {
      {"main window", [](SettingsStore& s) { writeMainWindowSettings(s, sampleClosingState()); },
       {"CheckBox", "ColumnWidth", "ColumnWidthRaw", "FontSize", "ColumnOrder", "ColumnOrderRaw", "WindowSize",
        "WindowMax", "TimeStr", "RIPStr", "RPTStr", "LIPStr", "LPTStr", "AppStr", "RuleStr"}},
      {"options", [](SettingsStore& s) { writeOptionsSettings(s, sampleOptions()); },
       {"tralogPath", "rawlogPath", "ViewStyle", "ColorBk", "ColorTxt", "StartupWindowMin", "ClearData",
        "RegisterAutorun"}},
      {"packet viewer",
       [](SettingsStore& s) { writePacketViewerSettings(s, PacketViewerClosingState{{1, 2, 3, 4}, false, 0.5}); },
       {"PctVwDlgWndSize", "PctVwDlgWndMax", "PctVwDlgHorLineRatio"}},
      {"font", [](SettingsStore& s) { writeFontFace(s, sampleFont()); }, {"FontFace"}},
  };
  const StoredValue old{ValueType::kBinary, {0xEE}};
  for (const ChainCase& chain : cases) {
    for (std::size_t failing = 1; failing <= chain.order.size() + 1; ++failing) {
      MemorySettingsStore store;
      for (const std::string& name : chain.order) store.putValue(name, old);
      store.failWrite(failing);
      chain.write(store);
      EXPECT_EQ(store.writeAttempts(), std::min(failing, chain.order.size())) << chain.writer << " fails " << failing;
      for (std::size_t i = 0; i < chain.order.size(); ++i) {
        EXPECT_EQ(store.storedValue(chain.order[i]) != old, i + 1 < failing)
            << chain.writer << " fails at write " << failing << ", value " << chain.order[i];
      }
    }
    MemorySettingsStore cannotCreate;
    cannotCreate.failKeyCreation(true);
    chain.write(cannotCreate);
    EXPECT_EQ(cannotCreate.writeAttempts(), 0U) << chain.writer;
    EXPECT_FALSE(cannotCreate.keyExists()) << chain.writer;
  }
}

TEST(WriteChains, ReportHowFarTheyGot) {
  MemorySettingsStore store;
  store.failWrite(4);
  const WriteChainResult result = writeOptionsSettings(store, sampleOptions());
  EXPECT_TRUE(result.keyCreated);
  EXPECT_EQ(result.written, 3U);
  EXPECT_EQ(result.total, 8U);
  EXPECT_FALSE(result.complete());
  store.failClose(true);
  EXPECT_EQ(writePacketViewerSettings(store, PacketViewerClosingState{}).written, 0U);
  store.failKeyCreation(true);
  EXPECT_FALSE(writeFontFace(store, sampleFont()));
}

TEST(MainWindowSettings, StoredValuesAreCheckedBeforeTheyApply) {
  MemorySettingsStore store;
  store.putValue("ColumnWidth", StoredValue{ValueType::kBinary, {50, 0, 0, 0, 0xE8, 0x03, 0, 0, 7, 0, 0, 0}});
  store.putValue("ColumnWidthRaw", StoredValue{ValueType::kBinary, std::vector<std::uint8_t>(48, 1)});
  store.putValue("ColumnOrder", StoredValue{ValueType::kBinary, {1, 0, 0, 0, 0, 0, 0, 0}});  // short: zeros repeat
  store.putValue("WindowMax", StoredValue{ValueType::kNumber32, {2, 0, 0, 0}});
  store.putValue("StartupWindowMin", StoredValue{ValueType::kNumber32, {2, 0, 0, 0}});
  store.putValue("ColorBk", StoredValue{ValueType::kNumber32, {0, 0, 0, 0}});
  const MainWindowStoredState stored = *readMainWindowSettings(store);
  EXPECT_EQ(stored.trafficColumnWidths[0], 50);
  EXPECT_EQ(stored.trafficColumnWidths[1], std::nullopt);  // 1000
  EXPECT_EQ(stored.trafficColumnWidths[2], 7);
  for (std::size_t i = 3; i < kTrafficColumnCount; ++i) EXPECT_EQ(stored.trafficColumnWidths[i], 0) << i;
  for (const auto& width : stored.packetColumnWidths) EXPECT_EQ(width, std::nullopt);  // 48 bytes: too large
  EXPECT_EQ(stored.trafficColumnOrder, std::nullopt);
  EXPECT_EQ(stored.maximized, false);
  EXPECT_EQ(stored.startMinimized, false);
  EXPECT_EQ(stored.checks, std::nullopt);
  EXPECT_EQ(stored.time, std::nullopt);
  // Colours apply only once the text colour was read.
  EXPECT_EQ(startupListAppearance(stored), std::nullopt);
  store.putValue("ColorTxt", StoredValue{ValueType::kNumber32, {0xE6, 0xE6, 0xE6, 0}});
  EXPECT_EQ(startupListAppearance(*readMainWindowSettings(store)), (ListAppearance{true, true, 0, 0xE6E6E6}));
  EXPECT_TRUE(readOptionsSettings(store).startMinimized);  // the dialog tests non-zero, not bit 0
}

TEST(MainWindowSettings, ClearDataIsOnUnlessStoredAsZero) {
  MemorySettingsStore store;
  EXPECT_TRUE(clearDataOnMinimize(store));
  store.putValue("CheckBox", StoredValue{ValueType::kNumber32, {0, 0, 0, 0}});
  EXPECT_TRUE(clearDataOnMinimize(store));
  store.putValue("ClearData", StoredValue{ValueType::kNumber32, {0, 0, 0, 0}});
  EXPECT_FALSE(clearDataOnMinimize(store));
  store.putValue("ClearData", StoredValue{ValueType::kNumber32, {0, 1, 0, 0}});
  EXPECT_TRUE(clearDataOnMinimize(store));
}

TEST(PacketViewerSettings, UnusableSplitterRatiosAreIgnored) {
  for (const double ratio : {std::nan(""), HUGE_VAL, -0.25, 1.5}) {
    MemorySettingsStore store;
    writePacketViewerSettings(store, PacketViewerClosingState{{0, 0, 700, 400}, false, ratio});
    const PacketViewerStoredState stored = *readPacketViewerSettings(store);
    EXPECT_EQ(stored.splitterRatio, std::nullopt) << ratio;
    EXPECT_EQ(stored.rect, (WindowRect{0, 0, 700, 400}));
  }
  EXPECT_EQ(readPacketViewerSettings(MemorySettingsStore()), std::nullopt);
}

}  // namespace
}  // namespace qv::settings
