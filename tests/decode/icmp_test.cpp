#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/icmp_names.h"
#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

// Echo request, identifier 0x0200, sequence 7, data "abc\0def".
const std::vector<std::uint8_t> kEcho = hexBytes(
    "0011223344550a1b2c3d4e5f080045000023123440004001a752c0a80001c0a8"
    "0002080067300200000761626300646566");

// Destination unreachable, code 4, next-hop MTU 1400, quoting a UDP datagram's
// 20-byte IP header and first 8 bytes.
const std::vector<std::uint8_t> kFragmentationNeeded = hexBytes(
    "0011223344550a1b2c3d4e5f080045000038123440004001a73dc0a80001c0a8"
    "000203045adb000005784500002412344000401157dbc0a800020808080880e8"
    "003500101b7b");

// Timestamp request with its three 4-byte timestamps.
const std::vector<std::uint8_t> kTimestamp = hexBytes(
    "0011223344550a1b2c3d4e5f080045000028123440004001a74dc0a80001c0a8"
    "00020d00f2fc00010002000000000000000000000000");

// An ICMP frame whose message is `message` (the IP total length is set to fit).
std::vector<std::uint8_t> icmpFrame(std::string_view message) {
  std::vector<std::uint8_t> frame(kEcho.begin(), kEcho.begin() + 34);
  const auto bytes = hexBytes(message);
  frame.insert(frame.end(), bytes.begin(), bytes.end());
  frame[16] = 0;
  frame[17] = static_cast<std::uint8_t>(20 + bytes.size());
  return frame;
}

NodeId dataNode(const DecodeResult& result) {
  const auto data = findNode(result.tree, "Data : ICMP");
  EXPECT_TRUE(data);
  return data.value_or(0);
}

NodeId headerNode(const DecodeResult& result) { return result.tree.node(dataNode(result)).children.at(0); }

TEST(IcmpLayer, EchoRequestShowsItsFieldsAndTheEchoData) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kEcho, "ICMP"));
  EXPECT_EQ(childLabels(result.tree, headerNode(result)),
            (std::vector<std::string>{"Type : 8 (Echo Request)", "Code : 0 (N/A)", "Checksum : 0x6730 (Correct)",
                                      "Identification : 512", "Sequence Number : 7"}));
  EXPECT_EQ(childLabels(result.tree, dataNode(result)), (std::vector<std::string>{"Header", "Data : 7 Bytes"}));
  EXPECT_TRUE(result.tree.node(dataNode(result)).expanded);
  EXPECT_EQ(result.payloadText, "abc.def");
  EXPECT_EQ(result.payloadBase, 42u);
}

TEST(IcmpLayer, DestinationUnreachableDecodesTheQuotedHeader) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kFragmentationNeeded, "ICMP"));
  const DecodeTree& tree = result.tree;
  EXPECT_EQ(tree.node(*findNode(tree, "Unused")).span, byteRangeSpan(38, 40));
  EXPECT_TRUE(findNode(tree, "Next-Hop MTU : 1400"));
  const auto quoted = findNode(tree, "Data : IP header + the first 64 bits of the original datagram's data");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(childLabels(tree, *quoted), (std::vector<std::string>{"IP Header", "IP Data"}));
  const NodeId ipHeader = tree.node(*quoted).children[0];
  EXPECT_EQ(tree.node(ipHeader).span, byteRangeSpan(42, 62));
  EXPECT_EQ(tree.node(tree.node(*quoted).children[1]).span, spanToEnd(62));
  // Every span follows the general rule from the quoted header's own offset.
  auto quotedSpan = [&](std::string_view prefix) {
    const auto node = test::findNodeUnder(tree, ipHeader, prefix);
    return node ? tree.node(*node).span : HexSpan{};
  };
  EXPECT_EQ(quotedSpan("Version : 4"), digitSpan(42));
  EXPECT_EQ(quotedSpan("Header Length : 20"), digitSpan(42, true));
  EXPECT_EQ(quotedSpan("Type of Service"), byteRangeSpan(43, 44));
  EXPECT_EQ(quotedSpan("Total Length : 36"), byteRangeSpan(44, 46));
  EXPECT_EQ(quotedSpan("Protocol : 17 (UDP)"), byteRangeSpan(51, 52));
  EXPECT_EQ(quotedSpan("Destination IP Address : 8.8.8.8"), byteRangeSpan(58, 62));
  // The quoted checksum is shown, not verified.
  EXPECT_TRUE(findNode(tree, "Checksum : 0x57db"));
  EXPECT_FALSE(findNode(tree, "Checksum : 0x57db ("));
  EXPECT_EQ(result.payloadText, "");
}

