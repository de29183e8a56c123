#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// A byte position in a log file's data. Logs can exceed 4 GiB.
using ByteOffset = std::uint64_t;

enum class LogParseStatus {
  kOk,             // header accepted; the records (possibly none) follow
  kInvalidFormat,  // "Error : Invalid file format"
  kNoRecords,      // an empty log: the view is cleared without a message
};

inline constexpr std::string_view kTrafficLogTag = "00000002";
inline constexpr std::string_view kPacketLogTag = "00000003";

struct LogHeader {
  LogParseStatus status = LogParseStatus::kInvalidFormat;
  std::uint32_t recordCount = 0;   // as the header states it; a hint only
  std::int32_t newestIndex = -1;   // the newest position - 1, as a signed index
  ByteOffset firstLine = 0;        // just past the header's CR LF
};

// The 72-byte header line both logs start with: the format tag, the record
// count and the 1-based position of the newest record (0 when none is
// marked: a reader then shows the records in reverse file order).
std::string logHeaderLine(std::string_view formatTag, std::uint32_t recordCount, std::uint32_t newestPosition);

// Checks the 72-byte header line that both logs share. `bytes` is the file's
// content; the NUL byte that follows it in the read buffer is implied.
LogHeader readLogHeader(std::string_view bytes, std::string_view formatTag);

// How many records to reserve room for: the header's count, a hint only, but
// never more than `length` bytes of data could hold at `shortestRecord` each.
constexpr std::size_t recordReservation(const LogHeader& header, ByteOffset length, ByteOffset shortestRecord) {
  const ByteOffset fit = length / shortestRecord;
  return static_cast<std::size_t>(header.recordCount < fit ? header.recordCount : fit);
}

// Lines are read only while they start more than `margin` bytes before the
// end (the tail of a ring file is not trusted); without underflow on short
// files.
constexpr bool startsBeforeMargin(ByteOffset pos, ByteOffset length, ByteOffset margin) {
  return length > margin && pos < length - margin;
}

// Whether a fragment line at `pos` (already past it) lies far enough from the
// end of the data to mark the ring's newest record.
constexpr bool fragmentMarksNewest(ByteOffset pos, ByteOffset length, ByteOffset distance) {
  return length < distance || pos < length - distance;
}

// The ring rule applied at a fragment line after `recordsSoFar` records.
inline void applyFragmentRingRule(std::int32_t& newestIndex, std::uint64_t recordsSoFar, ByteOffset pos,
                                  ByteOffset length, ByteOffset distance) {
  if (recordsSoFar == 0) return;
  const std::uint64_t last = recordsSoFar - 1;
  // An index beyond what a signed 32-bit index can hold is never reached in
  // memory, but must not wrap to a small one either.
  const std::int32_t lastIndex = last > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<std::int32_t>(last);
  if (lastIndex != newestIndex && fragmentMarksNewest(pos, length, distance)) {
    newestIndex = lastIndex;
  } else if (newestIndex < 0) {
    newestIndex = lastIndex;
  }
}

}  // namespace qv
