#include "capture/frame_endpoints.h"

#include <gtest/gtest.h>

#include <vector>

#include "capture/test_frames.h"

namespace qv {
namespace {

using test::Frame;

const Ipv4Address kHost{192, 168, 1, 20};
const Ipv4Address kRouter{192, 168, 1, 1};
const Ipv4Address kServer{93, 184, 216, 34};
const Ipv4Address kBroadcast{255, 255, 255, 255};
const Ipv4Address kNoAddress{0, 0, 0, 0};

FrameEndpoints ends(const Frame& frame, const std::vector<Ipv4Network>& networks = privateIpv4Networks()) {
  return frameEndpoints(frame, networks);
}

TEST(FrameEndpoints, ThePrivateEndIsLocal) {
  const FrameEndpoints out = ends(test::ipv4Frame(kHost, kServer, 6, test::tcpSegment(50123, 80, 0x02)));
  EXPECT_EQ(out.direction, PacketDirection::kOutgoing);
  EXPECT_EQ(out.localAddress, kHost);
  EXPECT_EQ(out.remoteAddress, kServer);
  EXPECT_EQ(out.localPort, 50123);
  EXPECT_EQ(out.remotePort, 80);

  const FrameEndpoints in = ends(test::ipv4Frame(kServer, kHost, 17, test::udpDatagram(53, 40000)));
  EXPECT_EQ(in.direction, PacketDirection::kIncoming);
  EXPECT_EQ(in.localAddress, kHost);
  EXPECT_EQ(in.remoteAddress, kServer);
  EXPECT_EQ(in.localPort, 40000);
  EXPECT_EQ(in.remotePort, 53);
}

TEST(FrameEndpoints, GivenLocalNetworksReplaceThePrivateRanges) {
  const std::vector<Ipv4Network> onlyHost = {*parseIpv4Network("192.168.1.20")};
  // Between two private addresses the given host decides.
  const FrameEndpoints fromRouter = ends(test::ipv4Frame(kRouter, kHost, 1, {3, 1, 0, 0}), onlyHost);
  EXPECT_EQ(fromRouter.direction, PacketDirection::kIncoming);
  EXPECT_EQ(fromRouter.localAddress, kHost);
  // ICMP keeps its type and code in the port fields, local and remote in that order.
  EXPECT_EQ(fromRouter.localPort, 3);
  EXPECT_EQ(fromRouter.remotePort, 1);

  const std::vector<Ipv4Network> publicNet = {*parseIpv4Network("93.184.216.0/24")};
  EXPECT_EQ(ends(test::ipv4Frame(kServer, kHost, 1, {8, 0}), publicNet).direction, PacketDirection::kOutgoing);
}

TEST(FrameEndpoints, BroadcastAndTiesFollowTheClientPort) {
  // A DHCP client without an address asks the whole link; the server answers.
  const FrameEndpoints discover = ends(test::ipv4Frame(kNoAddress, kBroadcast, 17, test::udpDatagram(68, 67)));
  EXPECT_EQ(discover.direction, PacketDirection::kOutgoing);
  EXPECT_EQ(discover.localPort, 68);
  const FrameEndpoints offer = ends(test::ipv4Frame(kRouter, kBroadcast, 17, test::udpDatagram(67, 68)));
  EXPECT_EQ(offer.direction, PacketDirection::kIncoming);
  EXPECT_EQ(offer.localAddress, kBroadcast);
  EXPECT_EQ(offer.remoteAddress, kRouter);
  // Two private hosts talking TCP: the side on the higher port is the client.
  EXPECT_EQ(ends(test::ipv4Frame(kRouter, kHost, 6, test::tcpSegment(22, 51000, 0x12))).direction,
            PacketDirection::kIncoming);
  // Without ports (IGMP to a multicast group) the sender is local.
  const FrameEndpoints report = ends(test::ipv4Frame(kHost, {224, 0, 0, 22}, 2, {0x22, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(report.direction, PacketDirection::kOutgoing);
  EXPECT_EQ(report.localPort, 0);
}

TEST(FrameEndpoints, FramesWithoutUsableHeadersKeepZeroFields) {
  Frame arp = test::ethernetHeader(0x0806);
  arp.resize(42, 0x01);
  const FrameEndpoints arpEnds = ends(arp);
  EXPECT_EQ(arpEnds.direction, PacketDirection::kUnknown);
  EXPECT_EQ(arpEnds.localAddress, kNoAddress);
  EXPECT_EQ(arpEnds.remoteAddress, kNoAddress);

  EXPECT_EQ(ends(Frame{}).direction, PacketDirection::kUnknown);
  Frame shortIp = test::ipv4Frame(kHost, kServer, 6, {});
  shortIp.resize(33);
  EXPECT_EQ(ends(shortIp).direction, PacketDirection::kUnknown);

  // A later fragment has no transport header; an IPv4 header length below 20
  // bytes or a header cut short gives no ports either, but the addresses stay.
  const FrameEndpoints fragment = ends(test::ipv4Frame(kHost, kServer, 17, test::udpDatagram(1, 2), 0x0010));
  EXPECT_EQ(fragment.localAddress, kHost);
  EXPECT_EQ(fragment.localPort, 0);
  EXPECT_EQ(fragment.remotePort, 0);
  EXPECT_EQ(ends(test::ipv4Frame(kHost, kServer, 6, test::tcpSegment(5, 6, 0), 0, 0x44)).localPort, 0);
  EXPECT_EQ(ends(test::ipv4Frame(kHost, kServer, 6, {0x01, 0x02, 0x03})).remotePort, 0);
  const FrameEndpoints withOptions = ends(test::ipv4Frame(kHost, kServer, 6, test::tcpSegment(5, 6, 0), 0, 0x46));
  EXPECT_EQ(withOptions.localPort, 5);
  EXPECT_EQ(withOptions.remotePort, 6);
}

TEST(Ipv4Network, ParsesAddressesAndRanges) {
  EXPECT_EQ(parseIpv4Network("10.1.2.3/8"), (Ipv4Network{{10, 1, 2, 3}, 8}));
  EXPECT_EQ(parseIpv4Network("10.1.2.3"), (Ipv4Network{{10, 1, 2, 3}, 32}));
  EXPECT_EQ(parseIpv4Network("0.0.0.0/0"), (Ipv4Network{{0, 0, 0, 0}, 0}));
  for (const char* bad : {"", "10.1.2", "10.1.2.3.4", "10.1.2.256", "10.1.2.3/33", "10.1.2.3/", "10.1.2.3/8x",
                          "1000.1.2.3", "a.b.c.d", "10..2.3", " 10.1.2.3"}) {
    EXPECT_FALSE(parseIpv4Network(bad).has_value()) << bad;
  }
  const Ipv4Network net = *parseIpv4Network("172.16.0.0/12");
  EXPECT_TRUE(net.contains({172, 31, 255, 255}));
  EXPECT_FALSE(net.contains({172, 32, 0, 0}));
  EXPECT_TRUE(parseIpv4Network("0.0.0.0/0")->contains({8, 8, 8, 8}));
  EXPECT_EQ(ipv4AddressText({192, 168, 0, 1}), "192.168.0.1");
}

}  // namespace
}  // namespace qv
