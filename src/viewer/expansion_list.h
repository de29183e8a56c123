#pragma once

#include <string>
#include <vector>

#include "decode/decode_tree.h"

namespace qv {

// Which nodes of a decode tree are expanded, indexed by NodeId.
using TreeExpansion = std::vector<bool>;

// The expansion the decoder chose for a fresh tree.
TreeExpansion decoderExpansion(const DecodeTree& tree);

// A node's path: from the node up to its root, each label cut before its
// first ':' and followed by a tab. Cutting the values off lets "Data : TCP"
// and "Data : UDP" name the same place in two packets.
std::string expansionPath(const DecodeTree& tree, NodeId node);

// The paths of the expanded nodes the user can see (every ancestor
// expanded), in display order, so the first is the root's when it is open.
using ExpansionList = std::vector<std::string>;
ExpansionList recordExpansionList(const DecodeTree& tree, const TreeExpansion& expansion);

// The expansion of a new tree that keeps the user's view of the previous one:
// everything collapsed, then, when the new root has the first recorded path,
// the root and every node that becomes visible and has a recorded path are
// expanded. A tree of another kind (another root) stays collapsed.
TreeExpansion applyExpansionList(const DecodeTree& tree, const ExpansionList& list);

}  // namespace qv
