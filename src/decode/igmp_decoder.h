#pragma once

#include "decode/byte_view.h"
#include "decode/decode_context.h"
#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// Decodes the IGMP message `igmp` (all bytes up to the working frame length),
// whose first byte is at frame offset `base`, directly under `parent`.
void decodeIgmp(DecodeContext& context, NodeId parent, ByteView igmp, FrameOffset base);

}  // namespace qv
