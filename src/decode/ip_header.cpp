#include "decode/ip_header.h"

#include <algorithm>
#include <string>

#include "decode/field_text.h"
#include "logdata/protocol_names.h"

namespace qv {

namespace {

constexpr std::string_view kPrecedence[8] = {
    "0 (Routine)",          "1 (Priority)",   "2 (Immediate)",           "3 (Flash)",
    "4 (Flash Override)",   "5 (CRITIC/ECP)", "6 (Internetwork Control)", "7 (Network Control)",
};

std::string labelWith(std::string_view prefix, std::string_view value) {
  std::string label;
  label.reserve(prefix.size() + value.size());
  label.append(prefix).append(value);
  return label;
}

}  // namespace

IpFieldSpans frameIpFieldSpans() noexcept {
  // The frame's own header always starts at offset 14, so its spans are fixed.
  // They are not byteRangeSpan's: a field before the mid-line gap or at the
  // line end stops at its last digit, where the quoted header's takes the gap.
  IpFieldSpans spans;
  spans.version = {43, 44};
  spans.headerLength = {44, 45};
  spans.typeOfService = {46, 48};
  spans.precedenceAndDelay = {46, 47};
  spans.lowTosBits = {47, 48};
  spans.totalLength = {50, 55};
  spans.identification = {56, 61};
  spans.flags = {62, 63};
  spans.fragmentOffset = {62, 67};
  spans.timeToLive = {68, 70};
  spans.protocol = {71, 73};
  spans.checksum = {75, 80};
  spans.sourceAddress = {81, 92};
  spans.destinationAddress = {93, 105};
  return spans;
}

IpFieldSpans quotedIpFieldSpans(FrameOffset base) noexcept {
  IpFieldSpans spans;
  spans.version = digitSpan(base);
  spans.headerLength = digitSpan(base, true);
  spans.typeOfService = byteRangeSpan(base + 1, base + 2);
  spans.precedenceAndDelay = digitSpan(base + 1);
  spans.lowTosBits = digitSpan(base + 1, true);
  spans.totalLength = byteRangeSpan(base + 2, base + 4);
  spans.identification = byteRangeSpan(base + 4, base + 6);
  spans.flags = digitSpan(base + 6);
  spans.fragmentOffset = byteRangeSpan(base + 6, base + 8);
  spans.timeToLive = byteRangeSpan(base + 8, base + 9);
  spans.protocol = byteRangeSpan(base + 9, base + 10);
  spans.checksum = byteRangeSpan(base + 10, base + 12);
  spans.sourceAddress = byteRangeSpan(base + 12, base + 16);
  spans.destinationAddress = byteRangeSpan(base + 16, base + 20);
  return spans;
}

void addIpFieldNodes(DecodeTree& tree, NodeId header, ByteView ip, const IpFieldSpans& spans,
                     const IpFieldTexts& texts) {
  const unsigned version = ip.u8(0) >> 4;
  const unsigned headerLength = (ip.u8(0) * 4u) % 256u;
  tree.addChild(header, formatText("Version : %hu", static_cast<unsigned short>(version)), spans.version);
  tree.addChild(header, formatText("Header Length : %hu", static_cast<unsigned short>(headerLength)),
                spans.headerLength);

  const std::uint8_t tos = ip.u8(1);
  const NodeId tosNode = tree.addChild(header, "Type of Service", spans.typeOfService);
  tree.addChild(tosNode, labelWith("Precedence : ", kPrecedence[tos >> 5]), spans.precedenceAndDelay);
  tree.addChild(tosNode,
                labelWith("Minimize Delay : ", (tos & 0x10) ? "1 (Low Delay)" : "0 (Normal Delay)"),
                spans.precedenceAndDelay);
  tree.addChild(tosNode,
                labelWith("Maximize Throughput : ", (tos & 0x08) ? "1 (High Throughput)" : "0 (Normal Throughput)"),
                spans.lowTosBits);
  tree.addChild(tosNode,
                labelWith("Maximize Reliability : ",
                          (tos & 0x04) ? "1 (High Reliability)" : "0 (Normal Reliability)"),
                spans.lowTosBits);
  tree.addChild(tosNode,
                labelWith("Minimize Monetary Cost : ",
                          (tos & 0x02) ? "1 (Minimize Monetary Cost)" : "0 (Normal Monetary Cost)"),
                spans.lowTosBits);

  tree.addChild(header, formatText("Total Length : %lu", texts.totalLength), spans.totalLength);
  tree.addChild(header, formatText("Identification : %hu", ip.u16(4)), spans.identification);

  const std::uint16_t flags = ip.u16(6);
  const NodeId flagsNode = tree.addChild(header, "Flags", spans.flags);
  tree.addChild(flagsNode, "Reserved Fragment Flag : 0", spans.flags);
  tree.addChild(flagsNode,
                labelWith("Don't Fragment Flag : ",
                          (flags & 0x4000) ? "1 ( Do not fragment )" : "0 ( Fragment if necessary )"),
                spans.flags);
  tree.addChild(flagsNode,
                labelWith("More Fragments Flag : ", (flags & 0x2000) ? "1 ( More fragments follow this fragment )"
                                                                     : "0 ( This is the last fragment )"),
                spans.flags);
  tree.addChild(header,
                formatText("Flagment Offset : %hu", static_cast<unsigned short>((flags & 0x1FFF) * 8)),
                spans.fragmentOffset);
  tree.addChild(header, formatText("Time to Live : %hu", static_cast<unsigned short>(ip.u8(8))), spans.timeToLive);

  std::string protocol = formatText("Protocol : %hu (", static_cast<unsigned short>(ip.u8(9)));
  protocol.append(texts.protocolName).push_back(')');
  tree.addChild(header, std::move(protocol), spans.protocol);

  std::string checksum = formatText("Checksum : 0x%x", ip.u16(10));
  checksum.append(texts.checksumSuffix);
  tree.addChild(header, std::move(checksum), spans.checksum);

  tree.addChild(header, "Source IP Address : " + dottedQuadText(ip, 12), spans.sourceAddress);
  tree.addChild(header, "Destination IP Address : " + dottedQuadText(ip, 16), spans.destinationAddress);
}

void decodeQuotedIpHeader(DecodeContext& context, NodeId parent, ByteView quoted, FrameOffset base) {
  DecodeTree& tree = context.tree();
  if (quoted.size() < 20) {
    tree.addChild(parent, "Short for IP Header (less than 20 octets)", spanToEnd(base));
    return;
  }
  const std::size_t headerLength = (quoted.u8(0) * 4u) % 256u;
  // A quoted header is often cut short, and its length field may be bogus:
  // spans stay within the bytes that are there and cover at least the fixed
  // 20 bytes that are shown.
  const auto headerBytes =
      static_cast<FrameOffset>(std::min<std::size_t>(std::max<std::size_t>(headerLength, 20), quoted.size()));
  const NodeId header = tree.addChild(parent, "IP Header", byteRangeSpan(base, base + headerBytes));
  IpFieldTexts texts;
  texts.totalLength = quoted.u16(2);
  texts.protocolName = ipProtocolName(quoted.u8(9));
  addIpFieldNodes(tree, header, quoted, quotedIpFieldSpans(base), texts);
  if (headerBytes > 20) tree.addChild(header, "Options", byteRangeSpan(base + 20, base + headerBytes));
  tree.addChild(parent, "IP Data", spanToEnd(base + headerBytes));
}

}  // namespace qv
