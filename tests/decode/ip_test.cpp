#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

// IGMPv2 report behind a 24-byte IP header (Router Alert option).
const std::vector<std::uint8_t> kIgmpWithOptions = hexBytes(
    "0011223344550a1b2c3d4e5f0800460000201234400040021250c0a80001c0a8"
    "000294040000160009e9e0000016");

std::string label(const DecodeResult& result, std::string_view prefix) {
  const auto node = findNode(result.tree, prefix);
  return node ? result.tree.node(*node).label : "<missing " + std::string(prefix) + ">";
}

HexSpan span(const DecodeResult& result, std::string_view prefix) {
  const auto node = findNode(result.tree, prefix);
  return node ? result.tree.node(*node).span : HexSpan{};
}

TEST(Ipv4Layer, FrameShorterThanTheIpHeaderTurnsTheDataNodeIntoAnError) {
  const DecodeResult result = decodeWithoutVendors(recordOf(std::span(kTcpSyn).first(20), "TCP"));
  const DecodeTree& tree = result.tree;
  EXPECT_EQ(childLabels(tree, tree.root()), (std::vector<std::string>{"Header", "IP : Error"}));
  EXPECT_EQ(tree.node(*findNode(tree, "Header")).children.size(), 3u);
  EXPECT_FALSE(result.hexText.empty());
}

TEST(Ipv4Layer, FieldsAndTheirSpans) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kTcpSyn, "TCP"));
  EXPECT_EQ(span(result, "Header Length : 20"), makeHexSpan(44, 45));
  EXPECT_EQ(span(result, "Type of Service"), makeHexSpan(46, 48));
  EXPECT_EQ(span(result, "Maximize Throughput"), makeHexSpan(47, 48));
  EXPECT_EQ(span(result, "Total Length : 40"), makeHexSpan(50, 55));
  EXPECT_EQ(span(result, "Identification : 4660"), makeHexSpan(56, 61));
  EXPECT_EQ(span(result, "Flagment Offset : 0"), makeHexSpan(62, 67));
  EXPECT_EQ(span(result, "Protocol : 6 (TCP)"), makeHexSpan(71, 73));
  EXPECT_EQ(span(result, "Checksum : 0xa748 (Correct)"), makeHexSpan(75, 80));
  EXPECT_EQ(span(result, "Destination IP Address : 192.168.0.2"), makeHexSpan(93, 105));
  EXPECT_EQ(span(result, "Data : TCP"), makeHexSpan(106, HexSpan::kToEnd));
  const auto data = findNode(result.tree, "Data : IP");
  ASSERT_TRUE(data);
  EXPECT_TRUE(result.tree.node(*data).expanded);
  EXPECT_EQ(result.tree.node(result.tree.node(*data).children.front()).span, makeHexSpan(43, 105));
  EXPECT_FALSE(findNode(result.tree, "Options"));
}

TEST(Ipv4Layer, EthernetPaddingIsDroppedFromEverythingThatFollows) {
  std::vector<std::uint8_t> padded = kTcpSyn;
  padded.resize(60, 0xAA);
  const DecodeResult result = decodeWithoutVendors(recordOf(padded, "TCP"));
  EXPECT_EQ(label(result, "Total Length"), "Total Length : 40");
  EXPECT_EQ(result.hexText.size(), 3u * 50 + 6 * 3 - 1);  // 54 bytes
  EXPECT_TRUE(findNode(result.tree, "Data : 0 Bytes"));
  EXPECT_TRUE(findNode(result.tree, "Checksum : 0x656 (Correct)"));
}

TEST(Ipv4Layer, FrameShorterThanItsTotalLengthShowsTheCapturedLength) {
  const DecodeResult result = decodeWithoutVendors(recordOf(std::span(kTcpSyn).first(50), "TCP"));
  EXPECT_EQ(label(result, "Total Length"), "Total Length : 36");
}

