#pragma once

#include <cstddef>
#include <vector>

namespace qv::platform {

// Asks the system to back [data, data + bytes) with large pages where it
// can (Linux: transparent huge pages on request). Reads fill hundreds of
// megabytes of fresh memory, and on virtual machines providing a fresh small
// page costs more than parsing what goes into it; a large page covers 512 of
// them at once. Only the whole large pages inside the range are advised, and
// only memory not yet touched benefits. Does nothing where the system has no
// such request, or when it is refused: it changes speed, never contents.
void adviseLargePages(const void* data, std::size_t bytes) noexcept;

// Reserves room for `count` elements and advises it before anything is
// written there. Small reservations are left as they are.
template <class T, class Allocator>
void reserveOnLargePages(std::vector<T, Allocator>& storage, std::size_t count) {
  storage.reserve(count);
  adviseLargePages(storage.data(), storage.capacity() * sizeof(T));
}

}  // namespace qv::platform
