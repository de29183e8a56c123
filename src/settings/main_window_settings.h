#pragma once

#include "settings/settings_codecs.h"
#include "settings/settings_store.h"
#include "settings/write_chain.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::settings {

// The quick filter's seven text fields.
struct QuickFilterTexts {
  std::string time;
  std::string remoteIp;
  std::string remotePort;
  std::string localIp;
  std::string localPort;
  std::string appName;
  std::string ruleName;

  friend bool operator==(const QuickFilterTexts&, const QuickFilterTexts&) = default;
};

// What the main window stores when it closes.
struct MainWindowClosingState {
  QuickFilterChecks checks;
  std::array<std::int32_t, kTrafficColumnCount> trafficColumnWidths{};
  std::array<std::int32_t, kPacketColumnCount> packetColumnWidths{};
  // The font height of the current tab's view.
  std::int32_t fontSize = 0;
  std::array<std::int32_t, kTrafficColumnCount> trafficColumnOrder{};
  std::array<std::int32_t, kPacketColumnCount> packetColumnOrder{};
  WindowRect normalRect;
  bool maximized = false;
  QuickFilterTexts texts;
};

// The close chain: "CheckBox", "ColumnWidth", "ColumnWidthRaw", "FontSize",
// "ColumnOrder", "ColumnOrderRaw", "WindowSize", "WindowMax", then the seven
// texts "TimeStr", "RIPStr", "RPTStr", "LIPStr", "LPTStr", "AppStr",
// "RuleStr"; stops at the first failed write.
WriteChainResult writeMainWindowSettings(SettingsStore& store, const MainWindowClosingState& state);

// What the main window restores at start. Every field is empty when its value
// is missing or unusable; the window then keeps its own state for it.
struct MainWindowStoredState {
  std::optional<std::string> time, remoteIp, remotePort, localIp, localPort, appName, ruleName;
  std::optional<QuickFilterChecks> checks;
  // Only widths within 0 to 999 are given; a short value's missing columns
  // read as width 0.
  std::array<std::optional<std::int32_t>, kTrafficColumnCount> trafficColumnWidths{};
  std::array<std::optional<std::int32_t>, kPacketColumnCount> packetColumnWidths{};
  std::optional<std::array<std::int32_t, kTrafficColumnCount>> trafficColumnOrder;
  std::optional<std::array<std::int32_t, kPacketColumnCount>> packetColumnOrder;
  std::optional<FontDescription> fontFace;
  std::optional<std::int32_t> fontSize;
  std::optional<WindowRect> windowRect;
  // Bit 0 of "WindowMax".
  std::optional<bool> maximized;
  // Bit 0 of "StartupWindowMin".
  std::optional<bool> startMinimized;
  std::optional<ViewStyle> viewStyle;
  std::optional<std::uint32_t> backgroundColor;
  std::optional<std::uint32_t> textColor;
};

// Nullopt when the settings key does not exist: the first run, on which the
// window opens maximized with its own defaults.
std::optional<MainWindowStoredState> readMainWindowSettings(const SettingsStore& store);

// The font dialog's single write of "FontFace" (60 bytes); read back with the
// main window's settings. False when the key cannot be created or the write
// fails; nothing is reported.
bool writeFontFace(SettingsStore& store, const FontDescription& font);

// Gridlines, hot-tracking and both colours, handed to both views together.
struct ListAppearance {
  bool gridlines = true;
  bool hotTracking = true;
  std::uint32_t backgroundColor = 0xFFFFFF;
  std::uint32_t textColor = 0;

  friend bool operator==(const ListAppearance&, const ListAppearance&) = default;
};

// The appearance to apply at start, present only when "ColorTxt" was read:
// gridlines and hot-tracking from "ViewStyle" (both on without it), the
// background from "ColorBk" (white without it).
std::optional<ListAppearance> startupListAppearance(const MainWindowStoredState& stored);

// Whether minimizing clears both views: yes unless "ClearData" is present
// and 0 (a missing key counts as yes).
bool clearDataOnMinimize(const SettingsStore& store);

// Whether the timeline strip shows above the lists: only when "ShowTimeline"
// is stored and not 0, so a first run and older settings start without it.
bool timelineShown(const SettingsStore& store);
// Stored at once when the user toggles it; false when the write failed.
bool writeTimelineShown(SettingsStore& store, bool shown);

}  // namespace qv::settings
