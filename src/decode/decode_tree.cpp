#include "decode/decode_tree.h"

#include <utility>

namespace qv {

void DecodeTree::clear() {
  nodes_.clear();
  roots_.clear();
}

NodeId DecodeTree::addRoot(std::string label, HexSpan span) {
  const auto id = static_cast<NodeId>(nodes_.size());
  nodes_.push_back(DecodeNode{std::move(label), span, false, kNoNode, {}});
  roots_.push_back(id);
  return id;
}

NodeId DecodeTree::addChild(NodeId parent, std::string label, HexSpan span) {
  nodes_.at(parent);  // an unknown parent is a programming error; fail before changing anything
  const auto id = static_cast<NodeId>(nodes_.size());
  nodes_.push_back(DecodeNode{std::move(label), span, false, parent, {}});
  nodes_[parent].children.push_back(id);
  return id;
}

void DecodeTree::setLabel(NodeId id, std::string label) { nodes_.at(id).label = std::move(label); }


void DecodeTree::expand(NodeId id) { nodes_.at(id).expanded = true; }

}  // namespace qv
