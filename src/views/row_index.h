#pragma once

#include <cstddef>

namespace qv {

// A row of a list view: an index into its shown list.
using RowIndex = std::size_t;

}  // namespace qv
