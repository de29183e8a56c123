#include "views/traffic_columns.h"

#include <charconv>

#include "logdata/text.h"

namespace qv {
namespace {

void appendNumber(std::string& out, std::uint32_t value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

std::string_view directionText(std::uint8_t flags) {
  if (flags & RecordFlag::kIncoming) return "Incoming";
  if (flags & RecordFlag::kOutgoing) return "Outgoing";
  return "Unknown";
}

}  // namespace

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
  if (column != TrafficColumn::Time && record.time == "No Data") return;
  switch (column) {
    case TrafficColumn::Time: out += record.time.view(); return;
    case TrafficColumn::Action: out += (record.flags & RecordFlag::kAllowed) ? "Allow" : "Block"; return;
    case TrafficColumn::Direction: out += directionText(record.flags); return;
    case TrafficColumn::Protocol:
      // A record without a protocol bit shows as TCP.
      if (record.flags & RecordFlag::kUdp) {
        out += "UDP";
      } else if (record.flags & RecordFlag::kIcmp) {
        out += "ICMP";
      } else {
        out += "TCP";
      }
      return;
    case TrafficColumn::RemoteIp: out += record.remoteIp.view(); return;
    case TrafficColumn::NameAddress: out += record.nameAddress.view(); return;
    case TrafficColumn::RemotePort: appendNumber(out, record.remotePort); return;
    case TrafficColumn::LocalIp: out += record.localIp.view(); return;
    case TrafficColumn::LocalPort: appendNumber(out, record.localPort); return;
    case TrafficColumn::Occurrences: appendNumber(out, record.occurrences); return;
    case TrafficColumn::ApplicationName: out += record.applicationName.view(); return;
    case TrafficColumn::RuleName: out += record.ruleName.view(); return;
    case TrafficColumn::BeginTime: out += record.beginTime.view(); return;
    case TrafficColumn::EndTime: out += record.endTime.view(); return;
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

}  // namespace qv
