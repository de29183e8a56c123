#include "logdata/text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace qv {

Text::Text(std::string_view bytes) {
  if (bytes.size() <= kInlineCapacity) {
    // An empty view may carry a null pointer, which memcpy must not see.
    if (!bytes.empty()) std::memcpy(inline_.chars, bytes.data(), bytes.size());
    inline_.chars[bytes.size()] = '\0';
    inline_.size = static_cast<std::uint8_t>(bytes.size());
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

Text::Text(const Text& other) noexcept {
  std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
  if (!isInline()) heap_.block->references.fetch_add(1, std::memory_order_relaxed);
}

Text::Text(Text&& other) noexcept {
  std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
  other.clearInline();
}

Text& Text::operator=(const Text& other) noexcept {
  if (this != &other) {
    release();
    std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
    if (!isInline()) heap_.block->references.fetch_add(1, std::memory_order_relaxed);
  }
  return *this;
}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    release();
    std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
    other.clearInline();
  }
  return *this;
}

Text::~Text() { release(); }

void Text::release() noexcept {
  if (!isInline()) {
    Block* block = heap_.block;
    if (block->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      block->references.~atomic();
      std::free(block);
    }
  }
  clearInline();
}

std::strong_ordering Text::compareBytes(std::string_view a, std::string_view b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  const int result = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (result != 0) return result < 0 ? std::strong_ordering::less : std::strong_ordering::greater;
  return a.size() <=> b.size();
}

}  // namespace qv
