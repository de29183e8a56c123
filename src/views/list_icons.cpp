#include "views/list_icons.h"

namespace qv {

namespace {

constexpr std::string_view kNoData = "No Data";

struct RulePrefix {
  std::string_view prefix;
  TrafficIcon icon;
};

// Tried in this order; the first prefix that fits decides.
constexpr RulePrefix kRulePrefixes[] = {
    {"GUI%GUICONFIG#SRULE#ALLOWALL", TrafficIcon::kRuleAllowAll},
    {"Allow", TrafficIcon::kRuleAllowAll},
    {"Ask all running apps", TrafficIcon::kRuleAskAllRunningApps},
    {"GUI%GUICONFIG#SRULE#BLOCKALL", TrafficIcon::kRuleBlockAllSetting},
    {"Block_all", TrafficIcon::kRuleBlockAll},
    {"GUI%GUICONFIG#SRULE@NBENABLEYOU", TrafficIcon::kRuleNetBiosEnable},
    {"GUI%GUICONFIG#SRULE@NBBLOCK", TrafficIcon::kRuleNetBiosBlock},
    {"GUI%GUICONFIG#SRULE@APPCONFIG", TrafficIcon::kRuleApplicationConfig},
    {"GUI%GUICONFIG#SRULE@ADVRULE", TrafficIcon::kRuleAdvanced},
};

int actionDirectionIndex(std::uint8_t flags) noexcept {
  const int blocked = (flags & RecordFlag::kAllowed) != 0 ? 0 : 1;
  if ((flags & RecordFlag::kIncoming) != 0) return 0 + blocked;
  if ((flags & RecordFlag::kOutgoing) != 0) return 2 + blocked;
  return 4 + blocked;
}

}  // namespace

TrafficIcon actionDirectionIcon(std::uint8_t flags) noexcept {
  return static_cast<TrafficIcon>(actionDirectionIndex(flags));
}

std::optional<TrafficIcon> ruleIcon(std::string_view ruleName) noexcept {
  for (const RulePrefix& rule : kRulePrefixes) {
    if (ruleName.starts_with(rule.prefix)) return rule.icon;
  }
  return std::nullopt;
}

std::optional<PacketIcon> packetProtocolIcon(std::string_view protocol) noexcept {
  if (protocol == "TCP") return PacketIcon::kTcp;
  if (protocol == "UDP") return PacketIcon::kUdp;
  if (protocol == "ICMP") return PacketIcon::kIcmp;
  if (protocol == "IGMP") return PacketIcon::kIgmp;
  return std::nullopt;
}

CellIcon<TrafficIcon> trafficCellIcon(const TrafficRecord& row, int column, const TrafficIconOptions& options) {
  using Icon = CellIcon<TrafficIcon>;
  if (row.time == kNoData) return Icon::none();
  switch (column) {
    case 0:
      return Icon::ofFixed(actionDirectionIcon(row.flags));
    case 3:
      if (!options.protocolIcons) return Icon::none();
      if ((row.flags & RecordFlag::kUdp) != 0) return Icon::ofFixed(TrafficIcon::kUdp);
      if ((row.flags & RecordFlag::kIcmp) != 0) return Icon::ofFixed(TrafficIcon::kIcmp);
      return Icon::ofFixed(TrafficIcon::kTcp);
    case 10:
      return options.applicationIcons && !row.applicationName.empty() ? Icon::ofApplication() : Icon::none();
    case 11: {
      if (!options.ruleNameIcons) return Icon::none();
      const std::optional<TrafficIcon> icon = ruleIcon(row.ruleName);
      return icon ? Icon::ofFixed(*icon) : Icon::none();
    }
    default:
      return Icon::none();
  }
}

CellIcon<PacketIcon> packetCellIcon(const PacketRecord& row, int column, const PacketIconOptions& options) {
  using Icon = CellIcon<PacketIcon>;
  if (row.time == kNoData) return Icon::none();
  switch (column) {
    case 0:
      return Icon::ofFixed(static_cast<PacketIcon>(actionDirectionIndex(row.flags)));
    case 3: {
      if (!options.protocolIcons) return Icon::none();
      const std::optional<PacketIcon> icon = packetProtocolIcon(row.protocol);
      return icon ? Icon::ofFixed(*icon) : Icon::none();
    }
    case 10:
      return options.applicationIcons && !row.applicationName.empty() ? Icon::ofApplication() : Icon::none();
    default:
      return Icon::none();
  }
}

}  // namespace qv
