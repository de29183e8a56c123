#pragma once

#include "decode/byte_view.h"
#include "decode/decode_context.h"
#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// Decodes a DHCP/BOOTP message: `payload` is the UDP payload (its size is the
// payload length), `base` the frame offset of its first byte; nodes go under
// `parent` (the UDP data node).
void decodeDhcp(DecodeContext& context, NodeId parent, ByteView payload, FrameOffset base);

}  // namespace qv
