#include "decode/udp_decoder.h"

#include "decode/dhcp_decoder.h"
#include "decode/field_text.h"
#include "decode/tftp_decoder.h"
#include "decode/transport_checksum.h"

namespace qv {

void decodeUdp(DecodeContext& context, NodeId data, unsigned ipHeaderLength, const PacketRecord& record) {
  DecodeTree& tree = context.tree();
  const FrameOffset t = 14 + ipHeaderLength;
  const std::uint32_t length = context.workingLength();
  if (t + 8 > length) {
    tree.addChild(data, "Error", spanToEnd(t));
    return;
  }
  const FrameOffset payloadStart = t + 8;
  context.setPayloadBase(payloadStart);

  const ByteView udp = context.frameFrom(t);
  const std::uint16_t destinationPort = udp.u16(2);
  const std::uint16_t udpLength = udp.u16(4);
  const NodeId header = tree.addChild(data, "Header", byteRangeSpan(t, t + 8));
  tree.addChild(header, formatText("Source Port : %hu", udp.u16(0)), byteRangeSpan(t, t + 2));
  tree.addChild(header, formatText("Destination Port : %hu", destinationPort), byteRangeSpan(t + 2, t + 4));
  tree.addChild(header, formatText("Length : %hu", udpLength), byteRangeSpan(t + 4, t + 6));
  const ChecksumVerdict verdict = verifyTransportChecksum(context.frameFrom(14), 17, udpLength, udp, 6);
  tree.addChild(header, formatText("Checksum : 0x%x %s", udp.u16(6), checksumVerdictText(verdict)),
                byteRangeSpan(t + 6, t + 8));
  tree.expand(data);

  const ByteView payload = context.frameFrom(payloadStart);
  if (!payload.empty() && (destinationPort == 67 || destinationPort == 68)) {
    decodeDhcp(context, data, payload, payloadStart);
  } else if (!payload.empty() && (record.localPort == 69 || record.remotePort == 69)) {
    decodeTftp(context, data, payload, payloadStart);
  } else {
    tree.addChild(data, formatText("Data : %lu Bytes", static_cast<unsigned long>(payload.size())),
                  spanToEnd(payloadStart));
    context.showPayload(payloadStart);
  }
}

}  // namespace qv
