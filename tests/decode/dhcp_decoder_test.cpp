#include "decode/dhcp_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/decode_context.h"
#include "decode/dhcp_names.h"
#include "decode/dhcp_option_labels.h"
#include "decoder_test_support.h"

namespace qv {
namespace {

using namespace test;

// Where the UDP payload starts in a frame with a 20-byte IP header.
constexpr FrameOffset kBase = 42;

// A BOOTP reply: transaction 0x12345678, 3 seconds, broadcast flag, your
// address 192.168.0.10, server 192.168.0.1, client 00:a0:c9:11:22:33.
Bytes bootpHeader() {
  Bytes message =
      hexBytes("02 01 06 00  12 34 56 78  00 03 80 00  00 00 00 00"
          "c0 a8 00 0a  c0 a8 00 01  00 00 00 00  00 a0 c9 11 22 33");
  message.resize(236, 0);
  return message;
}

Bytes withCookie(Bytes message, const char* cookie = "63 82 53 63") {
  append(message, hexBytes(cookie));
  return message;
}

struct Decoded {
  DecodeResult result;
  NodeId parent;
  std::vector<std::string> lookedUp;
};

// Decodes `payload` as the UDP payload at kBase, naming 00-a0-c9 "Intel".
Decoded decode(const Bytes& payload) {
  Bytes frame(kBase, 0);
  append(frame, payload);
  auto lookedUp = std::make_shared<std::vector<std::string>>();
  DecodeContext context(frame, [lookedUp](std::string_view oui) {
    lookedUp->emplace_back(oui);
    return oui == "00-a0-c9" ? std::string("Intel") : std::string();
  });
  const NodeId parent = context.tree().addRoot("Data : UDP", spanToEnd(34));
  decodeDhcp(context, parent, context.frameFrom(kBase), kBase);
  return {context.takeResult(), parent, *lookedUp};
}

std::vector<std::string> optionLabels(const Decoded& decoded) {
  const auto options = findNode(decoded.result.tree, "Options");
  return options ? childLabels(decoded.result.tree, *options) : std::vector<std::string>{};
}

TEST(DhcpDecoder, DecodesAnOfferWithItsHeaderOptionsAndSpans) {
  Bytes message = withCookie(bootpHeader());
  append(message, hexBytes("35 01 02  01 04 ff ff ff 00  03 08 c0 a8 00 01 c0 a8 00 02  33 04 00 01 51 80  ff"));
  message.resize(300, 0);
  const Decoded decoded = decode(message);
  const DecodeTree& tree = decoded.result.tree;

  const NodeId dhcp = tree.node(decoded.parent).children.at(0);
  EXPECT_EQ(tree.node(dhcp).label, "Data : DHCP");
  EXPECT_EQ(tree.node(dhcp).span, (HexSpan{131, HexSpan::kToEnd}));
  EXPECT_TRUE(tree.node(dhcp).expanded);
  EXPECT_EQ(childLabels(tree, dhcp),
            (std::vector<std::string>{
                "Opcode : 2 ( Boot Reply )", "Hardware Type : 1 ( Ethernet )", "Hardware Address Length : 6",
                "Hop Count : 0", "Transaction ID : 305419896", "Number of Seconds : 3 sec.", "Flags : BROADCAST",
                "Client IP Address : 0.0.0.0", "Your IP Address : 192.168.0.10", "Server IP Address : 192.168.0.1",
                "Gateway IP Address : 0.0.0.0", "Client Hardware Address : 00-a0-c9-11-22-33 ( Intel )",
                "Server Host Name", "Boot Filename", "Options"}));
  EXPECT_EQ(decoded.lookedUp, std::vector<std::string>{"00-a0-c9"});
  // Client hardware address: 16 bytes from frame offset 70 (line 4, column 6).
  EXPECT_EQ(tree.node(*findNode(tree, "Client Hardware")).span, (HexSpan{218, 267}));

  EXPECT_EQ(optionLabels(decoded),
            (std::vector<std::string>{"Magic Cookie : 63-82-53-63 (Correct)", "53 : DHCP Message Type ( DHCPOFFER )",
                                      "1 : Subnet Mask ( 255.255.255.0 )", "3 : Router IP Address ( 192.168.0.1... )",
                                      "51 : IP Address Lease Time ( 86400 sec. = 24 hr. )", "255 : End ( 1 Octet )",
                                      "0 : Pad ( 34 Octets )"}));
  const NodeId options = *findNode(tree, "Options");
  EXPECT_TRUE(tree.node(options).expanded);
  // The router option covers its ten bytes: frame offsets 291-300.
  EXPECT_EQ(tree.node(*findNode(tree, "3 : ")).span, byteRangeSpan(kBase + 249, kBase + 259));
  EXPECT_TRUE(decoded.result.scrollToRoot);
}

TEST(DhcpDecoder, StopsWithAnErrorWhereTheMessageIsShort) {
  {
    const Decoded decoded = decode(Bytes(235, 1));
    const NodeId dhcp = decoded.result.tree.node(decoded.parent).children.at(0);
    EXPECT_EQ(childLabels(decoded.result.tree, dhcp), std::vector<std::string>{"Error : 235 Bytes"});
    EXPECT_EQ(decoded.result.tree.node(decoded.result.tree.node(dhcp).children[0]).span, spanToEnd(kBase));
  }
  {
    // A plain BOOTP message without vendor area: no options node at all.
    const Decoded decoded = decode(bootpHeader());
    EXPECT_FALSE(findNode(decoded.result.tree, "Options"));
    EXPECT_FALSE(decoded.result.scrollToRoot);
  }
  for (const std::size_t length : {237u, 240u}) {
    Bytes message = withCookie(bootpHeader());
    message.resize(length);
    const Decoded decoded = decode(message);
    EXPECT_EQ(optionLabels(decoded), std::vector<std::string>{"Error"}) << length;
    EXPECT_EQ(decoded.result.tree.node(*findNode(decoded.result.tree, "Error")).span, spanToEnd(kBase + 236));
  }
}

TEST(DhcpDecoder, EndsTheWalkAtAnOptionThatDoesNotFit) {
  // 53 fits; the length of 12 claims more than the 3 bytes left.
  Bytes message = withCookie(bootpHeader());
  append(message, hexBytes("35 01 05  0c 03 61 62"));
  Decoded decoded = decode(message);
  EXPECT_EQ(optionLabels(decoded), (std::vector<std::string>{"Magic Cookie : 63-82-53-63 (Correct)",
                                                             "53 : DHCP Message Type ( DHCPACK )", "Error"}));
  EXPECT_EQ(decoded.result.tree.node(*findNode(decoded.result.tree, "Error")).span, spanToEnd(kBase + 243));
  EXPECT_FALSE(decoded.result.scrollToRoot);

  // An option that ends exactly at the end of the message fits.
  message.push_back(0x63);
  decoded = decode(message);
  EXPECT_EQ(optionLabels(decoded).back(), "12 : Host Name Option ( \"abc\" )");
  EXPECT_TRUE(decoded.result.scrollToRoot);

  // A code in the last byte has no room for its length byte.
  message = withCookie(bootpHeader());
  append(message, hexBytes("ff 01"));
  decoded = decode(message);
  EXPECT_EQ(optionLabels(decoded).back(), "Error");
  EXPECT_EQ(decoded.result.tree.node(*findNode(decoded.result.tree, "Error")).span, spanToEnd(kBase + 241));
}

TEST(DhcpDecoder, AWrongCookieEndsTheOptions) {
  Bytes message = withCookie(bootpHeader(), "63 82 53 64");
  append(message, hexBytes("35 01 01 ff"));
  const Decoded decoded = decode(message);
  EXPECT_EQ(optionLabels(decoded), std::vector<std::string>{"Magic Cookie : 63-82-53-64 (Error)"});
  EXPECT_FALSE(decoded.result.scrollToRoot);
  // Cookie digits are written in lower case, like the addresses.
  const Decoded shifted = decode(withCookie(withCookie(bootpHeader(), "ab cd ef 01"), "00"));
  EXPECT_EQ(optionLabels(shifted), std::vector<std::string>{"Magic Cookie : ab-cd-ef-01 (Error)"});
}

TEST(DhcpDecoder, ListsRequestedParametersAndTheClientIdentifier) {
  Bytes message = withCookie(bootpHeader());
  append(message, hexBytes("37 03 01 03 06  3d 07 01 00 a0 c9 aa bb cc  3d 02 01 00  3d 03 06 01 02  00 00"));
  const Decoded decoded = decode(message);
  const DecodeTree& tree = decoded.result.tree;
  EXPECT_EQ(optionLabels(decoded),
            (std::vector<std::string>{"Magic Cookie : 63-82-53-63 (Correct)", "55 : Parameter Request List",
                                      "61 : Client-identifier ( Ethernet )", "61 : Client-identifier ( Ethernet )",
                                      "61 : Client-identifier ( IEEE 802 )", "0 : Pad ( 2 Octets )"}));
  const NodeId request = *findNode(tree, "55 : ");
  EXPECT_EQ(childLabels(tree, request),
            (std::vector<std::string>{"1 : Subnet Mask", "3 : Router IP Address", "6 : Domain Name Server Option"}));
  EXPECT_EQ(tree.node(tree.node(request).children[2]).span, byteRangeSpan(kBase + 244, kBase + 245));

  const auto& identifiers = tree.node(*findNode(tree, "Options")).children;
  const NodeId withAddress = identifiers[2];
  EXPECT_EQ(childLabels(tree, withAddress),
            std::vector<std::string>{"Client-Identifier : 00-a0-c9-aa-bb-cc ( Intel )"});
  EXPECT_EQ(tree.node(tree.node(withAddress).children[0]).span, byteRangeSpan(kBase + 248, kBase + 254));
  // Too short for an address: no child.
  EXPECT_TRUE(tree.node(identifiers[3]).children.empty());
  EXPECT_TRUE(tree.node(identifiers[4]).children.empty());
  EXPECT_EQ(decoded.lookedUp, (std::vector<std::string>{"00-a0-c9", "00-a0-c9"}));
}

struct LabelCase {
  const char* option;
  const char* label;
};

TEST(DhcpOptionLabel, NamesValuesAndFlagsWrongLengths) {
  const LabelCase cases[] = {
      {"01 04 ff ff ff 00", "1 : Subnet Mask ( 255.255.255.0 )"},
      {"01 03 ff ff ff", "1 : Subnet Mask ( Error )"},
      {"01 08 ff ff ff 00 ff ff ff 00", "1 : Subnet Mask ( Error )"},
      {"06 04 0a 00 00 01", "6 : Domain Name Server Option ( 10.0.0.1 )"},
      {"06 03 0a 00 00", "6 : Domain Name Server Option ( Error )"},
      {"02 04 ff ff f1 f0", "2 : Time Offset ( -3600 )"},
      {"02 02 00 01", "2 : Time Offset ( Error )"},
      {"0d 02 01 00", "13 : Boot File Size Option ( 256 = size in 512 byte blocks )"},
      {"39 02 02 40", "57 : Maximum DHCP Message Size ( 576 Octets )"},
      {"39 01 02", "57 : Maximum DHCP Message Size ( Error )"},
      {"17 01 80", "23 : Default IP Time-to-live ( 128 )"},
      {"3a 04 00 00 a8 c0", "58 : Renewal (T1) Time Value ( 43200 sec. )"},
      {"33 04 ff ff ff ff", "51 : IP Address Lease Time ( 4294967295 sec. = 1193046 hr. )"},
      {"13 01 00", "19 : IP Forwarding ( Disable )"},
      {"74 01 01", "116 : Auto-Configure ( AutoConfigure )"},
      {"1b 01 01", "27 : All Subnets are Local Option ( All subnets share the same MTU )"},
      {"1b 01 02", "27 : All Subnets are Local Option ( Error )"},
      {"2e 01 03", "46 : NetBIOS over TCP/IP Node Type Option ( Unknown Node Type )"},
      {"34 01 04", "52 : Option Overload ( Unknown Value )"},
      {"35 01 0a", "53 : DHCP Message Type ( Unknown Type )"},
      {"35 02 01 01", "53 : DHCP Message Type ( Error )"},
      {"0f 09 65 78 61 6d 70 6c 65 00 00", "15 : Domain Name ( \"example\" )"},
      {"0c 00", "12 : Host Name Option ( Error )"},
      {"21 08 0a 00 00 00 c0 a8 00 01", "33 : Static Route Option"},
      {"6e 00", "110 : IPX Compatability"},
      {"96 04 0a 00 00 01", "150 : Unknown Option Code"},
  };
  for (const LabelCase& c : cases) {
    const Bytes option = hexBytes(c.option);
    EXPECT_EQ(dhcpOptionLabel(ByteView(option)), c.label) << c.option;
  }
  // Data bytes are copied as they are, accented letters included.
  const Bytes text = hexBytes("38 04 41 e9 0d 42");
  EXPECT_EQ(dhcpTextLabel(ByteView(text)),
            "56 : Message ( \"A\xE9\r"
            "B\" )");
}

TEST(DhcpNames, NameOptionCodesAndHardwareTypes) {
  EXPECT_EQ(dhcpOptionName(0), "0 : Pad");
  EXPECT_EQ(dhcpOptionName(81), dhcpOptionName(89).replace(0, 2, "81"));
  EXPECT_EQ(dhcpOptionName(99), "99 : Unknown Option Code");
  EXPECT_EQ(dhcpOptionName(122), "122 : CableLabs Client Configuration (CCC) Option");
  EXPECT_EQ(dhcpOptionName(123), "123 : Unknown Option Code");
  EXPECT_EQ(dhcpOptionName(255), "255 : End ( 1 Octet )");
  EXPECT_EQ(hardwareTypeName(0), "");
  EXPECT_EQ(hardwareTypeName(16), " ( Asynchronous Transmission Mode )");
  EXPECT_EQ(hardwareTypeName(19), hardwareTypeName(21));
  EXPECT_EQ(hardwareTypeName(32), " ( Infiniband )");
  EXPECT_EQ(hardwareTypeName(33), "");
}

}  // namespace
}  // namespace qv
