#pragma once

namespace qv {

// The columns of the two list views. Column counts and indexes are `int`
// throughout, the type the view widgets and the sort clicks use.
inline constexpr int kTrafficColumnCount = 14;
inline constexpr int kPacketColumnCount = 11;

}  // namespace qv
