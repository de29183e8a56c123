#pragma once

#include <string_view>

// The names of the values under the settings key.
namespace qv::settings::names {

// Quick-filter texts (main window).
inline constexpr std::string_view kTimeText = "TimeStr";
inline constexpr std::string_view kRemoteIpText = "RIPStr";
inline constexpr std::string_view kRemotePortText = "RPTStr";
inline constexpr std::string_view kLocalIpText = "LIPStr";
inline constexpr std::string_view kLocalPortText = "LPTStr";
inline constexpr std::string_view kAppNameText = "AppStr";
inline constexpr std::string_view kRuleNameText = "RuleStr";

// Main window layout.
inline constexpr std::string_view kCheckBoxes = "CheckBox";
inline constexpr std::string_view kTrafficColumnWidths = "ColumnWidth";
inline constexpr std::string_view kPacketColumnWidths = "ColumnWidthRaw";
inline constexpr std::string_view kTrafficColumnOrder = "ColumnOrder";
inline constexpr std::string_view kPacketColumnOrder = "ColumnOrderRaw";
inline constexpr std::string_view kFontFace = "FontFace";
inline constexpr std::string_view kFontSize = "FontSize";
inline constexpr std::string_view kWindowRect = "WindowSize";
inline constexpr std::string_view kWindowMaximized = "WindowMax";
// The View menu's "Timeline": 1 shown, 0 hidden.
inline constexpr std::string_view kTimelineShown = "ShowTimeline";

// Options.
inline constexpr std::string_view kStartMinimized = "StartupWindowMin";
inline constexpr std::string_view kViewStyle = "ViewStyle";
inline constexpr std::string_view kBackgroundColor = "ColorBk";
inline constexpr std::string_view kTextColor = "ColorTxt";
inline constexpr std::string_view kClearData = "ClearData";
inline constexpr std::string_view kRegisterAutorun = "RegisterAutorun";
inline constexpr std::string_view kTrafficLogPath = "tralogPath";
inline constexpr std::string_view kPacketLogPath = "rawlogPath";

// Packet viewer.
inline constexpr std::string_view kPacketViewerRect = "PctVwDlgWndSize";
inline constexpr std::string_view kPacketViewerMaximized = "PctVwDlgWndMax";
inline constexpr std::string_view kPacketViewerSplitterRatio = "PctVwDlgHorLineRatio";

// Whois servers, each "host" or "host:port".
inline constexpr std::string_view kWhoisArinServer = "WhoisARIN";
inline constexpr std::string_view kWhoisApnicServer = "WhoisAPNIC";
inline constexpr std::string_view kWhoisLacnicServer = "WhoisLACNIC";
inline constexpr std::string_view kWhoisRipeServer = "WhoisRIPE";
inline constexpr std::string_view kWhoisIpv6Server = "WhoisIPv6";

}  // namespace qv::settings::names
