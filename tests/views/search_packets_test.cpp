#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis_test_records.h"
#include "views/packet_search.h"

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An Ethernet frame with an IPv4 header whose total length is `totalLength`,
// then `payload`, then `padding` bytes of 0xEE.
Bytes ipFrame(std::uint16_t totalLength, const std::string& payload, std::size_t padding = 0) {
  Bytes frame(14 + 20 + payload.size() + padding, 0xEE);
  std::fill(frame.begin(), frame.begin() + 34, 0);
  std::copy(payload.begin(), payload.end(), frame.begin() + 34);
  frame[12] = 0x08;
  frame[14] = 0x45;
  frame[16] = static_cast<std::uint8_t>(totalLength >> 8);
  frame[17] = static_cast<std::uint8_t>(totalLength);
  return frame;
}

PacketRecord tcpWith(const std::string& payload) {
  return test::packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025,
                      ipFrame(static_cast<std::uint16_t>(20 + payload.size()), payload));
}

TEST(SearchPattern, HexTokensAndTheirFaults) {
  EXPECT_EQ(searchPatternBytes(" 4a 0D  ff ", SearchMode::kHex), (Bytes{0x4A, 0x0D, 0xFF}));
  EXPECT_EQ(searchPatternBytes("0 a", SearchMode::kHex), (Bytes{0x00, 0x0A}));
  EXPECT_EQ(searchPatternBytes("   ", SearchMode::kHex), Bytes{});
  for (const char* invalid : {"4a0", "4g", "4a\t0d", "0x4a", "4a,0d"}) {
    EXPECT_FALSE(searchPatternBytes(invalid, SearchMode::kHex).has_value()) << invalid;
  }
  EXPECT_EQ(searchPatternBytes(" GET ", SearchMode::kString), (Bytes{' ', 'G', 'E', 'T', ' '}));
  EXPECT_EQ(kInvalidHexMessage, "Error : Invalid Hex Data");
}

TEST(SearchPackets, StartsAfterTheSelectionAndWrapsRound) {
  std::vector<PacketRecord> rows(10, tcpWith("nothing here"));
  rows[2] = tcpWith("xxneedle");
  rows[9] = tcpWith("needle");
  const Bytes needle = *searchPatternBytes("needle", SearchMode::kString);
  auto hit = searchPackets(test::shownPackets(rows), 5, needle);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->row, 9u);
  EXPECT_EQ(hit->frameOffset, 34u);

  rows[9] = tcpWith("nothing");
  hit = searchPackets(test::shownPackets(rows), 5, needle);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->row, 2u);
  EXPECT_EQ(hit->frameOffset, 36u);

  rows[2] = tcpWith("nothing");
  rows[5] = tcpWith("needle needle");
  hit = searchPackets(test::shownPackets(rows), 5, needle);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->row, 5u);
  EXPECT_EQ(hit->frameOffset, 34u);  // the first place in the frame

  rows[5] = tcpWith("nothing");
  EXPECT_FALSE(searchPackets(test::shownPackets(rows), 5, needle));
  EXPECT_FALSE(searchPackets(test::shownPackets(rows), std::nullopt, Bytes{}));
}

TEST(SearchPackets, NoSelectionStartsAtTheTop) {
  const std::vector<PacketRecord> rows = {tcpWith("needle"), tcpWith("needle")};
  const auto hit = searchPackets(test::shownPackets(rows), std::nullopt, *searchPatternBytes("6e 65", SearchMode::kHex));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->row, 0u);
}

TEST(SearchPackets, EthernetPaddingIsNotSearchedButArpIsWhole) {
  const Bytes padded = ipFrame(20 + 4, "data", 8);
  const PacketRecord ip = test::packet("UDP", "10.0.0.1", "192.168.0.2", 53, 1025, padded);
  EXPECT_EQ(searchFrameLength(ip), 38u);
  EXPECT_FALSE(searchPackets(test::shownPackets({ip}), std::nullopt, Bytes{0xEE}));
  EXPECT_TRUE(searchPackets(test::shownPackets({ip}), std::nullopt, Bytes{'a', 't', 'a'}));

  const PacketRecord arp = test::packet("ARP", "10.0.0.1", "192.168.0.2", 0, 0, padded);
  EXPECT_EQ(searchFrameLength(arp), padded.size());
  EXPECT_TRUE(searchPackets(test::shownPackets({arp}), std::nullopt, Bytes{0xEE}));

  // A total length below 20 or one that the frame does not exceed changes nothing.
  const PacketRecord odd = test::packet("TCP", "1", "2", 0, 0, ipFrame(19, "data", 8));
  EXPECT_EQ(searchFrameLength(odd), odd.packetLength());
  const PacketRecord exact = test::packet("TCP", "1", "2", 0, 0, ipFrame(20 + 12, "data", 8));
  EXPECT_EQ(searchFrameLength(exact), exact.packetLength());
}

TEST(SearchPackets, NeverReadsPastTheBytesTheRecordHolds) {
  // The packet length claims more than the file holds; the frame is cut short.
  const PacketRecord cut = test::packet("TCP", "1", "2", 0, 0, Bytes{0x01, 0x02, 0x03}, 1500);
  EXPECT_EQ(searchFrameLength(cut), 3u);
  EXPECT_FALSE(searchPackets(test::shownPackets({cut}), std::nullopt, Bytes{0x03, 0x00}));
  EXPECT_TRUE(searchPackets(test::shownPackets({cut}), std::nullopt, Bytes{0x02, 0x03}));
  const PacketRecord empty = test::packet("TCP", "1", "2", 0, 0, Bytes{}, 60);
  EXPECT_FALSE(searchPackets(test::shownPackets({empty}), std::nullopt, Bytes{0x00}));
}

}  // namespace
}  // namespace qv
