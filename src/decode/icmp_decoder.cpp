#include "decode/icmp_decoder.h"

#include <string>
#include <vector>

#include "decode/field_text.h"
#include "decode/icmp_names.h"
#include "decode/internet_checksum.h"
#include "decode/ip_header.h"

namespace qv {

namespace {

// What follows the ICMP header and the type's own fields.
enum class DataKind {
  kData,            // application data (echo data, address entries, ...)
  kQuotedDatagram,  // the IP header and first bytes of the datagram in error
  kNoneExpected,    // nothing; any bytes left are flagged
};

struct DataPart {
  DataKind kind = DataKind::kNoneExpected;
  FrameOffset start = 8;  // relative to the ICMP header
};

class IcmpFields {
 public:
  IcmpFields(DecodeTree& tree, NodeId header, ByteView icmp, FrameOffset t)
      : tree_(tree), header_(header), icmp_(icmp), t_(t) {}

  void add(FrameOffset from, FrameOffset to, std::string label) {
    tree_.addChild(header_, std::move(label), byteRangeSpan(t_ + from, t_ + to));
  }
  void addIdentificationAndSequence() {
    add(4, 6, formatText("Identification : %hu", icmp_.u16(4)));
    add(6, 8, formatText("Sequence Number : %hu", icmp_.u16(6)));
  }
  // The type's fields need `needed` ICMP bytes; when fewer are present an
  // "Error" spanning from `errorFrom` ends the decoding.
  bool require(FrameOffset needed, FrameOffset errorFrom) {
    if (icmp_.size() >= needed) return true;
    tree_.addChild(header_, "Error", spanToEnd(t_ + errorFrom));
    return false;
  }

