#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

// The whole image of a packet log plus one NUL byte.
struct ReadBuffer {
  std::vector<char> bytes;  // file content followed by one NUL
  std::uint64_t fileLength = 0;

  std::string_view content() const { return std::string_view(bytes.data(), static_cast<std::size_t>(fileLength)); }
  // The file's bytes as far as `bytes` holds them before its final NUL: what
  // the readers parse.
  std::string_view parsedBytes() const noexcept {
    if (bytes.empty()) return {};
    const std::uint64_t held = bytes.size() - 1;
    return std::string_view(bytes.data(), static_cast<std::size_t>(fileLength < held ? fileLength : held));
  }
};

// Offsets into an image fit in 48 bits (a record stores them so); no machine
// holds a larger image in memory, and a read refuses one.
inline constexpr std::uint64_t kLargestReadImage = (std::uint64_t{1} << 48) - 2;

// Shared ownership of an immutable ReadBuffer. Packet records and all their
// copies hold one, so a viewer opened on old packets stays valid after a new
// read replaces the window's buffer. One pointer wide, as a log of short
// frames holds a million of them: the count lives in the shared block.
class SharedReadBuffer {
 public:
  SharedReadBuffer() noexcept = default;
  SharedReadBuffer(std::nullptr_t) noexcept {}  // NOLINT: reads as a null pointer
  explicit SharedReadBuffer(ReadBuffer contents)
      : block_(std::make_unique<Block>(std::move(contents)).release()) {}
  SharedReadBuffer(const SharedReadBuffer& other) noexcept : block_(other.block_) { retain(); }
  SharedReadBuffer(SharedReadBuffer&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  SharedReadBuffer& operator=(const SharedReadBuffer& other) noexcept {
    SharedReadBuffer copy(other);
    std::swap(block_, copy.block_);
    return *this;
  }
  SharedReadBuffer& operator=(SharedReadBuffer&& other) noexcept {
    SharedReadBuffer taken(std::move(other));
    std::swap(block_, taken.block_);
    return *this;
  }
  ~SharedReadBuffer() { release(); }

  const ReadBuffer* get() const noexcept { return block_ != nullptr ? &block_->buffer : nullptr; }
  const ReadBuffer* operator->() const noexcept { return get(); }
  const ReadBuffer& operator*() const noexcept { return block_->buffer; }
  explicit operator bool() const noexcept { return block_ != nullptr; }
  void reset() noexcept {
    release();
    block_ = nullptr;
  }
  // How many holders share the buffer (0 without one).
  std::size_t useCount() const noexcept {
    return block_ != nullptr ? block_->references.load(std::memory_order_relaxed) : 0;
  }

  friend bool operator==(const SharedReadBuffer& a, const SharedReadBuffer& b) noexcept {
    return a.block_ == b.block_;
  }

 private:
  struct Block {
    explicit Block(ReadBuffer contents) : buffer(std::move(contents)) {}
    std::atomic<std::size_t> references{1};
    ReadBuffer buffer;
  };

  void retain() const noexcept {
    if (block_ != nullptr) block_->references.fetch_add(1, std::memory_order_relaxed);
  }
  void release() noexcept {
    // The last holder sees every other holder's writes before it frees the block.
    if (block_ != nullptr && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      std::unique_ptr<Block> last(block_);
    }
  }

  Block* block_ = nullptr;
};

static_assert(sizeof(SharedReadBuffer) == sizeof(void*));

// A buffer holding `content` and the NUL after it.
inline SharedReadBuffer readBufferOf(std::string_view content) {
  ReadBuffer buffer;
  buffer.bytes.reserve(content.size() + 1);
  buffer.bytes.assign(content.begin(), content.end());
  buffer.bytes.push_back('\0');
  buffer.fileLength = content.size();
  return SharedReadBuffer(std::move(buffer));
}

}  // namespace qv
