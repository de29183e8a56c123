#pragma once

#include <string>

#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// Everything the packet viewer shows for one packet.
struct DecodeResult {
  DecodeTree tree;
  // The frame in hex, 16 bytes to a "\r\n"-ended line, trailing white space trimmed.
  std::string hexText;
  // The application data, one character per byte, zero bytes shown as '.'.
  std::string payloadText;
  // Frame offset of the first byte shown in the payload pane (0 when the
  // decoders never set it).
  FrameOffset payloadBase = 0;
  // The tree is to be scrolled so that its root is the first visible node.
  bool scrollToRoot = false;
};

}  // namespace qv