TEST(Ipv4Layer, TypeOfServiceAndFragmentFlags) {
  std::vector<std::uint8_t> frame = kTcpSyn;
  frame[15] = 0x10;
  DecodeResult result = decodeWithoutVendors(recordOf(frame, "TCP"));
  EXPECT_EQ(childLabels(result.tree, *findNode(result.tree, "Type of Service")),
            (std::vector<std::string>{"Precedence : 0 (Routine)", "Minimize Delay : 1 (Low Delay)",
                                      "Maximize Throughput : 0 (Normal Throughput)",
                                      "Maximize Reliability : 0 (Normal Reliability)",
                                      "Minimize Monetary Cost : 0 (Normal Monetary Cost)"}));
  EXPECT_EQ(label(result, "Don't Fragment Flag"), "Don't Fragment Flag : 1 ( Do not fragment )");
  EXPECT_EQ(label(result, "Checksum : 0xa748"), "Checksum : 0xa748 (Error)");

  frame[15] = 0xE0;
  frame[20] = 0x20;
  frame[21] = 0x01;
  result = decodeWithoutVendors(recordOf(frame, "TCP"));
  EXPECT_EQ(label(result, "Precedence"), "Precedence : 7 (Network Control)");
  EXPECT_EQ(label(result, "Minimize Delay"), "Minimize Delay : 0 (Normal Delay)");
  EXPECT_EQ(label(result, "Don't Fragment Flag"), "Don't Fragment Flag : 0 ( Fragment if necessary )");
  EXPECT_EQ(label(result, "More Fragments Flag"), "More Fragments Flag : 1 ( More fragments follow this fragment )");
  EXPECT_EQ(label(result, "Flagment Offset"), "Flagment Offset : 8");
}

TEST(Ipv4Layer, HeaderOptionsGetTheirOwnNode) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kIgmpWithOptions, "IGMP"));
  EXPECT_EQ(label(result, "Header Length"), "Header Length : 24");
  EXPECT_EQ(span(result, "Options"), makeHexSpan(106, 117));
  EXPECT_EQ(span(result, "Data : IGMP"), makeHexSpan(118, HexSpan::kToEnd));
  EXPECT_EQ(label(result, "Checksum : 0x1250"), "Checksum : 0x1250 (Correct)");
}

TEST(Ipv4Layer, HeaderLengthBelowTwentyShowsTheFixedFieldsAndStops) {
  std::vector<std::uint8_t> frame = kTcpSyn;
  frame[14] = 0x44;  // 16 header bytes
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "TCP"));
  EXPECT_EQ(label(result, "Header Length"), "Header Length : 16");
  EXPECT_EQ(label(result, "Checksum"), "Checksum : 0xa748 (Error)");
  EXPECT_TRUE(findNode(result.tree, "Destination IP Address : 192.168.0.2"));
  const auto data = findNode(result.tree, "Data : TCP");
  ASSERT_TRUE(data);
  EXPECT_EQ(childLabels(result.tree, *data), std::vector<std::string>{"Error"});
  EXPECT_EQ(result.hexText.size(), 3u * 50 + 6 * 3 - 1);
}

TEST(Ipv4Layer, HeaderLongerThanTheFrameKeepsItsSpansInsideTheFrame) {
  std::vector<std::uint8_t> frame = kTcpSyn;
  frame[14] = 0x4F;  // 60 header bytes, 40 present
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "TCP"));
  const HexSpan lastByte = byteRangeSpan(53, 54);
  EXPECT_EQ(span(result, "Options"), makeHexSpan(106, lastByte.end));
  EXPECT_EQ(label(result, "Checksum"), "Checksum : 0xa748 (Error)");
  const auto data = findNode(result.tree, "Data : TCP");
  ASSERT_TRUE(data);
  EXPECT_EQ(childLabels(result.tree, *data), std::vector<std::string>{"Error"});
}

}  // namespace
}  // namespace qv
