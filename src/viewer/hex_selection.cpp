#include "viewer/hex_selection.h"

#include <cstdint>
#include <cstdio>

namespace qv {

namespace {

constexpr long kCharsPerLine = kHexCharsPerLine;
constexpr long kBytesPerLine = kHexBytesPerLine;
// Column of the second of the two blanks after the eighth byte of a line.
constexpr long kMiddleGapColumn = 24;

// The byte whose digits start at or contain the character at `position`.
long firstByteAt(long position) noexcept {
  const long column = position % kCharsPerLine;
  const long line = position / kCharsPerLine;
  long inLine;
  if (column < kMiddleGapColumn) inLine = column / 3;
  else if (column == kMiddleGapColumn) inLine = 8;
  else inLine = (column - 1) / 3;
  return kBytesPerLine * line + inLine;
}

// The last byte whose digits lie before the character at `end`. C++ division
// truncates toward zero, which the column 0 case relies on.
long lastByteBefore(long end) noexcept {
  const long column = end % kCharsPerLine;
  const long line = end / kCharsPerLine;
  long inLine;
  if (column < kMiddleGapColumn) inLine = (column - 1) / 3;
  else if (column == kMiddleGapColumn) inLine = 7;
  else inLine = (column - 2) / 3;
  long last = kBytesPerLine * line + inLine;
  // At the start of a line the selection ended with the previous line.
  if (column == 0 && end > kCharsPerLine - 1) --last;
  return last;
}

// Positions at or above 32768 are negative as the 16-bit values the layout
// stores; they stand for "before the text" (a start) or "to the end" (an end).
constexpr bool isNegative16(HexCharPos position) noexcept { return position >= 0x8000; }

}  // namespace

SelectedBytes selectedBytesOf(HexSelection selection) noexcept {
  SelectedBytes bytes;
  bytes.first = firstByteAt(selection.start);
  bytes.last = lastByteBefore(selection.end);
  const long width = static_cast<long>(selection.end) - static_cast<long>(selection.start);
  bytes.isRange = width > 2 || width < -2;
  return bytes;
}

std::string offsetTextOf(HexSelection selection) {
  const SelectedBytes bytes = selectedBytesOf(selection);
  char text[48];
  if (bytes.isRange) std::snprintf(text, sizeof text, "%ld - %ld", bytes.first, bytes.last);
  else std::snprintf(text, sizeof text, "%ld", bytes.first);
  return text;
}

HexSelection hexSelectionOfBytes(FrameOffset first, std::size_t count) noexcept {
  const std::uint64_t after = static_cast<std::uint64_t>(first) + count;
  const FrameOffset end = after > UINT32_MAX ? UINT32_MAX : static_cast<FrameOffset>(after);
  HexSelection selection{hexCharPos(first), hexCharPos(end)};
  // Stop before the separator after the last byte; a caret marks one digit.
  if (selection.end != selection.start) --selection.end;
  if (selection.end == selection.start && selection.end < HexSpan::kToEnd) ++selection.end;
  return selection;
}

HexSelection hexSelectionOfPayload(FrameOffset payloadBase, std::size_t start, std::size_t end) noexcept {
  const std::uint64_t first = static_cast<std::uint64_t>(payloadBase) + start;
  if (first > UINT32_MAX) return {HexSpan::kToEnd, HexSpan::kToEnd};
  return hexSelectionOfBytes(static_cast<FrameOffset>(first), end > start ? end - start : 0);
}

ByteRange byteRangeOfSpan(HexSpan span, std::size_t frameLength) noexcept {
  ByteRange range;
  if (!isNegative16(span.start)) {
    const long first = firstByteAt(span.start);
    range.first = first > 0 ? static_cast<std::size_t>(first) : 0;
  }
  range.end = frameLength;
  if (!isNegative16(span.end)) {
    const long end = lastByteBefore(span.end) + 1;
    if (end >= 0 && static_cast<std::size_t>(end) < frameLength) range.end = static_cast<std::size_t>(end);
  }
  if (range.first > frameLength) range.first = frameLength;
  if (range.end < range.first) range.end = range.first;
  return range;
}

}  // namespace qv
