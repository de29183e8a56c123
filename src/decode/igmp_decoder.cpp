#include "decode/igmp_decoder.h"

#include <string>
#include <string_view>
#include <vector>

#include "decode/field_text.h"
#include "decode/internet_checksum.h"

namespace qv {

namespace {

std::string_view igmpTypeName(unsigned type) noexcept {
  switch (type) {
    case 0x11: return "( Group Membership Query )";
    case 0x12: return "( IGMPv1 Membership Report )";
    case 0x13: return "( DVMRP )";
    case 0x14: return "( PIMv1 )";
    case 0x15: return "( Cisco Trace Messages )";
    case 0x16: return "( IGMPv2 Membership Report )";
    case 0x17: return "( IGMPv2 Leave Group )";
    case 0x1E: return "( Multicast Traceroute Response )";
    case 0x1F: return "( Multicast Traceroute )";
    case 0x22: return "( IGMPv3 Membership Report )";
    case 0x24: return "(Multicast Router Advertisement  )";
    case 0x25: return "( Multicast Router Solicitation )";
    case 0x26: return "( Multicast Router Termination )";
    default: return "( Unknown Type )";
  }
}

}  // namespace

void decodeIgmp(DecodeContext& context, NodeId parent, ByteView igmp, FrameOffset base) {
  DecodeTree& tree = context.tree();
  if (igmp.size() < 8) {
    tree.addChild(parent, "Error", spanToEnd(base));
    return;
  }
  const unsigned type = igmp.u8(0);
  std::string typeLabel = formatText("Type : 0x%x ", type);
  typeLabel.append(igmpTypeName(type));
  tree.addChild(parent, std::move(typeLabel), byteRangeSpan(base, base + 1));

  if (type == 0x11) {
    tree.addChild(parent,
                  formatText("Max Response Time : %hu ( in units of 1/10 sec. )",
                             static_cast<unsigned short>(igmp.u8(1))),
                  byteRangeSpan(base + 1, base + 2));
  } else {
    tree.addChild(parent, "Reserved", byteRangeSpan(base + 1, base + 2));
  }

  std::vector<std::uint8_t> message(igmp.span().begin(), igmp.span().end());
  message[2] = 0;
  message[3] = 0;
  const ChecksumVerdict verdict = internetChecksum(igmp.u16(2), message);
  tree.addChild(parent, formatText("Checksum : 0x%x %s", igmp.u16(2), checksumVerdictText(verdict)),
                byteRangeSpan(base + 2, base + 4));

  if (type == 0x22) {
    tree.addChild(parent, "Reserved", byteRangeSpan(base + 4, base + 6));
    tree.addChild(parent, formatText("Number of Group Records : %hu", igmp.u16(6)), byteRangeSpan(base + 6, base + 8));
    if (igmp.size() > 8) tree.addChild(parent, "Group Records", spanToEnd(base + 8));
  } else {
    tree.addChild(parent, "Group Address : " + dottedQuadText(igmp, 4), byteRangeSpan(base + 4, base + 8));
  }
  tree.expand(parent);
}

}  // namespace qv
