#include <gtest/gtest.h>

#include <string>

#include "decode/decoder_test_support.h"
#include "viewer/hex_document.h"
#include "viewer/hex_selection.h"

namespace qv {
namespace {

using namespace test;

TEST(HexSelectionTest, OffsetTextOfClicksAndRanges) {
  // A click on the second digit of byte 20 (line 1, column 13).
  EXPECT_EQ(offsetTextOf({63, 63}), "20");
  // Bytes 16 to 19: from the first digit of 16 to the last digit of 19.
  EXPECT_EQ(offsetTextOf({50, 61}), "16 - 19");
  // Both digits of one byte are not yet a range.
  EXPECT_EQ(offsetTextOf({hexCharPos(5), static_cast<HexCharPos>(hexCharPos(5) + 2)}), "5");
  // The middle gap of a line belongs to byte 8 as a start and to byte 7 as an end.
  EXPECT_EQ(offsetTextOf({24, 24}), "8");
  EXPECT_EQ(offsetTextOf({0, 24}), "0 - 7");
  // A selection of a whole line ends on its last byte, not on the next line's first.
  EXPECT_EQ(offsetTextOf({0, 50}), "0 - 15");
  EXPECT_EQ(offsetTextOf({50, 100}), "16 - 31");
  // The last byte of either half of a line takes three characters with its
  // separator, so a selection of it alone reads as a range of one byte.
  EXPECT_EQ(offsetTextOf(hexSelectionOfBytes(7, 1)), "7 - 7");
  EXPECT_EQ(offsetTextOf(hexSelectionOfBytes(6, 1)), "6");
}

TEST(HexSelectionTest, EveryByteRangeRoundTripsThroughItsHexSelection) {
  for (FrameOffset first = 0; first < 70; ++first) {
    for (std::size_t count = 1; first + count <= 70; ++count) {
      const HexSelection selection = hexSelectionOfBytes(first, count);
      const SelectedBytes bytes = selectedBytesOf(selection);
      ASSERT_EQ(bytes.first, static_cast<long>(first)) << first << "+" << count;
      ASSERT_EQ(bytes.last, static_cast<long>(first + count - 1)) << first << "+" << count;
      if (count > 1) {
        ASSERT_TRUE(bytes.isRange) << first << "+" << count;
      }
    }
    // A caret (empty range) marks the first digit of its byte.
    const HexSelection caret = hexSelectionOfBytes(first, 0);
    EXPECT_EQ(caret.start, hexCharPos(first));
    EXPECT_EQ(caret.end, hexCharPos(first) + 1);
    EXPECT_EQ(offsetTextOf(caret), std::to_string(first));
  }
}

TEST(HexSelectionTest, PayloadSelectionsMapFromPayloadBase) {
  // Payload from byte 54: its characters 0 to 3 are the frame bytes 54 to 57.
  EXPECT_EQ(hexSelectionOfPayload(54, 0, 4), (HexSelection{hexCharPos(54), static_cast<HexCharPos>(hexCharPos(58) - 1)}));
  EXPECT_EQ(offsetTextOf(hexSelectionOfPayload(54, 0, 4)), "54 - 57");
  EXPECT_EQ(hexSelectionOfPayload(54, 3, 3), (HexSelection{hexCharPos(57), static_cast<HexCharPos>(hexCharPos(57) + 1)}));
}

TEST(HexSelectionTest, NodeSpansBecomeTheBytesTheyShow) {
  const PacketRecord record = recordFromFrame(kTcpSyn);
  const DecodeResult result = decodeWithoutVendors(record);
  const std::size_t length = kTcpSyn.size();
  EXPECT_EQ(byteRangeOfSpan(result.tree.node(result.tree.root()).span, length), (ByteRange{0, length}));
  EXPECT_EQ(byteRangeOfSpan(result.tree.node(*findNode(result.tree, "Version")).span, length), (ByteRange{14, 15}));
  EXPECT_EQ(byteRangeOfSpan(result.tree.node(*findNode(result.tree, "Source Port")).span, length), (ByteRange{34, 36}));
  // A span past the frame, or one starting "before" it, stays within the frame.
  EXPECT_EQ(byteRangeOfSpan({1000, 1010}, length), (ByteRange{length, length}));
  EXPECT_EQ(byteRangeOfSpan({0xFFF0, 17}, length), (ByteRange{0, 6}));
}

TEST(HexSelectionTest, EveryNodeOfTheCapturesMapsInsideItsFrame) {
  if (!sharedPcapFolderPresent()) GTEST_SKIP() << "shared captures not present";
  for (const char* name : {"whois.pcap", "ntp.pcap", "dhcp-rfc3004.pcap", "tftp.pcap", "icmp-rfc8335.pcap"}) {
    for (const CapturedFrame& frame : readPcapFile(sharedPcapPath(name))) {
      const DecodeResult result = decodeWithoutVendors(recordFromFrame(frame.bytes));
      result.tree.forEachInOrder([&](NodeId id, unsigned) {
        const ByteRange range = byteRangeOfSpan(result.tree.node(id).span, frame.bytes.size());
        ASSERT_LE(range.first, range.end) << name << ": " << result.tree.node(id).label;
        ASSERT_LE(range.end, frame.bytes.size()) << name << ": " << result.tree.node(id).label;
      });
    }
  }
}

TEST(HexDocumentTest, PositionsMapBothWaysOverTheShownText) {
  const DecodeResult result = decodeWithoutVendors(recordFromFrame(kTcpSyn));
  const std::string document = hexDocumentText(result.hexText);
  ASSERT_EQ(document.find('\r'), std::string::npos);
  EXPECT_EQ(document.size(), result.hexText.size() - kTcpSyn.size() / 16);
  for (std::size_t p = 0; p < result.hexText.size(); ++p) {
    if (result.hexText[p] == '\r' || result.hexText[p] == '\n') continue;
    const std::size_t mapped = documentPositionOf(static_cast<HexCharPos>(p), document.size());
    ASSERT_EQ(document.at(mapped), result.hexText[p]) << p;
    ASSERT_EQ(hexPositionOfDocument(mapped), p);
  }
  // The line break and an open end stay within the text.
  EXPECT_EQ(documentPositionOf(48, document.size()), 48U);
  EXPECT_EQ(documentPositionOf(49, document.size()), 48U);
  EXPECT_EQ(documentPositionOf(HexSpan::kToEnd, document.size()), document.size());
  EXPECT_EQ(hexPositionOfDocument(48), 48);
  EXPECT_EQ(hexPositionOfDocument(49), 50);
}

}  // namespace
}  // namespace qv
