#pragma once

#include <cstdint>

namespace qv {

// Byte offset into a captured frame (the first Ethernet byte is 0).
using FrameOffset = std::uint32_t;

// Character position in the hex-pane text.
using HexCharPos = std::uint16_t;

// The characters of the hex pane that a decode-tree node highlights: [start, end).
// An end of kToEnd means "to the end of the text". Packed into 32 bits (end in
// the high half) it is the node's item data in the viewer.
struct HexSpan {
  static constexpr HexCharPos kToEnd = 65535;

  HexCharPos start = 0;
  HexCharPos end = 0;

  constexpr std::uint32_t packed() const noexcept { return static_cast<std::uint32_t>(end) << 16 | start; }
  static constexpr HexSpan fromPacked(std::uint32_t value) noexcept {
    return {static_cast<HexCharPos>(value & 0xFFFFu), static_cast<HexCharPos>(value >> 16)};
  }
  friend constexpr bool operator==(HexSpan, HexSpan) noexcept = default;
};

// The hex pane writes 16 bytes to a 50-character line: "%02x" per byte, one
// space after bytes 1-7 and 9-15 of a line, two after byte 8, CR LF after 16.
inline constexpr unsigned kHexBytesPerLine = 16;
inline constexpr unsigned kHexCharsPerLine = 50;

// Position of the first hex digit of the frame byte at `offset`. Positions
// that do not fit 16 bits (frames beyond about 20 000 bytes) saturate at
// 65535, which the viewer reads as the end of the text, rather than wrapping
// round to an unrelated place.
HexCharPos hexCharPos(FrameOffset offset) noexcept;

constexpr HexSpan makeHexSpan(HexCharPos start, HexCharPos end) noexcept { return {start, end}; }

// The span of the bytes [first, end): their digits and the separators between
// them, not the separator after the last byte.
HexSpan byteRangeSpan(FrameOffset first, FrameOffset end) noexcept;

// From the first digit of the byte at `first` to the end of the text.
HexSpan spanToEnd(FrameOffset first) noexcept;

// One hex digit (a 4-bit field): the first or the second digit of a byte.
HexSpan digitSpan(FrameOffset byte, bool secondDigit = false) noexcept;

}  // namespace qv
