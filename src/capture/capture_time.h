#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logdata/time_value.h"

namespace qv {

// A capture time stamp: seconds since 1970 and the fraction in nanoseconds
// (the logs count 100-nanosecond units since 1601).
struct CaptureTime {
  std::uint64_t seconds = 0;
  std::uint32_t nanoseconds = 0;

  friend bool operator==(const CaptureTime&, const CaptureTime&) = default;
};

// Capture time to the log's time value, keeping every 100 ns unit (finer
// digits are dropped). A time too late for 64 bits gives the largest value.
std::uint64_t timeValueFromCaptureTime(CaptureTime time) noexcept;

// A classic capture file holds seconds as an unsigned 32-bit number and
// microseconds; a time value outside 1970-01-01 .. 2106-02-07 06:28:15.999999
// UTC has no such time stamp. The fraction is cut to whole microseconds.
std::optional<CaptureTime> captureTimeFromTimeValue(std::uint64_t value) noexcept;

// The value of exactly 16 hexadecimal digits (either case), as the logs store
// times; anything else is not a time.
std::optional<std::uint64_t> parseTimeValueDigits(std::string_view digits) noexcept;

// Appends the 16 upper-case digits of a time value.
void appendTimeValueDigits(std::string& out, std::uint64_t value);

}  // namespace qv
