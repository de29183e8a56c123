#include "views/packet_columns.h"

#include <charconv>

#include "logdata/protocol_names.h"

namespace qv {
namespace {

void appendNumber(std::string& out, std::uint32_t value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

const std::array<ColumnLayout, kPacketColumnCount> kPacketColumnLayout = {{
    {"Time", 145, false},
    {"Action", 48, false},
    {"Direction", 63, false},
    {"Proto", 42, false},
    {"Remote IP  ", 108, true},
    {"Name Address", 108, false},
    {"R Port", 50, true},
    {"Local IP  ", 108, true},
    {"L Port", 50, true},
    {"TCP Flag", 60, false},
    {"Application Name", 150, false},
}};

void appendPacketCellText(std::string& out, const PacketRecord& record, PacketColumn column) {
  if (column != PacketColumn::Time && record.time == "No Data") return;
  switch (column) {
    case PacketColumn::Time: out += record.time.view(); return;
    case PacketColumn::Action: out += (record.flags & RecordFlag::kAllowed) ? "Allow" : "Block"; return;
    case PacketColumn::Direction:
      if (record.flags & RecordFlag::kIncoming) {
        out += "Incoming";
      } else if (record.flags & RecordFlag::kOutgoing) {
        out += "Outgoing";
      } else {
        out += "Unknown";
      }
      return;
    case PacketColumn::Protocol: out += record.protocol; return;
    case PacketColumn::RemoteIp: out += record.remoteIp.view(); return;
    case PacketColumn::NameAddress: out += record.nameAddress.view(); return;
    case PacketColumn::RemotePort: appendNumber(out, record.remotePort); return;
    case PacketColumn::LocalIp: out += record.localIp.view(); return;
    case PacketColumn::LocalPort: appendNumber(out, record.localPort); return;
    case PacketColumn::TcpFlags:
      // Only a TCP packet has a flag byte worth showing.
      if (record.protocol == "TCP") {
        out += tcpFlagsText(record.tcpFlags);
      } else {
        out += "------";
      }
      return;
    case PacketColumn::ApplicationName: out += record.applicationName.view(); return;
  }
}

std::string packetCellText(const PacketRecord& record, PacketColumn column) {
  std::string text;
  appendPacketCellText(text, record, column);
  return text;
}

std::optional<int> packetProtocolIcon(std::string_view protocol) {
  if (protocol == "TCP") return PacketIcon::kTcp;
  if (protocol == "UDP") return PacketIcon::kUdp;
  if (protocol == "ICMP") return PacketIcon::kIcmp;
  if (protocol == "IGMP") return PacketIcon::kIgmp;
  return std::nullopt;
}

}  // namespace qv
