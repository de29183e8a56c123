#include "decode/packet_decoder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decode/field_text.h"
#include "decode/icmp_decoder.h"
#include "decode/igmp_decoder.h"
#include "decode/internet_checksum.h"
#include "decode/ip_header.h"
#include "decode/tcp_decoder.h"
#include "decode/udp_decoder.h"
#include "decode/vendor_lookup.h"

namespace qv {

namespace {

constexpr FrameOffset kEthernetHeaderLength = 14;
constexpr FrameOffset kMinimumIpFrame = kEthernetHeaderLength + 20;

// Adds the Ethernet nodes; returns the data node ("Data : IP", "Data : ARP", ...).
NodeId decodeEthernet(DecodeContext& context, NodeId root, std::string_view typeName) {
  DecodeTree& tree = context.tree();
  const ByteView frame = context.frame();
  const NodeId header = tree.addChild(root, "Header", byteRangeSpan(0, kEthernetHeaderLength));
  tree.addChild(header, macAddressLabel(context, "Destination MAC : ", frame, 0), byteRangeSpan(0, 6));
  tree.addChild(header, macAddressLabel(context, "Source MAC : ", frame, 6), byteRangeSpan(6, 12));
  // The type bytes are not read: the record's protocol name decides.
  const std::string typeLabel = "Ethernet Type : " + std::string(typeName);
  tree.addChild(header, typeLabel, byteRangeSpan(12, kEthernetHeaderLength));
  const NodeId data = tree.addChild(root, "Data" + typeLabel.substr(13), spanToEnd(kEthernetHeaderLength));
  tree.expand(root);
  return data;
}

void decodeTransport(DecodeContext& context, NodeId data, const PacketRecord& record, unsigned headerLength) {
  const std::string_view protocol = record.protocol;
  if (protocol == "TCP") {
    decodeTcp(context, data, headerLength, record);
  } else if (protocol == "UDP") {
    decodeUdp(context, data, headerLength, record);
  } else if (protocol == "ICMP") {
    decodeIcmp(context, data, headerLength);
  } else if (protocol == "IGMP") {
    const FrameOffset transport = kEthernetHeaderLength + headerLength;
    decodeIgmp(context, data, context.frameFrom(transport), transport);
  }
}

// The IPv4 layer from frame offset 14, then the transport layer.
void decodeIpv4(DecodeContext& context, NodeId ipData, const PacketRecord& record) {
  DecodeTree& tree = context.tree();
  if (context.workingLength() < kMinimumIpFrame) {
    tree.setLabel(ipData, "IP : Error");
    context.fillHexPane();
    return;
  }
  // Ethernet pads short frames; the IP total length tells where the datagram ends.
  const std::uint16_t totalLength = context.frame().u16(16);
  if (totalLength >= 20) context.shortenWorkingLength(totalLength + kEthernetHeaderLength);

  const ByteView frame = context.frame();
  const ByteView ip = frame.from(kEthernetHeaderLength);
  const unsigned headerLength = (ip.u8(0) * 4u) % 256u;
  const std::uint32_t present = context.workingLength() - kEthernetHeaderLength;
  // A header length below 20 or beyond the frame cannot be decoded past the
  // IP layer; the fixed fields are still shown and spans stay within the
  // bytes that are there.
  const bool headerUsable = headerLength >= 20 && headerLength <= present;
  const auto headerBytes = static_cast<FrameOffset>(std::clamp<std::uint32_t>(headerLength, 20, present));
  const FrameOffset headerEnd = kEthernetHeaderLength + headerBytes;

  const NodeId header = tree.addChild(ipData, "Header", {43, static_cast<HexCharPos>(hexCharPos(headerEnd) - 1)});
  IpFieldTexts texts;
  texts.totalLength = present;
  texts.protocolName = record.protocol;
  ChecksumVerdict verdict = ChecksumVerdict::kError;
  if (headerUsable) {
    std::vector<std::uint8_t> copy(ip.data(), ip.data() + headerLength);
    copy[10] = 0;
    copy[11] = 0;
    verdict = internetChecksum(ip.u16(10), copy);
  }
  texts.checksumSuffix = verdict == ChecksumVerdict::kCorrect ? " (Correct)" : " (Error)";
  addIpFieldNodes(tree, header, ip, frameIpFieldSpans(), texts);
  if (headerLength > 20 && context.workingLength() > kMinimumIpFrame) {
    tree.addChild(header, "Options", {106, static_cast<HexCharPos>(hexCharPos(headerEnd) - 1)});
  }

  tree.expand(ipData);
  const NodeId data = tree.addChild(ipData, "Data : " + std::string(record.protocol), spanToEnd(headerEnd));
  context.fillHexPane();
  if (!headerUsable) {
    tree.addChild(data, "Error", spanToEnd(headerEnd));
    return;
  }
  decodeTransport(context, data, record, headerLength);
}

}  // namespace

PacketDecoder::PacketDecoder() : vendorLookup_(lookupVendor) {}

PacketDecoder::PacketDecoder(VendorLookup vendorLookup) : vendorLookup_(std::move(vendorLookup)) {}

DecodeResult PacketDecoder::decodePacket(const PacketRecord& record) const {
  DecodeContext context(record.packetBytes(), vendorLookup_);
  DecodeTree& tree = context.tree();
  const NodeId root = tree.addRoot("Ethernet", spanToEnd(0));
  if (context.workingLength() < kEthernetHeaderLength) {
    tree.setLabel(root, "Ethernet : Error");
    context.fillHexPane();
    return context.takeResult();
  }
  const std::string_view protocol = record.protocol;
  const bool arp = protocol == "ARP" || protocol == "RARP";
  const NodeId data = decodeEthernet(context, root, arp ? protocol : std::string_view("IP"));
  if (arp) {
    context.fillHexPane();
  } else {
    decodeIpv4(context, data, record);
  }
  return context.takeResult();
}

}  // namespace qv
