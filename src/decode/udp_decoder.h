#pragma once

#include "decode/decode_context.h"
#include "decode/decode_tree.h"
#include "logdata/packet_record.h"

namespace qv {

// Decodes the UDP datagram after an IPv4 header of `ipHeaderLength` bytes
// under `data` (the "Data : UDP" node) and hands DHCP/BOOTP and TFTP payloads
// on to their decoders (TFTP is recognised by the record's ports).
void decodeUdp(DecodeContext& context, NodeId data, unsigned ipHeaderLength, const PacketRecord& record);

}  // namespace qv
