#pragma once

#include "decode/decode_context.h"
#include "decode/decode_tree.h"

namespace qv {

// Decodes the ICMP message after an IPv4 header of `ipHeaderLength` bytes
// under `data` (the "Data : ICMP" node), including the IP header quoted by
// error messages.
void decodeIcmp(DecodeContext& context, NodeId data, unsigned ipHeaderLength);

}  // namespace qv
