#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "filter/criteria_commands.h"
#include "logdata/traffic_record.h"
#include "views/column_counts.h"

namespace qv {

// The traffic view's columns, in creation order.
enum class TrafficColumn {
  kTime,
  kAction,
  kDirection,
  kProtocol,
  kRemoteIp,
  kNameAddress,
  kRemotePort,
  kLocalIp,
  kLocalPort,
  kOccurrences,
  kApplicationName,
  kRuleName,
  kBeginTime,
  kEndTime,
};

struct ColumnLayout {
  std::string_view title;
  int width;  // pixels at creation
  bool rightAligned;
};

// Titles, widths and alignment of the traffic view's columns, by index.
// "Remote IP  " and "Local IP  " end in two blanks.
extern const std::array<ColumnLayout, kTrafficColumnCount> kTrafficColumnLayout;

// Appends the text a traffic cell shows. The "No Data" row shows its time in
// the Time column and nothing in the others.
void appendTrafficCellText(std::string& out, const TrafficRecord& record, TrafficColumn column);
std::string trafficCellText(const TrafficRecord& record, TrafficColumn column);

// The column whose cell text a Filter Out / Filter In command takes; the
// packet view has the same columns up to Application Name (the Rule Name
// column exists in the traffic view only).
int filterFieldColumn(FilterField field);

// Fixed small-icon indexes of the traffic view's image list.
namespace TrafficIcon {
inline constexpr int kAllowedIncoming = 0;
inline constexpr int kBlockedIncoming = 1;
inline constexpr int kAllowedOutgoing = 2;
inline constexpr int kBlockedOutgoing = 3;
inline constexpr int kAllowedUnknown = 4;
inline constexpr int kBlockedUnknown = 5;
inline constexpr int kTcp = 6;
inline constexpr int kUdp = 7;
inline constexpr int kIcmp = 8;
inline constexpr int kFirstApplication = 17;
}  // namespace TrafficIcon

// The action/direction icon of the Time column (flags of either log).
int actionDirectionIcon(std::uint8_t flags);
// The Proto column's icon when protocol icons are on.
int trafficProtocolIcon(std::uint8_t flags);
// The Rule Name column's icon when rule icons are on: chosen by the rule
// name's beginning; none for other rules.
std::optional<int> ruleIcon(std::string_view ruleName);

}  // namespace qv
