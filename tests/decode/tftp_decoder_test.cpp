#include "decode/tftp_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/decode_context.h"
#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

constexpr FrameOffset kBase = 42;

struct Decoded {
  DecodeResult result;
  NodeId tftp;

  std::vector<std::string> labels() const { return childLabels(result.tree, tftp); }
  HexSpan span(std::size_t child) const { return result.tree.node(result.tree.node(tftp).children.at(child)).span; }
};

// Decodes `payload` as the UDP payload at kBase; `padding` bytes follow it in
// the captured frame but lie beyond the working frame length.
Decoded decode(const Bytes& payload, std::size_t padding = 0) {
  Bytes frame(kBase, 0);
  append(frame, payload);
  frame.resize(frame.size() + padding, 0x55);
  DecodeContext context(frame, VendorLookup{});
  context.shortenWorkingLength(static_cast<std::uint32_t>(kBase + payload.size()));
  const NodeId parent = context.tree().addRoot("Data : UDP", spanToEnd(34));
  context.setPayloadBase(kBase);
  decodeTftp(context, parent, context.frameFrom(kBase), kBase);
  DecodeResult result = context.takeResult();
  const NodeId tftp = result.tree.node(parent).children.at(0);
  return {std::move(result), tftp};
}

Bytes text(std::string_view characters) { return Bytes(characters.begin(), characters.end()); }

TEST(TftpDecoder, ShowsARequestWithModeAndOptions) {
  Bytes request = hexBytes("00 01");
  append(request, text(std::string_view("boot.img\0octet\0blksize\0"
                                        "1428\0tsize\0",
                                        34)));
  const Decoded decoded = decode(request);
  EXPECT_EQ(decoded.result.tree.node(decoded.tftp).label, "Data : TFTP");
  EXPECT_EQ(decoded.result.tree.node(decoded.tftp).span, spanToEnd(kBase));
  EXPECT_FALSE(decoded.result.tree.node(decoded.tftp).expanded);
  EXPECT_EQ(decoded.labels(),
            (std::vector<std::string>{"Opcode : 1 ( Read Request )", "File Name : boot.img", "Mode : octet",
                                      "Option : blksize", "Value : 1428", "Option : tsize"}));
  // Each text field covers its characters and its zero byte.
  EXPECT_EQ(decoded.span(1), byteRangeSpan(kBase + 2, kBase + 11));
  EXPECT_EQ(decoded.span(2), byteRangeSpan(kBase + 11, kBase + 17));
}

TEST(TftpDecoder, CutsATextWithoutItsZeroAtTheEndOfTheMessage) {
  // The padding after the message is neither part of the name nor read.
  Bytes request = hexBytes("00 02");
  append(request, text("report.txt"));
  const Decoded decoded = decode(request, 6);
  EXPECT_EQ(decoded.labels(), (std::vector<std::string>{"Opcode : 2 ( Write Request )", "File Name : report.txt"}));
  EXPECT_EQ(decoded.span(1), byteRangeSpan(kBase + 2, kBase + 12));

  // A name that ends exactly at the end: no mode.
  request = hexBytes("00 01 61 00");
  EXPECT_EQ(decode(request).labels(), (std::vector<std::string>{"Opcode : 1 ( Read Request )", "File Name : a"}));

  // An option without its value, and one cut short.
  Bytes ack = hexBytes("00 06");
  append(ack, text(std::string_view("tsize\0"
                                    "512\0blksize",
                                    17)));
  EXPECT_EQ(decode(ack, 3).labels(), (std::vector<std::string>{"Opcode : 6 ( Option Acknowledgment )", "Option : tsize",
                                                               "Value : 512", "Option : blksize"}));
}

TEST(TftpDecoder, ShowsDataInThePayloadPane) {
  Bytes data = hexBytes("00 03 00 07");
  for (int i = 0; i < 512; ++i) data.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? 'x' : 0));
  const Decoded decoded = decode(data, 4);
  EXPECT_EQ(decoded.labels(),
            (std::vector<std::string>{"Opcode : 3 ( Data )", "Block Number : 7", "Data : 512 Bytes"}));
  EXPECT_EQ(decoded.span(2), spanToEnd(kBase + 4));
  std::string expected;
  for (int i = 0; i < 256; ++i) expected += "x.";
  EXPECT_EQ(decoded.result.payloadText, expected);
  EXPECT_EQ(decoded.result.payloadBase, kBase + 4);

  // The last block of a transfer may be empty.
  const Decoded empty = decode(hexBytes("00 03 00 08"));
  EXPECT_EQ(empty.labels().back(), "Data : 0 Bytes");
  EXPECT_EQ(empty.result.payloadText, "");
  EXPECT_EQ(empty.result.payloadBase, kBase + 4);
}

TEST(TftpDecoder, ShowsAcknowledgmentsErrorsAndWhatFollowsThem) {
  EXPECT_EQ(decode(hexBytes("00 04 01 00")).labels(),
            (std::vector<std::string>{"Opcode : 4 ( Acknowledgment )", "Block Number : 256"}));
  const Decoded ack = decode(hexBytes("00 04 00 01 aa bb"));
  EXPECT_EQ(ack.labels().back(), "Unknown Data : 2 Bytes");
  EXPECT_EQ(ack.span(2), spanToEnd(kBase + 4));

  Bytes error = hexBytes("00 05 00 09");
  append(error, text(std::string_view("Disk on fire\0\x01\x02\x03", 16)));
  const Decoded decoded = decode(error);
  EXPECT_EQ(decoded.labels(), (std::vector<std::string>{"Opcode : 5 ( Error )", "Error Code : 9 ( Unknown Code )",
                                                        "Error Message : Disk on fire", "Unknown Data : 3 Bytes"}));
  EXPECT_EQ(decoded.span(3), spanToEnd(kBase + 17));
  EXPECT_EQ(decoded.result.payloadBase, kBase);  // as the UDP layer set it

  // An error without any message text.
  EXPECT_EQ(
      decode(hexBytes("00 05 00 01"), 2).labels(),
      (std::vector<std::string>{"Opcode : 5 ( Error )", "Error Code : 1 ( File not found )", "Error Message : "}));
}

TEST(TftpDecoder, HandlesShortMessagesAndUnknownOpcodes) {
  const Decoded tooShort = decode(hexBytes("00 01 61"), 8);
  EXPECT_EQ(tooShort.labels(), std::vector<std::string>{"Error : 3 Bytes"});
  EXPECT_EQ(tooShort.span(0), spanToEnd(kBase));
  const Decoded unknown = decode(hexBytes("00 07 01 02 03"));
  EXPECT_EQ(unknown.labels(), (std::vector<std::string>{"Opcode : 7 ( Unknown Opcode )", "Unknown Data : 3 Bytes"}));
  EXPECT_EQ(unknown.span(1), spanToEnd(kBase + 2));
}

}  // namespace
}  // namespace qv
