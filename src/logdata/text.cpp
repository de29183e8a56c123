#include "logdata/text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace qv {

Text::Text(std::string_view bytes) {
  if (bytes.size() <= kInlineCapacity) {
    // An empty view may carry a null pointer, which memcpy must not see.
    if (!bytes.empty()) std::memcpy(inline_.chars, bytes.data(), bytes.size());
    if (bytes.size() < kInlineCapacity) inline_.chars[bytes.size()] = '\0';
    inline_.spare = static_cast<std::uint8_t>(kInlineCapacity - bytes.size());
    return;
  }
  void* memory = std::malloc(offsetof(Block, chars) + bytes.size() + 1);
  if (memory == nullptr) throw std::bad_alloc();
  Block* block = static_cast<Block*>(memory);
  new (&block->references) std::atomic<std::uint32_t>(1);
  block->size = bytes.size();
  std::memcpy(block->chars, bytes.data(), bytes.size());
  block->chars[bytes.size()] = '\0';
  heap_.block = block;
  heap_.marker = kHeapMarker;
}

void Text::releaseBlock() noexcept {
  Block* block = heap_.block;
  if (block->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    block->references.~atomic();
    std::free(block);
  }
}

std::strong_ordering Text::compareBytes(std::string_view a, std::string_view b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  const int result = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (result != 0) return result < 0 ? std::strong_ordering::less : std::strong_ordering::greater;
  return a.size() <=> b.size();
}

}  // namespace qv