TEST(IcmpLayer, QuotedHeaderShorterThanTwentyBytes) {
  const DecodeResult result = decodeWithoutVendors(recordOf(icmpFrame("0b000000 00000000 4500002412"), "ICMP"));
  const auto quoted = findNode(result.tree, "Data : IP header");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(childLabels(result.tree, *quoted), std::vector<std::string>{"Short for IP Header (less than 20 octets)"});
}

TEST(IcmpLayer, UnknownTypeShowsUnknownDataAndFlagsExtraBytes) {
  const DecodeResult result = decodeWithoutVendors(recordOf(icmpFrame("06000000 00000000 aabb"), "ICMP"));
  EXPECT_EQ(childLabels(result.tree, headerNode(result)),
            (std::vector<std::string>{"Type : 6 (Alternate Host Address)", "Code : 0 (N/A)",
                                      "Checksum : 0x0 (Error)", "Unknown Data"}));
  EXPECT_TRUE(findNode(result.tree, "Data : 2 Bytes ( Error? )"));
  EXPECT_EQ(result.payloadText, "");
}

TEST(IcmpLayer, TypeFieldsBeyondTheMessageEndInAnErrorUnderTheHeader) {
  // A domain name reply of 10 bytes cannot hold its Time-to-Live.
  const DecodeResult result = decodeWithoutVendors(recordOf(icmpFrame("26000000 00010002 0000"), "ICMP"));
  const std::vector<std::string> header = childLabels(result.tree, headerNode(result));
  EXPECT_EQ(header.back(), "Error");
  EXPECT_EQ(result.tree.node(result.tree.node(headerNode(result)).children.back()).span, spanToEnd(42));
  EXPECT_EQ(childLabels(result.tree, dataNode(result)), std::vector<std::string>{"Header"});
  // A traceroute needs 20 bytes; its error spans from the fourth byte.
  const DecodeResult traceroute = decodeWithoutVendors(recordOf(icmpFrame("1e000000 00010002 0000"), "ICMP"));
  EXPECT_EQ(traceroute.tree.node(traceroute.tree.node(headerNode(traceroute)).children.back()).span, spanToEnd(38));
}

TEST(IcmpLayer, CompleteTimestampMessageIsNotFlagged) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kTimestamp, "ICMP"));
  EXPECT_TRUE(findNode(result.tree, "Checksum : 0xf2fc (Correct)"));
  EXPECT_TRUE(findNode(result.tree, "Transmit Timestamp"));
  EXPECT_EQ(childLabels(result.tree, dataNode(result)), std::vector<std::string>{"Header"});
  // Bytes beyond the timestamps are.
  const DecodeResult longer =
      decodeWithoutVendors(recordOf(icmpFrame("0d000000 00010002 000000000000000000000000 ffff"), "ICMP"));
  const auto extra = findNode(longer.tree, "Data : 2 Bytes ( Error? )");
  ASSERT_TRUE(extra);
  EXPECT_EQ(longer.tree.node(*extra).span, spanToEnd(54));
}

TEST(IcmpLayer, ShortMessageIsAnError) {
  const DecodeResult result = decodeWithoutVendors(recordOf(icmpFrame("0800000000"), "ICMP"));
  EXPECT_EQ(childLabels(result.tree, dataNode(result)), std::vector<std::string>{"Error"});
}

TEST(IcmpNames, CodesOutsideATableAreUnknownAndTypesWithoutOneAreNotApplicable) {
  EXPECT_EQ(icmpTypeName(40), "Photuris, Security Failures");
  EXPECT_EQ(icmpTypeName(41), "Unknown");
  EXPECT_EQ(icmpCodeName(3, 15), "Precedence cutoff in effect");
  EXPECT_EQ(icmpCodeName(3, 16), "Unknown");
  EXPECT_EQ(icmpCodeName(9, 16), "Does not route common traffic");
  EXPECT_EQ(icmpCodeName(9, 1), "Unknown");
  EXPECT_EQ(icmpCodeName(31, 11), "Unknown mandatory transport option present");
  EXPECT_EQ(icmpCodeName(8, 0), "N/A");
}

}  // namespace
}  // namespace qv
