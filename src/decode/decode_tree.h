#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "decode/hex_span.h"

namespace qv {

// Decoders build the tree through DecodeTree (usually reached as
// DecodeContext::tree()):
//   NodeId header = tree.addChild(parent, "Header", byteRangeSpan(t, t + 8));
//   tree.addChild(header, formatText("Source Port : %hu", port), byteRangeSpan(t, t + 2));
//   tree.expand(parent);
// A node is always appended as the last child of its parent, so nodes appear
// in the order the decoder adds them. Only nodes a decoder expands start
// expanded; all others start collapsed. NodeIds stay valid for the tree's
// lifetime (nodes are never removed except by clear()). Labels are bytes, as
// the packet holds them; the viewer decides how to show them.

using NodeId = std::uint32_t;

struct DecodeNode {
  std::string label;
  HexSpan span;
  bool expanded = false;
  NodeId parent = 0;  // kNoNode for a root
  std::vector<NodeId> children;
};

class DecodeTree {
 public:
  static constexpr NodeId kNoNode = 0xFFFFFFFFu;

  void clear();
  bool empty() const noexcept { return nodes_.empty(); }
  std::size_t size() const noexcept { return nodes_.size(); }

  // Appends a top-level node.
  NodeId addRoot(std::string label, HexSpan span);
  // Appends a node as the last child of `parent`.
  NodeId addChild(NodeId parent, std::string label, HexSpan span);

  void setLabel(NodeId id, std::string label);
  void expand(NodeId id);

  // The first top-level node, or kNoNode in an empty tree.
  NodeId root() const noexcept { return roots_.empty() ? kNoNode : roots_.front(); }
  std::span<const NodeId> roots() const noexcept { return roots_; }
  NodeId parent(NodeId id) const { return nodes_.at(id).parent; }
  const DecodeNode& node(NodeId id) const { return nodes_.at(id); }

  // Visits every node in display order (depth first, children in order);
  // `visit(NodeId, depth)` with depth 0 for top-level nodes.
  template <typename Visit>
  void forEachInOrder(Visit&& visit) const {
    for (NodeId id : roots_) visitFrom(id, 0, visit);
  }

 private:
  template <typename Visit>
  void visitFrom(NodeId id, unsigned depth, Visit& visit) const {
    visit(id, depth);
    for (NodeId child : nodes_[id].children) visitFrom(child, depth + 1, visit);
  }

  std::vector<DecodeNode> nodes_;
  std::vector<NodeId> roots_;
};

}  // namespace qv
