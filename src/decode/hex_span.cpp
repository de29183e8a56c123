#include "decode/hex_span.h"

namespace qv {

namespace {

constexpr std::uint32_t kMaxPos = HexSpan::kToEnd;

std::uint32_t widePos(FrameOffset offset) noexcept {
  const std::uint64_t column = offset % kHexBytesPerLine;
  const std::uint64_t position = static_cast<std::uint64_t>(offset / kHexBytesPerLine) * kHexCharsPerLine +
                                 column * 3 + (column >= 8 ? 1 : 0);
  return position > kMaxPos ? kMaxPos : static_cast<std::uint32_t>(position);
}

}  // namespace

HexCharPos hexCharPos(FrameOffset offset) noexcept { return static_cast<HexCharPos>(widePos(offset)); }

HexSpan byteRangeSpan(FrameOffset first, FrameOffset end) noexcept {
  const std::uint32_t start = widePos(first);
  const std::uint32_t after = widePos(end);
  // A saturated end position stands for "to the end of the text". An empty
  // range keeps the rule's own result, one before its start, as stored views expect.
  const std::uint32_t last = after >= kMaxPos ? kMaxPos : (after > 0 ? after - 1 : 0);
  return {static_cast<HexCharPos>(start), static_cast<HexCharPos>(last)};
}

HexSpan spanToEnd(FrameOffset first) noexcept { return {hexCharPos(first), HexSpan::kToEnd}; }

HexSpan digitSpan(FrameOffset byte, bool secondDigit) noexcept {
  const std::uint32_t position = widePos(byte) + (secondDigit ? 1 : 0);
  if (position >= kMaxPos) return {HexSpan::kToEnd, HexSpan::kToEnd};
  return {static_cast<HexCharPos>(position), static_cast<HexCharPos>(position + 1)};
}

}  // namespace qv
