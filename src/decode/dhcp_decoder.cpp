#include "decode/dhcp_decoder.h"

namespace qv {

// Placeholder until the DHCP decoder lands: adds nothing.
void decodeDhcp(DecodeContext&, NodeId, ByteView, FrameOffset) {}

}  // namespace qv
