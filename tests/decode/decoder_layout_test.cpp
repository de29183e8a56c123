#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "decode/decode_context.h"
#include "decode/hex_span.h"
#include "decode/internet_checksum.h"
#include "decoder_test_support.h"

namespace qv {
namespace {

TEST(HexLayout, CharacterPositionsFollowTheFiftyCharacterLine) {
  EXPECT_EQ(hexCharPos(0), 0);
  EXPECT_EQ(hexCharPos(7), 21);
  EXPECT_EQ(hexCharPos(8), 25);  // after the double space in the middle of the line
  EXPECT_EQ(hexCharPos(15), 46);
  EXPECT_EQ(hexCharPos(16), 50);
  EXPECT_EQ(hexCharPos(24), 75);
  // The MAC addresses and the TCP source port behind a 20-byte IP header.
  EXPECT_EQ(byteRangeSpan(0, 6), makeHexSpan(0, 17));
  EXPECT_EQ(byteRangeSpan(6, 12), makeHexSpan(18, 36));
  EXPECT_EQ(byteRangeSpan(34, 36), makeHexSpan(106, 111));
  // An empty range ends one before it starts, as the span rule computes it.
  EXPECT_EQ(byteRangeSpan(54, 54), makeHexSpan(hexCharPos(54), hexCharPos(54) - 1));
  EXPECT_EQ(digitSpan(14), makeHexSpan(43, 44));
  EXPECT_EQ(digitSpan(14, true), makeHexSpan(44, 45));
  EXPECT_EQ(spanToEnd(42), makeHexSpan(131, HexSpan::kToEnd));
  EXPECT_EQ(makeHexSpan(5, 10).packed(), 10u * 65536u + 5u);
  EXPECT_EQ(HexSpan::fromPacked(makeHexSpan(5, 10).packed()), makeHexSpan(5, 10));
}

TEST(HexLayout, PositionsBeyondSixteenBitsSaturateInsteadOfWrapping) {
  EXPECT_EQ(hexCharPos(30000), HexSpan::kToEnd);
  EXPECT_EQ(byteRangeSpan(20960, 30000).end, HexSpan::kToEnd);
  EXPECT_LT(byteRangeSpan(20960, 30000).start, HexSpan::kToEnd);
}

TEST(HexLayout, PaneTextHasSixteenBytesToATrimmedLine) {
  std::vector<std::uint8_t> bytes(17);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 0x11);
  EXPECT_EQ(hexPaneText(bytes),
            "00 11 22 33 44 55 66 77  88 99 aa bb cc dd ee ff\r\n"
            "10");
  EXPECT_EQ(hexPaneText(std::span(bytes).first(16)), "00 11 22 33 44 55 66 77  88 99 aa bb cc dd ee ff");
  EXPECT_EQ(hexPaneText(std::span(bytes).first(8)), "00 11 22 33 44 55 66 77");
  EXPECT_EQ(hexPaneText({}), "");
}

TEST(InternetChecksum, FoldsCarriesAndPadsAnOddByte) {
  // The worked example of RFC 1071: the sum is ddf2, the checksum its complement.
  const auto example = test::hexBytes("0001f203f4f5f6f7");
  EXPECT_EQ(internetChecksumValue(example), 0x220d);
  EXPECT_EQ(internetChecksum(0x220d, example), ChecksumVerdict::kCorrect);
  EXPECT_EQ(internetChecksum(0x0d22, example), ChecksumVerdict::kError);
  EXPECT_EQ(internetChecksumValue(test::hexBytes("01")), 0xfeff);
  EXPECT_EQ(internetChecksumValue(test::hexBytes("ffff ffff 0001")), 0xfffe);
}

TEST(DecodeContextPayload, ShowsZeroBytesAsDotsWithinTheWorkingLength) {
  const auto frame = test::hexBytes("41 00 42 43 44");
  DecodeContext context(frame, VendorLookup{});
  context.shortenWorkingLength(4);
  context.showPayload(5);  // past the working length: nothing
  EXPECT_EQ(context.payloadBase(), 0u);
  context.showPayload(0);
  DecodeResult result = context.takeResult();
  EXPECT_EQ(result.payloadText, "A.BC");
  EXPECT_EQ(result.payloadBase, 0u);

  DecodeContext later(frame, VendorLookup{});
  later.showPayload(2);
  EXPECT_EQ(later.payloadBase(), 2u);
  EXPECT_EQ(later.takeResult().payloadText, "BCD");
}

}  // namespace
}  // namespace qv
