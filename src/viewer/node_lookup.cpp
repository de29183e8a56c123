#include "viewer/node_lookup.h"

namespace qv {

namespace {

bool covers(HexSpan span, HexCharPos position) noexcept {
  return position >= span.start && (span.end == HexSpan::kToEnd || position < span.end);
}

}  // namespace

std::optional<NodeId> nodeAtHexPosition(const DecodeTree& tree, HexCharPos position) {
  std::optional<NodeId> found;
  unsigned foundDepth = 0;
  tree.forEachInOrder([&](NodeId id, unsigned depth) {
    if (!covers(tree.node(id).span, position)) return;
    if (!found || depth > foundDepth) {
      found = id;
      foundDepth = depth;
    }
  });
  return found;
}

std::optional<NodeId> nodeHoldingByte(const DecodeTree& tree, FrameOffset offset) {
  return nodeAtHexPosition(tree, hexCharPos(offset));
}

}  // namespace qv
