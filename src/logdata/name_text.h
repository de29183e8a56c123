#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "logdata/text.h"

namespace qv {

// A name of a traffic record (host name, rule, application path): one
// pointer to a reference-counted block that every copy, and every record of a
// read naming the same bytes, shares. A firewall log repeats a few hundred
// names a million times, so a record pays eight bytes per name. Immutable;
// data() is always NUL-terminated. Reads like a Text.
class NameText {
 public:
  NameText() noexcept = default;
  NameText(std::string_view bytes);  // NOLINT: implicit on purpose, as Text
  NameText(const char* bytes) : NameText(std::string_view(bytes)) {}
  NameText(const std::string& bytes) : NameText(std::string_view(bytes)) {}
  NameText(const Text& text) : NameText(text.view()) {}
  NameText(const NameText& other) noexcept : block_(other.block_) { retain(); }
  NameText(NameText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  NameText& operator=(const NameText& other) noexcept {
    if (block_ != other.block_) {
      release();
      block_ = other.block_;
      retain();
    }
    return *this;
  }
  NameText& operator=(NameText&& other) noexcept {
    if (this != &other) {
      release();
      block_ = other.block_;
      other.block_ = nullptr;
    }
    return *this;
  }
  ~NameText() { release(); }

  std::string_view view() const noexcept {
    return block_ != nullptr ? std::string_view(block_->chars, block_->size) : std::string_view();
  }
  operator std::string_view() const noexcept { return view(); }  // NOLINT
  const char* data() const noexcept { return block_ != nullptr ? block_->chars : ""; }
  std::size_t size() const noexcept { return block_ != nullptr ? block_->size : 0; }
  bool empty() const noexcept { return size() == 0; }
  std::string str() const { return std::string(view()); }
  Text text() const { return Text(view()); }
  explicit operator Text() const { return text(); }

  friend bool operator==(const NameText& a, const NameText& b) noexcept {
    return a.block_ == b.block_ || a.view() == b.view();
  }
  friend bool operator==(const NameText& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const NameText& a, const char* b) noexcept { return a.view() == std::string_view(b); }
  friend bool operator==(const NameText& a, const Text& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const NameText& a, const std::string& b) noexcept { return a.view() == std::string_view(b); }
  friend std::strong_ordering operator<=>(const NameText& a, const NameText& b) noexcept {
    return Text::compareBytes(a.view(), b.view());
  }
  friend std::strong_ordering operator<=>(const NameText& a, std::string_view b) noexcept {
    return Text::compareBytes(a.view(), b);
  }

 private:
  struct Block {
    std::atomic<std::uint32_t> references;
    std::uint32_t size;
    char chars[1];  // size + 1 bytes allocated
  };

  void retain() const noexcept {
    if (block_ != nullptr) block_->references.fetch_add(1, std::memory_order_relaxed);
  }
  void release() noexcept {
    if (block_ != nullptr) releaseBlock();
    block_ = nullptr;
  }
  void releaseBlock() noexcept;

  Block* block_ = nullptr;  // null for the empty text
};

static_assert(sizeof(NameText) == 8);

}  // namespace qv
