#include "viewer/expansion_list.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace qv {

namespace {

std::string_view cutBeforeColon(std::string_view label) noexcept {
  const std::size_t colon = label.find(':');
  return colon == std::string_view::npos ? label : label.substr(0, colon);
}

void recordVisible(const DecodeTree& tree, const TreeExpansion& expansion, NodeId node, ExpansionList& list) {
  if (node >= expansion.size() || !expansion[node]) return;
  list.push_back(expansionPath(tree, node));
  for (NodeId child : tree.node(node).children) recordVisible(tree, expansion, child, list);
}

void expandVisible(const DecodeTree& tree, const std::unordered_set<std::string>& paths, NodeId node,
                   TreeExpansion& expansion) {
  if (!paths.contains(expansionPath(tree, node))) return;
  expansion[node] = true;
  for (NodeId child : tree.node(node).children) expandVisible(tree, paths, child, expansion);
}

}  // namespace

TreeExpansion decoderExpansion(const DecodeTree& tree) {
  TreeExpansion expansion(tree.size(), false);
  for (NodeId id = 0; id < tree.size(); ++id) expansion[id] = tree.node(id).expanded;
  return expansion;
}

std::string expansionPath(const DecodeTree& tree, NodeId node) {
  std::string path;
  for (NodeId at = node; at != DecodeTree::kNoNode; at = tree.parent(at)) {
    path += cutBeforeColon(tree.node(at).label);
    path += '\t';
  }
  return path;
}

ExpansionList recordExpansionList(const DecodeTree& tree, const TreeExpansion& expansion) {
  ExpansionList list;
  for (NodeId root : tree.roots()) recordVisible(tree, expansion, root, list);
  return list;
}

TreeExpansion applyExpansionList(const DecodeTree& tree, const ExpansionList& list) {
  TreeExpansion expansion(tree.size(), false);
  const NodeId root = tree.root();
  if (list.empty() || root == DecodeTree::kNoNode || expansionPath(tree, root) != list.front()) return expansion;
  const std::unordered_set<std::string> paths(list.begin(), list.end());
  expansion[root] = true;
  for (NodeId child : tree.node(root).children) expandVisible(tree, paths, child, expansion);
  // Further top-level nodes are visible too.
  for (NodeId other : tree.roots()) {
    if (other != root) expandVisible(tree, paths, other, expansion);
  }
  return expansion;
}

}  // namespace qv
