#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

// Borrowed packet bytes with bounded big-endian readers. A read at or past the
// end yields 0 bytes instead of touching memory beyond the view, the same as
// the zero byte that follows a frame copy; decoders still check their lengths
// first and treat a shortage as an error node.
class ByteView {
 public:
  constexpr ByteView() noexcept = default;
  constexpr explicit ByteView(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

  constexpr std::size_t size() const noexcept { return bytes_.size(); }
  constexpr bool empty() const noexcept { return bytes_.empty(); }
  constexpr std::span<const std::uint8_t> span() const noexcept { return bytes_; }
  constexpr const std::uint8_t* data() const noexcept { return bytes_.data(); }

  constexpr std::uint8_t u8(std::size_t index) const noexcept { return index < bytes_.size() ? bytes_[index] : 0; }
  constexpr std::uint16_t u16(std::size_t index) const noexcept {
    return static_cast<std::uint16_t>(u8(index) << 8 | u8(index + 1));
  }
  constexpr std::uint32_t u32(std::size_t index) const noexcept {
    return static_cast<std::uint32_t>(u16(index)) << 16 | u16(index + 2);
  }

  // The bytes from `offset` on (empty when `offset` is at or past the end).
  constexpr ByteView from(std::size_t offset) const noexcept {
    return offset < bytes_.size() ? ByteView(bytes_.subspan(offset)) : ByteView();
  }
  // At most `count` bytes from `offset` on.
  constexpr ByteView slice(std::size_t offset, std::size_t count) const noexcept {
    const ByteView rest = from(offset);
    return ByteView(rest.bytes_.first(count < rest.size() ? count : rest.size()));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace qv
