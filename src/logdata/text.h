#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace qv {

// An immutable byte string for record fields. Records are read by the
// million and copied into views, so short texts (times, addresses, most
// names) live inline without a heap allocation, and longer ones share one
// reference-counted block among all copies. The bytes are the log's own;
// nothing here assumes an encoding. data() is always NUL-terminated.
class Text {
 public:
  // 23 bytes fit inline: a packet time with milliseconds is 23 characters.
  static constexpr std::size_t kInlineCapacity = 23;

  Text() noexcept { clearInline(); }
  Text(std::string_view bytes);  // NOLINT: implicit on purpose, records are built from views
  Text(const char* bytes) : Text(std::string_view(bytes)) {}
  Text(const std::string& bytes) : Text(std::string_view(bytes)) {}
  // Copies, moves and destruction are inline: records are built and copied
  // by the million and most of their texts are inline.
  Text(const Text& other) noexcept {
    std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
    if (!isInline()) heap_.block->references.fetch_add(1, std::memory_order_relaxed);
  }
  Text(Text&& other) noexcept {
    std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
    other.clearInline();
  }
  Text& operator=(const Text& other) noexcept {
    if (this != &other) {
      release();
      std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
      if (!isInline()) heap_.block->references.fetch_add(1, std::memory_order_relaxed);
    }
    return *this;
  }
  Text& operator=(Text&& other) noexcept {
    if (this != &other) {
      release();
      std::memcpy(static_cast<void*>(this), &other, sizeof(Text));
      other.clearInline();
    }
    return *this;
  }
  ~Text() { release(); }

  std::string_view view() const noexcept {
    return isInline() ? std::string_view(inline_.chars, inlineSize())
                      : std::string_view(heap_.block->chars, heap_.block->size);
  }
  operator std::string_view() const noexcept { return view(); }
  const char* data() const noexcept { return isInline() ? inline_.chars : heap_.block->chars; }
  std::size_t size() const noexcept { return isInline() ? inlineSize() : heap_.block->size; }
  bool empty() const noexcept { return size() == 0; }
  std::string str() const { return std::string(view()); }

  friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const Text& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const Text& a, const char* b) noexcept { return a.view() == std::string_view(b); }
  // Byte-wise order, as the views compare texts.
  friend std::strong_ordering operator<=>(const Text& a, const Text& b) noexcept {
    return compareBytes(a.view(), b.view());
  }
  friend std::strong_ordering operator<=>(const Text& a, std::string_view b) noexcept {
    return compareBytes(a.view(), b);
  }

  // Unsigned byte order (std::string_view compares plain char, which is signed here).
  static std::strong_ordering compareBytes(std::string_view a, std::string_view b) noexcept;

 private:
  struct Block {
    std::atomic<std::uint32_t> references;
    std::size_t size;
    char chars[1];  // size + 1 bytes allocated
  };
  struct Inline {
    char chars[kInlineCapacity];
    // kInlineCapacity - size, so that a full inline text is followed by a 0
    // byte that ends it; kHeapMarker when the text lives in a block.
    std::uint8_t spare;
  };
  struct Heap {
    Block* block;
    char padding[sizeof(Inline) - sizeof(Block*) - 1];
    std::uint8_t marker;
  };
  static constexpr std::uint8_t kHeapMarker = 0xFF;

  bool isInline() const noexcept { return inline_.spare != kHeapMarker; }
  std::size_t inlineSize() const noexcept { return kInlineCapacity - inline_.spare; }
  void clearInline() noexcept {
    inline_.chars[0] = '\0';
    inline_.spare = static_cast<std::uint8_t>(kInlineCapacity);
  }
  void release() noexcept {
    if (!isInline()) releaseBlock();
    clearInline();
  }
  void releaseBlock() noexcept;

  union {
    Inline inline_;
    Heap heap_;
  };
};

static_assert(sizeof(Text) == 24);

}  // namespace qv
