#include "views/traffic_columns.h"

#include "logdata/text.h"
#include "views/cell_text.h"

namespace qv {

const std::array<ColumnLayout, kTrafficColumnCount> kTrafficColumnLayout = {{
    {"Time", 145, false},
    {"Action", 48, false},
    {"Direction", 63, false},
    {"Proto", 42, false},
    {"Remote IP  ", 108, true},
    {"Name Address", 108, false},
    {"R Port", 50, true},
    {"Local IP  ", 108, true},
    {"L Port", 50, true},
    {"Occurrences", 34, true},
    {"Application Name", 150, false},
    {"Rule Name", 260, false},
    {"Begin Time", 133, false},
    {"End Time", 133, false},
}};

void appendTrafficCellText(std::string& out, const TrafficRecord& record, TrafficColumn column) {
  if (celltext::appendSharedCellText(out, record, column)) return;
  switch (column) {
    case TrafficColumn::kProtocol:
      // A record without a protocol bit shows as TCP.
      if (record.flags & RecordFlag::kUdp) {
        out += "UDP";
      } else if (record.flags & RecordFlag::kIcmp) {
        out += "ICMP";
      } else {
        out += "TCP";
      }
      return;
    case TrafficColumn::kOccurrences: celltext::appendNumber(out, record.occurrences); return;
    case TrafficColumn::kRuleName: out += record.ruleName.view(); return;
    case TrafficColumn::kBeginTime: celltext::appendField(out, record.beginTime); return;
    case TrafficColumn::kEndTime: celltext::appendField(out, record.endTime); return;
    default: return;
  }
}

std::string trafficCellText(const TrafficRecord& record, TrafficColumn column) {
  std::string text;
  appendTrafficCellText(text, record, column);
  return text;
}

int actionDirectionIcon(std::uint8_t flags) {
  const bool allowed = (flags & RecordFlag::kAllowed) != 0;
  if (flags & RecordFlag::kIncoming) return allowed ? TrafficIcon::kAllowedIncoming : TrafficIcon::kBlockedIncoming;
  if (flags & RecordFlag::kOutgoing) return allowed ? TrafficIcon::kAllowedOutgoing : TrafficIcon::kBlockedOutgoing;
  return allowed ? TrafficIcon::kAllowedUnknown : TrafficIcon::kBlockedUnknown;
}

int trafficProtocolIcon(std::uint8_t flags) {
  if (flags & RecordFlag::kUdp) return TrafficIcon::kUdp;
  if (flags & RecordFlag::kIcmp) return TrafficIcon::kIcmp;
  return TrafficIcon::kTcp;
}

std::optional<int> ruleIcon(std::string_view ruleName) {
  struct Choice {
    std::string_view prefix;
    int icon;
  };
  static constexpr Choice kChoices[] = {
      {"GUI%GUICONFIG#SRULE#ALLOWALL", 9},    {"Allow", 9},
      {"Ask all running apps", 10},           {"GUI%GUICONFIG#SRULE#BLOCKALL", 11},
      {"Block_all", 12},                      {"GUI%GUICONFIG#SRULE@NBENABLEYOU", 13},
      {"GUI%GUICONFIG#SRULE@NBBLOCK", 14},    {"GUI%GUICONFIG#SRULE@APPCONFIG", 15},
      {"GUI%GUICONFIG#SRULE@ADVRULE", 16},
  };
  for (const Choice& choice : kChoices) {
    if (ruleName.starts_with(choice.prefix)) return choice.icon;
  }
  return std::nullopt;
}

int filterFieldColumn(FilterField field) {
  TrafficColumn column = TrafficColumn::kRemoteIp;
  switch (field) {
    case FilterField::kRemoteIp: column = TrafficColumn::kRemoteIp; break;
    case FilterField::kRemotePort: column = TrafficColumn::kRemotePort; break;
    case FilterField::kLocalIp: column = TrafficColumn::kLocalIp; break;
    case FilterField::kLocalPort: column = TrafficColumn::kLocalPort; break;
    case FilterField::kApplicationName: column = TrafficColumn::kApplicationName; break;
    case FilterField::kRuleName: column = TrafficColumn::kRuleName; break;
  }
  return static_cast<int>(column);
}

}  // namespace qv
