#include "views/packet_columns.h"

#include "logdata/protocol_names.h"
#include "views/cell_text.h"

namespace qv {

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
  if (celltext::appendSharedCellText(out, record, column)) return;
  switch (column) {
    case PacketColumn::kProtocol: out += record.protocol; return;
    case PacketColumn::kTcpFlags:
      // Only a TCP packet has a flag byte worth showing.
      if (record.protocol == "TCP") {
        out += tcpFlagsText(record.tcpFlags);
      } else {
        out += "------";
      }
      return;
    default: return;
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
