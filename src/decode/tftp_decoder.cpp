#include "decode/tftp_decoder.h"

namespace qv {

// Placeholder until the TFTP decoder lands: adds nothing.
void decodeTftp(DecodeContext&, NodeId, ByteView, FrameOffset) {}

}  // namespace qv
