#include <gtest/gtest.h>

#include <vector>

#include "decode/decoder_test_support.h"
#include "viewer/node_lookup.h"
#include "viewer/viewer_search.h"

namespace qv {
namespace {

using namespace test;

// A TCP SYN whose last bytes (the urgent pointer) are replaced by `marker`.
PacketRecord synWith(std::uint8_t marker) {
  Bytes frame = kTcpSyn;
  frame[52] = marker;
  frame[53] = marker;
  return recordFromFrame(frame);
}

TEST(ViewerSearchTest, SearchesAfterTheCurrentPacketAndWrapsRoundToIt) {
  const std::vector<PacketRecord> packets{synWith(0xAA), synWith(0x00), synWith(0x00), synWith(0xBB)};
  const Bytes aa{0xAA, 0xAA};
  const Bytes bb{0xBB, 0xBB};
  // From packet 1: packet 3 comes before packet 0.
  EXPECT_EQ(searchViewerPackets(packets, 1, bb), (ViewerSearchHit{3, 52}));
  EXPECT_EQ(searchViewerPackets(packets, 1, aa), (ViewerSearchHit{0, 52}));
  // A match only in the current packet is found after all others were looked at.
  EXPECT_EQ(searchViewerPackets(packets, 3, bb), (ViewerSearchHit{3, 52}));
  // Bytes every packet holds: the next packet.
  EXPECT_EQ(searchViewerPackets(packets, 3, Bytes{0x45, 0x00}), (ViewerSearchHit{0, 14}));
  EXPECT_FALSE(searchViewerPackets(packets, 0, Bytes{0xCC, 0xDD}));
  EXPECT_FALSE(searchViewerPackets(packets, 0, Bytes{}));
  EXPECT_FALSE(searchViewerPackets({}, 0, aa));
}

TEST(ViewerSearchTest, EthernetPaddingIsNotSearched) {
  Bytes padded = kTcpSyn;
  padded.insert(padded.end(), {0x77, 0x66, 0x55, 0x44, 0x33, 0x22});
  const std::vector<PacketRecord> packets{recordFromFrame(padded)};
  EXPECT_FALSE(searchViewerPackets(packets, 0, Bytes{0x66, 0x55}));
  // An ARP frame is searched over all its bytes.
  const std::vector<PacketRecord> arp{recordOf(padded, "ARP")};
  EXPECT_EQ(searchViewerPackets(arp, 0, Bytes{0x66, 0x55}), (ViewerSearchHit{0, 55}));
}

TEST(NodeLookupTest, AHexPositionFindsItsMostSpecificField) {
  const DecodeResult result = decodeWithoutVendors(recordFromFrame(kTcpSyn));
  const auto labelAt = [&](HexCharPos position) {
    const auto node = nodeAtHexPosition(result.tree, position);
    return node ? result.tree.node(*node).label : std::string("(none)");
  };
  EXPECT_EQ(labelAt(hexCharPos(34) + 1), "Source Port : 1025");
  EXPECT_EQ(labelAt(43), "Version : 4");
  EXPECT_EQ(labelAt(44), "Header Length : 20");
  EXPECT_TRUE(labelAt(0).starts_with("Destination MAC : "));
  const auto port = nodeHoldingByte(result.tree, 36);
  ASSERT_TRUE(port);
  EXPECT_EQ(result.tree.node(*port).label, "Destination Port : 80");
  // Past the last byte only the open-ended nodes remain; the deepest is the empty payload.
  EXPECT_EQ(labelAt(5000), "Data : 0 Bytes");
}

}  // namespace
}  // namespace qv
