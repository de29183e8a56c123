#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

// PSH/ACK with 8 option bytes and the 5 data bytes "GET\0/".
const std::vector<std::uint8_t> kDataWithOptions = hexBytes(
    "0011223344550a1b2c3d4e5f080045000035123440004006a73bc0a80001c0a8"
    "00020050040100001388000003e970182000fba80000020405b4010104024745"
    "54002f");

TEST(TcpLayer, HeaderWithoutOptionsOrData) {
  // The record's flag byte is shown, whatever the segment holds.
  const DecodeResult result = decodeWithoutVendors(recordOf(kTcpSyn, "TCP", 0x02));
  const DecodeTree& tree = result.tree;
  const auto data = findNode(tree, "Data : TCP");
  ASSERT_TRUE(data);
  EXPECT_TRUE(tree.node(*data).expanded);
  EXPECT_EQ(childLabels(tree, *data), (std::vector<std::string>{"Header", "Data : 0 Bytes"}));
  EXPECT_EQ(childLabels(tree, tree.node(*data).children.front()),
            (std::vector<std::string>{"Source Port : 1025", "Destination Port : 80", "Sequence Number : 1000",
                                      "Acknowledgement Number : 0", "Data Offset : 20", "Flags : xxxxSx",
                                      "Window Size : 8192", "Checksum : 0x656 (Correct)",
                                      "Urgent Pointer : N/A"}));
  EXPECT_EQ(tree.node(*findNode(tree, "Data Offset")).span, makeHexSpan(143, 144));
  EXPECT_EQ(tree.node(*findNode(tree, "Source Port")).span, makeHexSpan(106, 111));
  EXPECT_EQ(tree.node(*findNode(tree, "Data : 0 Bytes")).span, makeHexSpan(168, HexSpan::kToEnd));
  EXPECT_EQ(result.payloadText, "");
  EXPECT_EQ(result.payloadBase, 54u);
}

TEST(TcpLayer, OptionsDataAndUrgentPointer) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kDataWithOptions, "TCP", 0x38));
  const DecodeTree& tree = result.tree;
  EXPECT_TRUE(findNode(tree, "Flags : UAPxxx"));
  EXPECT_TRUE(findNode(tree, "Urgent Pointer : 0x0"));
  EXPECT_TRUE(findNode(tree, "Data Offset : 28"));
  EXPECT_TRUE(findNode(tree, "Checksum : 0xfba8 (Correct)"));
  EXPECT_EQ(tree.node(*findNode(tree, "Options")).span, byteRangeSpan(54, 62));
  EXPECT_EQ(tree.node(*findNode(tree, "Data : 5 Bytes")).span, makeHexSpan(hexCharPos(62), HexSpan::kToEnd));
  EXPECT_EQ(result.payloadText, "GET./");
  EXPECT_EQ(result.payloadBase, 62u);
}

TEST(TcpLayer, ChangedDataIsAChecksumError) {
  std::vector<std::uint8_t> frame = kDataWithOptions;
  frame.back() ^= 0x01;
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "TCP", 0x18));
  EXPECT_TRUE(findNode(result.tree, "Checksum : 0xfba8 (Error)"));
}

TEST(TcpLayer, ShortagesEndInAnErrorUnderTheDataNode) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> frame;
  };
  std::vector<Case> cases;
  // Ends inside the options (total length and capture both cut at 60 bytes).
  cases.push_back({"inside options", std::vector<std::uint8_t>(kDataWithOptions.begin(), kDataWithOptions.begin() + 60)});
  // Ends before the data offset byte.
  cases.push_back({"before data offset", std::vector<std::uint8_t>(kTcpSyn.begin(), kTcpSyn.begin() + 45)});
  // A data offset below 20 in a frame that stops before the fixed 20 header bytes.
  std::vector<std::uint8_t> tinyOffset(kTcpSyn.begin(), kTcpSyn.begin() + 50);
  tinyOffset[46] = 0x10;
  cases.push_back({"tiny data offset", tinyOffset});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodeResult result = decodeWithoutVendors(recordOf(c.frame, "TCP"));
    const auto data = findNode(result.tree, "Data : TCP");
    ASSERT_TRUE(data);
    EXPECT_EQ(childLabels(result.tree, *data), std::vector<std::string>{"Error"});
    EXPECT_EQ(result.tree.node(result.tree.node(*data).children.front()).span,
              makeHexSpan(106, HexSpan::kToEnd));
    EXPECT_FALSE(result.hexText.empty());
    EXPECT_EQ(result.payloadBase, 0u);
  }
}

}  // namespace
}  // namespace qv