 private:
  DecodeTree& tree_;
  NodeId header_;
  ByteView icmp_;
  FrameOffset t_;
};

}  // namespace

void decodeIcmp(DecodeContext& context, NodeId data, unsigned ipHeaderLength) {
  DecodeTree& tree = context.tree();
  const FrameOffset t = 14 + ipHeaderLength;
  const std::uint32_t length = context.workingLength();
  if (length < t + 8) {
    tree.addChild(data, "Error", spanToEnd(t));
    return;
  }
  const ByteView icmp = context.frameFrom(t);
  const unsigned type = icmp.u8(0);
  const unsigned code = icmp.u8(1);

  const NodeId header = tree.addChild(data, "Header", byteRangeSpan(t, t + (type == 38 ? 12 : 8)));
  std::string typeLabel = formatText("Type : %hu (", static_cast<unsigned short>(type));
  typeLabel.append(icmpTypeName(type)).push_back(')');
  tree.addChild(header, std::move(typeLabel), byteRangeSpan(t, t + 1));
  std::string codeLabel = formatText("Code : %hu (", static_cast<unsigned short>(code));
  codeLabel.append(icmpCodeName(type, code)).push_back(')');
  tree.addChild(header, std::move(codeLabel), byteRangeSpan(t + 1, t + 2));

  std::vector<std::uint8_t> message(icmp.span().begin(), icmp.span().end());
  message[2] = 0;
  message[3] = 0;
  const ChecksumVerdict verdict = internetChecksum(icmp.u16(2), message);
  tree.addChild(header, formatText("Checksum : 0x%x %s", icmp.u16(2), checksumVerdictText(verdict)),
                byteRangeSpan(t + 2, t + 4));

  IcmpFields fields(tree, header, icmp, t);
  DataPart part;
  switch (type) {
    case 0:
    case 8:
      fields.addIdentificationAndSequence();
      part = {DataKind::kData, 8};
      break;
    case 15:
    case 16:
    case 37:
      fields.addIdentificationAndSequence();
      break;
    case 13:
    case 14:
      fields.addIdentificationAndSequence();
      if (!fields.require(20, 8)) return;
      fields.add(8, 12, "Originate Timestamp");
      fields.add(12, 16, "Receive Timestamp");
      fields.add(16, 20, "Transmit Timestamp");
      // Only bytes beyond the timestamps are unexpected.
      part.start = 20;
      break;
    case 17:
    case 18:
      fields.addIdentificationAndSequence();
      if (!fields.require(12, 8)) return;
      fields.add(8, 12, "Address Mask");
      part.start = 12;
      break;
    case 38:
      fields.addIdentificationAndSequence();
      if (!fields.require(12, 8)) return;
      fields.add(8, 12, "Time-to-Live");
      part = {DataKind::kData, 12};
      break;
    case 3:
      if (code == 4) {
        fields.add(4, 6, "Unused");
        fields.add(6, 8, formatText("Next-Hop MTU : %hu", icmp.u16(6)));
      } else {
        fields.add(4, 8, "Unused");
      }
      part.kind = DataKind::kQuotedDatagram;
      break;
    case 4:
    case 11:
      fields.add(4, 8, "Unused");
      part.kind = DataKind::kQuotedDatagram;
      break;
    case 5:
      fields.add(4, 8, "Gateway IP Address : " + dottedQuadText(icmp, 4));
      part.kind = DataKind::kQuotedDatagram;
      break;
    case 9:
      fields.add(4, 5, formatText("Advertisement Count : %hu", static_cast<unsigned short>(icmp.u8(4))));
      fields.add(5, 6, formatText("Address Entry Size : %hu", static_cast<unsigned short>(icmp.u8(5))));
      fields.add(6, 8, formatText("Lifetime : %hu", icmp.u16(6)));
      part.kind = DataKind::kData;
      break;
    case 10:
      fields.add(4, 8, "Reserved : Set to 0");
      break;
    case 12:
      if (code == 0) {
        fields.add(4, 5, formatText("Pointer : %hu", static_cast<unsigned short>(icmp.u8(4))));
        fields.add(5, 8, "Unused");
      } else {
        fields.add(4, 8, "Unused");
      }
      part.kind = DataKind::kQuotedDatagram;
      break;
    case 30:
      if (!fields.require(20, 4)) return;
      fields.add(4, 6, formatText("ID Number : %hu", icmp.u16(4)));
      fields.add(6, 8, "Unused");
      fields.add(8, 10, formatText("Outbound Hop Count : %hu", icmp.u16(8)));
      fields.add(10, 12, formatText("Return Hop Count : %hu", icmp.u16(10)));
      fields.add(12, 16, formatText("Output Link Speed : %lu octets/sec", static_cast<unsigned long>(icmp.u32(12))));
      fields.add(16, 20, formatText("Output Link MTU : %lu Bytes", static_cast<unsigned long>(icmp.u32(16))));
      part.start = 20;
      break;
    case 31:
      fields.add(4, 8, formatText("Offset : %lu", static_cast<unsigned long>(icmp.u32(4))));
      part.kind = DataKind::kData;
      break;
    case 40:
      fields.add(4, 6, "Reserved : Set to 0");
      fields.add(6, 8, formatText("Pointer : %hu", icmp.u16(6)));
      part.kind = DataKind::kData;
      break;
    default:
      fields.add(4, 8, "Unknown Data");
      break;
  }

  const FrameOffset start = t + part.start;
  switch (part.kind) {
    case DataKind::kQuotedDatagram: {
      const NodeId quoted =
          tree.addChild(data, "Data : IP header + the first 64 bits of the original datagram's data", spanToEnd(start));
      if (length > start) decodeQuotedIpHeader(context, quoted, context.frameFrom(start), start);
      break;
    }
    case DataKind::kData:
      tree.addChild(data, formatText("Data : %lu Bytes", static_cast<unsigned long>(length - start)),
                    spanToEnd(start));
      context.showPayload(start);
      break;
    case DataKind::kNoneExpected:
      if (length > start) {
        tree.addChild(data, formatText("Data : %lu Bytes ( Error? )", static_cast<unsigned long>(length - start)),
                      spanToEnd(start));
      }
      break;
  }
  tree.expand(data);
}

}  // namespace qv
