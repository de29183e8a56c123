#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "decode/hex_span.h"

namespace qv {

// A selection of hex-pane characters [start, end), in the hex pane's own
// positions (50 characters to a line, its CR LF counted as two).
struct HexSelection {
  HexCharPos start = 0;
  HexCharPos end = 0;
  friend constexpr bool operator==(HexSelection, HexSelection) noexcept = default;
};

// The frame bytes a hex selection touches. `last` can lie before `first`
// (an empty selection between two bytes), and both are whatever the layout
// rules give, unclamped: the offset text shows them as they are.
struct SelectedBytes {
  long first = 0;
  long last = 0;
  // The selection spans more than the two digits of one byte.
  bool isRange = false;
};

// The byte that holds the character at `start`, and the last byte before the
// character at `end`, for the selection [start, end).
SelectedBytes selectedBytesOf(HexSelection selection) noexcept;

// What the viewer's offset line shows for a hex selection: "20", or
// "16 - 19" for a selection of more than one byte.
std::string offsetTextOf(HexSelection selection);

// The hex characters that show the frame bytes [first, first + count) once a
// payload selection or a search hit picks them: from the first digit of the
// first byte to the last digit of the last one. An empty range (a caret)
// selects the one digit it stands before.
HexSelection hexSelectionOfBytes(FrameOffset first, std::size_t count) noexcept;

// The hex characters for the payload pane's selection [start, end) (payload
// positions are byte positions from payloadBase).
HexSelection hexSelectionOfPayload(FrameOffset payloadBase, std::size_t start, std::size_t end) noexcept;

// The frame bytes [first, end) a decode-tree node stands for, within a frame
// of `frameLength` bytes: its span turned back into bytes, an open end (or
// one past the frame) reaching to the end of the frame. Empty when the span
// lies wholly beyond the frame.
struct ByteRange {
  std::size_t first = 0;
  std::size_t end = 0;
  std::size_t size() const noexcept { return end > first ? end - first : 0; }
  friend constexpr bool operator==(ByteRange, ByteRange) noexcept = default;
};
ByteRange byteRangeOfSpan(HexSpan span, std::size_t frameLength) noexcept;

}  // namespace qv
