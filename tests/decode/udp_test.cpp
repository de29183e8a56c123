#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

// From port 67 to port 1234 with the payload "hello".
const std::vector<std::uint8_t> kHello = hexBytes(
    "0011223344550a1b2c3d4e5f080045000021123440004011a744c0a80001c0a8"
    "0002004304d2000d359968656c6c6f");

// From port 5000 to port 5001 without payload.
const std::vector<std::uint8_t> kEmpty = hexBytes(
    "0011223344550a1b2c3d4e5f08004500001c123440004011a749c0a80001c0a8"
    "00021388138900085779");

std::vector<std::uint8_t> withPorts(std::vector<std::uint8_t> frame, std::uint16_t source, std::uint16_t destination) {
  frame[34] = static_cast<std::uint8_t>(source >> 8);
  frame[35] = static_cast<std::uint8_t>(source);
  frame[36] = static_cast<std::uint8_t>(destination >> 8);
  frame[37] = static_cast<std::uint8_t>(destination);
  return frame;
}

// The payload went to an application decoder instead of the data line.
bool handedOn(const DecodeResult& result) { return !findNode(result.tree, "Data : 5 Bytes"); }

TEST(UdpLayer, PlainDatagramShowsHeaderDataLineAndPayload) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kHello, "UDP"));
  const DecodeTree& tree = result.tree;
  const auto data = findNode(tree, "Data : UDP");
  ASSERT_TRUE(data);
  EXPECT_TRUE(tree.node(*data).expanded);
  EXPECT_EQ(childLabels(tree, *data), (std::vector<std::string>{"Header", "Data : 5 Bytes"}));
  EXPECT_EQ(childLabels(tree, tree.node(*data).children.front()),
            (std::vector<std::string>{"Source Port : 67", "Destination Port : 1234", "Length : 13",
                                      "Checksum : 0x3599 (Correct)"}));
  EXPECT_EQ(result.payloadText, "hello");
  EXPECT_EQ(result.payloadBase, 42u);
}

TEST(UdpLayer, EmptyDatagramShowsACountOfZero) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kEmpty, "UDP"));
  EXPECT_TRUE(findNode(result.tree, "Checksum : 0x5779 (Correct)"));
  EXPECT_TRUE(findNode(result.tree, "Data : 0 Bytes"));
  EXPECT_EQ(result.payloadText, "");
  EXPECT_EQ(result.payloadBase, 42u);
  // Port 68 without payload is not DHCP.
  const DecodeResult toDhcpPort = decodeWithoutVendors(recordOf(withPorts(kEmpty, 68, 68), "UDP"));
  EXPECT_TRUE(findNode(toDhcpPort.tree, "Data : 0 Bytes"));
}

TEST(UdpLayer, DhcpIsChosenByTheFramesDestinationPort) {
  EXPECT_TRUE(handedOn(decodeWithoutVendors(recordOf(withPorts(kHello, 1234, 68), "UDP"))));
  EXPECT_TRUE(handedOn(decodeWithoutVendors(recordOf(withPorts(kHello, 68, 67), "UDP"))));
  EXPECT_FALSE(handedOn(decodeWithoutVendors(recordOf(withPorts(kHello, 67, 1234), "UDP"))));
}

TEST(UdpLayer, TftpIsChosenByTheRecordsPorts) {
  EXPECT_TRUE(handedOn(decodeWithoutVendors(recordOf(kHello, "UDP", 0, 69, 3000))));
  EXPECT_TRUE(handedOn(decodeWithoutVendors(recordOf(kHello, "UDP", 0, 3000, 69))));
  // A frame port of 69 alone does not count.
  EXPECT_FALSE(handedOn(decodeWithoutVendors(recordOf(withPorts(kHello, 69, 69), "UDP", 0, 3000, 3001))));
}

TEST(UdpLayer, StoredZeroChecksumIsComparedLikeAnyOther) {
  std::vector<std::uint8_t> frame = kHello;
  frame[40] = 0;
  frame[41] = 0;
  EXPECT_TRUE(findNode(decodeWithoutVendors(recordOf(frame, "UDP")).tree, "Checksum : 0x0 (Error)"));
}

TEST(UdpLayer, HeaderCutShortIsAnError) {
  std::vector<std::uint8_t> frame(kHello.begin(), kHello.begin() + 40);
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "UDP"));
  const auto data = findNode(result.tree, "Data : UDP");
  ASSERT_TRUE(data);
  EXPECT_EQ(childLabels(result.tree, *data), std::vector<std::string>{"Error"});
  EXPECT_EQ(result.payloadBase, 0u);
}

}  // namespace
}  // namespace qv
