#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The firewall writes its logs as rings: the newest record sits at
// `newestIndex` and the oldest just after it. Visits the indexes of `count`
// records newest first: newestIndex down to 0, then count - 1 down to
// newestIndex + 1. A negative index (no newest position known) visits
// count - 1 down to 0; indexes at or above count are passed over.
template <class Visit>
void forEachInRingOrder(std::size_t count, std::int32_t newestIndex, Visit&& visit) {
  if (count == 0) return;
  const std::size_t last = count - 1;
  const std::size_t newest =
      newestIndex < 0 ? last : (static_cast<std::size_t>(newestIndex) < last ? static_cast<std::size_t>(newestIndex) : last);
  for (std::size_t index = newest + 1; index-- > 0;) visit(index);
  for (std::size_t index = last; index > newest; --index) visit(index);
}

}  // namespace qv
