#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "logdata/packet_record.h"
#include "logdata/protocol_names.h"
#include "logdata/ring_order.h"

namespace qv {
namespace {

TEST(ProtocolNames, IpNumbersFollowTheFixedTable) {
  EXPECT_EQ(ipProtocolName(1), "ICMP");
  EXPECT_EQ(ipProtocolName(6), "TCP");
  EXPECT_EQ(ipProtocolName(17), "UDP");
  EXPECT_EQ(ipProtocolName(35), "IDPR");
  EXPECT_EQ(ipProtocolName(38), "IDPR");
  EXPECT_EQ(ipProtocolName(41), "IPv6");
  EXPECT_EQ(ipProtocolName(58), "ICMPv6/MLD");
  EXPECT_EQ(ipProtocolName(89), "OSPF/MOSPF");
  EXPECT_EQ(ipProtocolName(103), "PIM");
  EXPECT_EQ(ipProtocolName(118), "ST");
  EXPECT_EQ(ipProtocolName(132), "SCTP");
  EXPECT_EQ(ipProtocolName(135), "Mobility Header");
  for (const unsigned unknown : {0u, 136u, 200u, 254u, 256u, 1000u}) {
    EXPECT_EQ(ipProtocolName(unknown), "Unknown Protocol") << unknown;
  }
  EXPECT_EQ(ipProtocolName(255), "Reserved = Error");
}

TEST(ProtocolNames, EtherTypes) {
  EXPECT_EQ(etherTypeProtocolName(0x0806), "ARP");
  EXPECT_EQ(etherTypeProtocolName(0x888E), "EAPOL");
  EXPECT_EQ(etherTypeProtocolName(0x8847), "MPLS");
  EXPECT_EQ(etherTypeProtocolName(0x8848), "MPLS");
  EXPECT_EQ(etherTypeProtocolName(0x86DD), "IPv6");
  EXPECT_EQ(etherTypeProtocolName(0x9000), "");
  EXPECT_EQ(etherTypeProtocolName(0x0800), "");
}

TEST(ProtocolNames, TcpFlagLetters) {
  EXPECT_EQ(tcpFlagsText(std::uint8_t{0}), "xxxxxx");
  EXPECT_EQ(tcpFlagsText(std::uint8_t{0x12}), "xAxxSx");
  EXPECT_EQ(tcpFlagsText(std::uint8_t{0x3F}), "UAPRSF");
  EXPECT_EQ(tcpFlagsText(std::uint8_t{0xC1}), "xxxxxF");  // ECE/CWR have no column
  PacketRecord record;
  record.tcpFlags = 0x18;
  EXPECT_EQ(tcpFlagsText(record), "xAPxxx");
}

std::vector<std::size_t> ringOrder(std::size_t count, std::int32_t newest) {
  std::vector<std::size_t> order;
  forEachInRingOrder(count, newest, [&](std::size_t index) { order.push_back(index); });
  return order;
}

TEST(RingOrder, StartsAtTheNewestAndWraps) {
  using Order = std::vector<std::size_t>;
  EXPECT_EQ(ringOrder(5, 2), (Order{2, 1, 0, 4, 3}));
  EXPECT_EQ(ringOrder(5, 0), (Order{0, 4, 3, 2, 1}));
  EXPECT_EQ(ringOrder(5, 4), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(5, -1), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(5, -2), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(5, INT32_MIN), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(5, 7), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(5, INT32_MAX), (Order{4, 3, 2, 1, 0}));
  EXPECT_EQ(ringOrder(1, 0), (Order{0}));
  EXPECT_TRUE(ringOrder(0, 3).empty());
  EXPECT_TRUE(ringOrder(0, -1).empty());
}

}  // namespace
}  // namespace qv
