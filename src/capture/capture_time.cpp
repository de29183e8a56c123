#include "capture/capture_time.h"

#include <limits>

#include "logdata/number_text.h"

namespace qv {

namespace {

constexpr std::uint64_t kNanosecondsPerUnit = 100;
constexpr std::uint64_t kUnitsPerMicrosecond = 10;
constexpr std::uint64_t kLastCaptureSecond = 0xFFFFFFFFULL;

}  // namespace

std::uint64_t timeValueFromCaptureTime(CaptureTime time) noexcept {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t fraction = (time.nanoseconds % 1000000000U) / kNanosecondsPerUnit;
  const std::uint64_t headroom = kMax - kUnixEpochTimeValue - fraction;
  if (time.seconds > headroom / kTimeUnitsPerSecond) return kMax;
  return kUnixEpochTimeValue + time.seconds * kTimeUnitsPerSecond + fraction;
}

std::optional<CaptureTime> captureTimeFromTimeValue(std::uint64_t value) noexcept {
  if (value < kUnixEpochTimeValue) return std::nullopt;
  const std::uint64_t sinceEpoch = value - kUnixEpochTimeValue;
  const std::uint64_t seconds = sinceEpoch / kTimeUnitsPerSecond;
  if (seconds > kLastCaptureSecond) return std::nullopt;
  const std::uint64_t microseconds = (sinceEpoch % kTimeUnitsPerSecond) / kUnitsPerMicrosecond;
  return CaptureTime{seconds, static_cast<std::uint32_t>(microseconds * 1000U)};
}

std::optional<std::uint64_t> parseTimeValueDigits(std::string_view digits) noexcept {
  if (digits.size() != 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = hexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  return value;
}

void appendTimeValueDigits(std::string& out, std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 60; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

}  // namespace qv
