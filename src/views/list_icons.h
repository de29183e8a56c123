#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"

namespace qv {

// The fixed icons of the traffic view, valued as their place in its image
// list; application icons follow them.
enum class TrafficIcon : std::uint8_t {
  kAllowedIncoming = 0,
  kBlockedIncoming,
  kAllowedOutgoing,
  kBlockedOutgoing,
  kAllowedUnknown,
  kBlockedUnknown,
  kTcp,
  kUdp,
  kIcmp,
  kRuleAllowAll,
  kRuleAskAllRunningApps,
  kRuleBlockAllSetting,
  kRuleBlockAll,
  kRuleNetBiosEnable,
  kRuleNetBiosBlock,
  kRuleApplicationConfig,
  kRuleAdvanced,
};
inline constexpr int kTrafficFixedIconCount = 17;

// The fixed icons of the packet view; application icons follow them.
enum class PacketIcon : std::uint8_t {
  kAllowedIncoming = 0,
  kBlockedIncoming,
  kAllowedOutgoing,
  kBlockedOutgoing,
  kAllowedUnknown,
  kBlockedUnknown,
  kTcp,
  kUdp,
  kIcmp,
  kIgmp,
};
inline constexpr int kPacketFixedIconCount = 10;

// Which icons the user has switched on (Options).
struct TrafficIconOptions {
  bool ruleNameIcons = false;
  bool protocolIcons = false;
  bool applicationIcons = false;
};
struct PacketIconOptions {
  bool protocolIcons = false;
  bool applicationIcons = false;
};

// What the icon slot of a cell shows: nothing, a fixed icon, or the icon of
// the file at the row's application path (the GUI fetches and caches those).
template <class FixedIcon>
struct CellIcon {
  enum class Kind : std::uint8_t { kNone, kFixed, kApplication };
  Kind kind = Kind::kNone;
  FixedIcon fixed{};

  static CellIcon none() { return {}; }
  static CellIcon ofFixed(FixedIcon icon) { return {Kind::kFixed, icon}; }
  static CellIcon ofApplication() { return {Kind::kApplication, FixedIcon{}}; }
  friend bool operator==(const CellIcon&, const CellIcon&) = default;
};

// The action/direction icon of the Time column, from the record flags.
TrafficIcon actionDirectionIcon(std::uint8_t flags) noexcept;

// The rule class icon, by the first prefix that the rule name begins with.
std::optional<TrafficIcon> ruleIcon(std::string_view ruleName) noexcept;

// The protocol icon of the packet view, by the exact protocol name.
std::optional<PacketIcon> packetProtocolIcon(std::string_view protocol) noexcept;

// The icon of any cell; the "No Data" row shows none.
CellIcon<TrafficIcon> trafficCellIcon(const TrafficRecord& row, int column, const TrafficIconOptions& options);
CellIcon<PacketIcon> packetCellIcon(const PacketRecord& row, int column, const PacketIconOptions& options);

}  // namespace qv
