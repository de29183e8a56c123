#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "logdata/packet_record.h"
#include "views/column_counts.h"
#include "views/traffic_columns.h"

namespace qv {

// The packet view's columns, in creation order.
enum class PacketColumn {
  kTime,
  kAction,
  kDirection,
  kProtocol,
  kRemoteIp,
  kNameAddress,
  kRemotePort,
  kLocalIp,
  kLocalPort,
  kTcpFlags,
  kApplicationName,
};

// Titles, widths and alignment of the packet view's columns, by index.
extern const std::array<ColumnLayout, kPacketColumnCount> kPacketColumnLayout;

// Appends the text a packet cell shows. The "No Data" row shows its time in
// the Time column and nothing in the others.
void appendPacketCellText(std::string& out, const PacketRecord& record, PacketColumn column);
std::string packetCellText(const PacketRecord& record, PacketColumn column);

// Fixed small-icon indexes of the packet view beyond the action/direction
// icons 0 to 5 that it shares with the traffic view.
namespace PacketIcon {
inline constexpr int kTcp = 6;
inline constexpr int kUdp = 7;
inline constexpr int kIcmp = 8;
inline constexpr int kIgmp = 9;
inline constexpr int kFirstApplication = 10;
}  // namespace PacketIcon

// The Proto column's icon when protocol icons are on; none for names other
// than TCP, UDP, ICMP and IGMP.
std::optional<int> packetProtocolIcon(std::string_view protocol);

}  // namespace qv
