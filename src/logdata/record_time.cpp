#include "logdata/record_time.h"

#include <atomic>
#include <memory>

#include "logdata/field_text_pool.h"
#include "logdata/number_text.h"
#include "logdata/time_text.h"
#include "logdata/time_value.h"

namespace qv {
namespace {

// Every value past the last second that converts reads "Time Error"; they
// are all kept as this one, which leaves the top bit free for hand-put texts.
constexpr std::uint64_t kTimeErrorValue =
    kUnixEpochTimeValue + static_cast<std::uint64_t>(RecordTime::kTimeErrorSeconds) * kTimeUnitsPerSecond;

std::atomic<std::uint32_t> zoneGeneration{0};

// The thread's converter, made afresh when the time zone changed.
TimeTextConverter& threadConverter() {
  thread_local std::unique_ptr<TimeTextConverter> converter;
  thread_local std::uint32_t generation = 0;
  const std::uint32_t current = zoneGeneration.load(std::memory_order_acquire);
  if (!converter || generation != current) {
    converter = std::make_unique<TimeTextConverter>();
    generation = current;
  }
  return *converter;
}

std::string_view fieldAt(std::string_view text, std::size_t offset, std::size_t length) {
  return offset < text.size() ? text.substr(offset, length) : std::string_view();
}

}  // namespace

std::uint64_t timeValueOfDigits(std::string_view sixteenDigits) noexcept {
  const std::uint64_t high = hexValue(fieldAt(sixteenDigits, 0, 8));
  const std::uint64_t low = hexValue(fieldAt(sixteenDigits, 8, 8));
  return high << 32 | low;
}

Text timeTextOfValue(std::uint64_t value) { return threadConverter().textOfValue(value); }

void noteTimeZoneChanged() noexcept { zoneGeneration.fetch_add(1, std::memory_order_acq_rel); }

RecordTime::RecordTime(std::string_view text) {
  if (!text.empty()) bits_ = kTextBit | FieldTextPool::numberOf(text);
}

RecordTime RecordTime::ofValue(std::uint64_t value) noexcept {
  RecordTime time;
  if (value < kUnixEpochTimeValue) return time;
  time.bits_ = value < kTimeErrorValue ? value : kTimeErrorValue;
  return time;
}

RecordTime RecordTime::ofValueWithMilliseconds(std::uint64_t value) noexcept {
  RecordTime time = ofValue(value);
  // The empty text and "Time Error" have no milliseconds to show.
  if (time.bits_ != 0 && time.bits_ != kTimeErrorValue) time.bits_ |= kMillisecondsBit;
  return time;
}

Text RecordTime::text() const {
  if (!holdsValue()) return FieldTextPool::textOf(static_cast<std::uint32_t>(bits_));
  if ((bits_ & kMillisecondsBit) != 0) return threadConverter().textOfValueWithMilliseconds(value());
  return timeTextOfValue(bits_);
}

std::uint64_t RecordTime::textOrder() const {
  return threadConverter().textOrderOfValue(value(), (bits_ & kMillisecondsBit) != 0);
}

bool RecordTime::empty() const noexcept { return bits_ < kUnixEpochTimeValue; }

std::int64_t RecordTime::unixSeconds() const noexcept {
  if (bits_ < kUnixEpochTimeValue) return -1;
  return static_cast<std::int64_t>((value() - kUnixEpochTimeValue) / kTimeUnitsPerSecond);
}

bool operator==(const RecordTime& a, std::string_view b) {
  if (a.holdsValue() && !b.empty()) {
    // A value's text is empty, "Time Error" or starts with a year's digit.
    const char first = b.front();
    if (first != 'T' && (first < '0' || first > '9')) return false;
  }
  return a.text() == b;
}

}  // namespace qv
