#include "decode/tcp_decoder.h"

#include <string>

#include "decode/field_text.h"
#include "decode/transport_checksum.h"
#include "logdata/protocol_names.h"

namespace qv {

void decodeTcp(DecodeContext& context, NodeId data, unsigned ipHeaderLength, const PacketRecord& record) {
  DecodeTree& tree = context.tree();
  const FrameOffset t = 14 + ipHeaderLength;
  const std::uint32_t length = context.workingLength();
  if (length < t + 12) {
    tree.addChild(data, "Error", spanToEnd(t));
    return;
  }
  const ByteView tcp = context.frameFrom(t);
  const unsigned headerLength = tcp.u8(12) >> 2;
  // The fixed 20 header bytes are read even when the data offset claims fewer.
  if (t + headerLength > length || t + 20 > length) {
    tree.addChild(data, "Error", spanToEnd(t));
    return;
  }
  context.setPayloadBase(t + headerLength);

  const NodeId header = tree.addChild(data, "Header", byteRangeSpan(t, t + headerLength));
  tree.addChild(header, formatText("Source Port : %hu", tcp.u16(0)), byteRangeSpan(t, t + 2));
  tree.addChild(header, formatText("Destination Port : %hu", tcp.u16(2)), byteRangeSpan(t + 2, t + 4));
  tree.addChild(header, formatText("Sequence Number : %lu", static_cast<unsigned long>(tcp.u32(4))),
                byteRangeSpan(t + 4, t + 8));
  tree.addChild(header, formatText("Acknowledgement Number : %lu", static_cast<unsigned long>(tcp.u32(8))),
                byteRangeSpan(t + 8, t + 12));
  tree.addChild(header, formatText("Data Offset : %hu", static_cast<unsigned short>(headerLength)), digitSpan(t + 12));
  tree.addChild(header, "Flags : " + std::string(tcpFlagsText(record.tcpFlags)), byteRangeSpan(t + 13, t + 14));
  tree.addChild(header, formatText("Window Size : %hu", tcp.u16(14)), byteRangeSpan(t + 14, t + 16));

  const ByteView ipHeader = context.frameFrom(14);
  const auto tcpLength = static_cast<std::uint16_t>(length - t);
  const ChecksumVerdict verdict = verifyTransportChecksum(ipHeader, 6, tcpLength, tcp, 16);
  tree.addChild(header, formatText("Checksum : 0x%x %s", tcp.u16(16), checksumVerdictText(verdict)),
                byteRangeSpan(t + 16, t + 18));
  tree.addChild(header,
                (record.tcpFlags & 0x20) ? formatText("Urgent Pointer : 0x%x", tcp.u16(18)) : "Urgent Pointer : N/A",
                byteRangeSpan(t + 18, t + 20));
  if (headerLength > 20) tree.addChild(header, "Options", byteRangeSpan(t + 20, t + headerLength));

  const FrameOffset payload = t + headerLength;
  tree.addChild(data, formatText("Data : %lu Bytes", static_cast<unsigned long>(length - payload)),
                spanToEnd(payload));
  tree.expand(data);
  context.showPayload(payload);
}

}  // namespace qv
