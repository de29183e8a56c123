#include "logdata/name_text.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

namespace qv {

NameText::NameText(std::string_view bytes) {
  if (bytes.empty()) return;
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max() - 1) throw std::length_error("name too long");
  void* memory = std::malloc(offsetof(Block, chars) + bytes.size() + 1);
  if (memory == nullptr) throw std::bad_alloc();
  Block* block = static_cast<Block*>(memory);
  new (&block->references) std::atomic<std::uint32_t>(1);
  block->size = static_cast<std::uint32_t>(bytes.size());
  std::memcpy(block->chars, bytes.data(), bytes.size());
  block->chars[bytes.size()] = '\0';
  block_ = block;
}

void NameText::releaseBlock() noexcept {
  if (block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    block_->references.~atomic();
    std::free(block_);
  }
}

}  // namespace qv
