#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

const std::vector<std::uint8_t> kArpRequest = hexBytes(
    "ffffffffffff 0a1b2c3d4e5f 0806 0001 0800 0604 0001 0a1b2c3d4e5f c0a80001 000000000000 c0a80002"
    "000000000000000000000000000000000000");

TEST(EthernetLayer, FrameShorterThanTheHeaderIsASingleErrorNode) {
  const auto frame = hexBytes("00112233445500112233445508");  // 13 bytes
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "TCP"));
  ASSERT_EQ(result.tree.size(), 1u);
  EXPECT_EQ(result.tree.node(result.tree.root()).label, "Ethernet : Error");
  EXPECT_EQ(result.tree.node(result.tree.root()).span, makeHexSpan(0, HexSpan::kToEnd));
  // The bytes that are there are still shown.
  EXPECT_EQ(result.hexText, "00 11 22 33 44 55 00 11  22 33 44 55 08");
  EXPECT_EQ(result.payloadText, "");
}

TEST(EthernetLayer, ArpShowsOnlyTheEthernetNodesAndTheWholeFrame) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kArpRequest, "ARP"));
  EXPECT_EQ(allLabels(result.tree), (std::vector<std::string>{"Ethernet", "Header",
                                                               "Destination MAC : ff-ff-ff-ff-ff-ff",
                                                               "Source MAC : 0a-1b-2c-3d-4e-5f",
                                                               "Ethernet Type : ARP", "Data : ARP"}));
  const DecodeTree& tree = result.tree;
  EXPECT_TRUE(tree.node(tree.root()).expanded);
  EXPECT_FALSE(tree.node(*findNode(tree, "Data : ARP")).expanded);
  EXPECT_EQ(tree.node(*findNode(tree, "Data : ARP")).span, makeHexSpan(43, HexSpan::kToEnd));
  EXPECT_EQ(tree.node(*findNode(tree, "Ethernet Type")).span, makeHexSpan(37, 42));
  // ARP frames keep their padding: 60 bytes, the last line holding 12.
  EXPECT_EQ(result.hexText.size(), 3u * 50 + 12 * 3 + 1 - 1);
  EXPECT_EQ(result.payloadText, "");
  EXPECT_EQ(result.payloadBase, 0u);
}

TEST(EthernetLayer, VendorNamesFollowTheAddressesWhenTheLookupKnowsThem) {
  std::vector<std::string> asked;
  const PacketDecoder decoder([&](std::string_view oui) {
    asked.emplace_back(oui);
    return oui == "00-11-22" ? std::string("Acme Networks") : std::string();
  });
  const DecodeResult result = decoder.decodePacket(recordOf(kTcpSyn, "TCP"));
  EXPECT_EQ(asked, (std::vector<std::string>{"00-11-22", "0a-1b-2c"}));
  EXPECT_TRUE(findNode(result.tree, "Destination MAC : 00-11-22-33-44-55 ( Acme Networks )"));
  const auto source = findNode(result.tree, "Source MAC : ");
  ASSERT_TRUE(source);
  EXPECT_EQ(result.tree.node(*source).label, "Source MAC : 0a-1b-2c-3d-4e-5f");
}

TEST(EthernetLayer, OtherEtherTypeNamesAreDecodedAsIpv4) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kTcpSyn, "IPX"));
  const DecodeTree& tree = result.tree;
  EXPECT_TRUE(findNode(tree, "Ethernet Type : IP"));
  EXPECT_TRUE(findNode(tree, "Protocol : 6 (IPX)"));
  const auto data = findNode(tree, "Data : IPX");
  ASSERT_TRUE(data);
  // No transport decoder for that name.
  EXPECT_TRUE(tree.node(*data).children.empty());
  EXPECT_FALSE(result.hexText.empty());
}

TEST(EthernetLayer, RecordCutShortByTheEndOfTheFileIsDecodedFromTheBytesPresent) {
  // The stored length claims more than the file holds.
  PacketRecord record;
  record.buffer = readBufferOf(packetRecordTextOfFrame(std::span(kTcpSyn).first(30), 54));
  record.protocol = "TCP";
  const DecodeResult result = decodeWithoutVendors(record);
  EXPECT_TRUE(findNode(result.tree, "IP : Error"));
  EXPECT_EQ(result.hexText.size(), 50u + 14 * 3 + 1 - 1);
}

}  // namespace
}  // namespace qv
