#include "views/conversation.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace qv {

namespace {

enum class MemberTest { kDhcp, kIcmp, kTcp, kUdp, kIgmp, kItselfOnly };

MemberTest memberTestOf(const PacketRecord& packet) noexcept {
  const std::string_view protocol = packet.protocol;
  if (protocol == "UDP") return packet.localPort == 67 || packet.localPort == 68 ? MemberTest::kDhcp : MemberTest::kUdp;
  if (protocol == "ICMP") return MemberTest::kIcmp;
  if (protocol == "TCP") return MemberTest::kTcp;
  if (protocol == "IGMP") return MemberTest::kIgmp;
  return MemberTest::kItselfOnly;
}

bool passes(MemberTest test, const PacketRecord& p, const PacketRecord& r) noexcept {
  switch (test) {
    case MemberTest::kDhcp:
      // Address requests come and go from changing remote addresses; the
      // local address and the pair of DHCP ports hold them together.
      return r.localIp == p.localIp && (r.remotePort == p.remotePort || r.remotePort == p.localPort) &&
             r.protocol == p.protocol;
    case MemberTest::kIcmp:
      return r.remoteIp == p.remoteIp;
    case MemberTest::kTcp:
      return r.remoteIp == p.remoteIp && r.localIp == p.localIp && r.remotePort == p.remotePort &&
             r.localPort == p.localPort && r.protocol == p.protocol;
    case MemberTest::kUdp:
      return r.remoteIp == p.remoteIp && r.localIp == p.localIp &&
             (r.remotePort == p.remotePort || r.localPort == p.localPort) && r.protocol == p.protocol;
    case MemberTest::kIgmp:
      return r.remoteIp == p.remoteIp && r.protocol == p.protocol;
    case MemberTest::kItselfOnly:
      return false;
  }
  return false;
}

}  // namespace

ViewerPackets conversationOf(const PacketShownList& shown, RowIndex row) {
  if (row >= shown.size()) throw std::out_of_range("no such shown row");
  const PacketRecord& packet = shown[row];
  const MemberTest test = memberTestOf(packet);
  ViewerPackets result;
  if (test == MemberTest::kItselfOnly) {
    result.packets.push_back(packet);
    return result;
  }
  for (RowIndex at = shown.size(); at-- > 0;) {
    // The packet itself always belongs, whatever the test says of it.
    if (at == row) {
      result.currentIndex = result.packets.size();
      result.packets.push_back(packet);
    } else if (passes(test, packet, shown[at])) {
      result.packets.push_back(shown[at]);
    }
  }
  return result;
}

ViewerPackets selectedPackets(const PacketShownList& shown, std::span<const RowIndex> selectedRows) {
  std::vector<RowIndex> rows;
  rows.reserve(selectedRows.size());
  for (const RowIndex row : selectedRows) {
    if (row < shown.size()) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  ViewerPackets result;
  result.packets.reserve(rows.size());
  for (const RowIndex row : rows) result.packets.push_back(shown[row]);
  return result;
}

}  // namespace qv
