#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

const std::vector<std::uint8_t> kV2Report = hexBytes(
    "0011223344550a1b2c3d4e5f0800460000201234400040021250c0a80001c0a8"
    "000294040000160009e9e0000016");

const std::vector<std::uint8_t> kQuery = hexBytes(
    "0011223344550a1b2c3d4e5f08004500001c123440004002a758c0a80001c0a8"
    "00021164ee9b00000000");

const std::vector<std::uint8_t> kV3Report = hexBytes(
    "0011223344550a1b2c3d4e5f080045000024123440004002a750c0a80001c0a8"
    "00022200f9020000000104000000e00000fb");

std::vector<std::string> igmpLabels(const DecodeResult& result) {
  const auto data = findNode(result.tree, "Data : IGMP");
  EXPECT_TRUE(data);
  return data ? childLabels(result.tree, *data) : std::vector<std::string>{};
}

TEST(IgmpLayer, Version2ReportShowsReservedAndTheGroup) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kV2Report, "IGMP"));
  EXPECT_EQ(igmpLabels(result),
            (std::vector<std::string>{"Type : 0x16 ( IGMPv2 Membership Report )", "Reserved",
                                      "Checksum : 0x9e9 (Correct)", "Group Address : 224.0.0.22"}));
  EXPECT_TRUE(result.tree.node(*findNode(result.tree, "Data : IGMP")).expanded);
  EXPECT_EQ(result.tree.node(*findNode(result.tree, "Group Address")).span, byteRangeSpan(42, 46));
  EXPECT_EQ(result.payloadText, "");
}

TEST(IgmpLayer, QueryShowsTheMaximumResponseTime) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kQuery, "IGMP"));
  EXPECT_EQ(igmpLabels(result),
            (std::vector<std::string>{"Type : 0x11 ( Group Membership Query )",
                                      "Max Response Time : 100 ( in units of 1/10 sec. )",
                                      "Checksum : 0xee9b (Correct)", "Group Address : 0.0.0.0"}));
}

TEST(IgmpLayer, Version3ReportCountsItsGroupRecords) {
  const DecodeResult result = decodeWithoutVendors(recordOf(kV3Report, "IGMP"));
  EXPECT_EQ(igmpLabels(result),
            (std::vector<std::string>{"Type : 0x22 ( IGMPv3 Membership Report )", "Reserved",
                                      "Checksum : 0xf902 (Correct)", "Reserved", "Number of Group Records : 1",
                                      "Group Records"}));
  EXPECT_EQ(result.tree.node(*findNode(result.tree, "Group Records")).span, spanToEnd(42));
}

TEST(IgmpLayer, MessageOfSevenBytesIsAnError) {
  std::vector<std::uint8_t> frame(kQuery.begin(), kQuery.begin() + 41);
  frame[17] = 27;
  const DecodeResult result = decodeWithoutVendors(recordOf(frame, "IGMP"));
  EXPECT_EQ(igmpLabels(result), std::vector<std::string>{"Error"});
  EXPECT_EQ(result.tree.node(*findNode(result.tree, "Error")).span, spanToEnd(34));
}

}  // namespace
}  // namespace qv
