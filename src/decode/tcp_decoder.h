#pragma once

#include "decode/decode_context.h"
#include "decode/decode_tree.h"
#include "logdata/packet_record.h"

namespace qv {

// Decodes the TCP segment after an IPv4 header of `ipHeaderLength` bytes under
// `data` (the "Data : TCP" node). The flags text comes from the record.
void decodeTcp(DecodeContext& context, NodeId data, unsigned ipHeaderLength, const PacketRecord& record);

}  // namespace qv
