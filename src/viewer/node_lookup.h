#pragma once

#include <optional>

#include "decode/decode_tree.h"
#include "decode/hex_span.h"

namespace qv {

// The most specific node whose span covers hex-pane position `position`:
// the deepest such node, the first in display order among equals. Lets a
// click in the hex pane find its field in the tree.
std::optional<NodeId> nodeAtHexPosition(const DecodeTree& tree, HexCharPos position);

// The most specific node that holds frame byte `offset` (its first digit).
std::optional<NodeId> nodeHoldingByte(const DecodeTree& tree, FrameOffset offset);

}  // namespace qv
