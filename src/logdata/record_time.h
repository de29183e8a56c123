#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "logdata/text.h"

namespace qv {

// A time field of a record: the stored 64-bit time value, whose text
// ("YYYY/MM/DD hh:mm:ss" in local time, "" before 1970, "Time Error" past
// 2038; packet times add ".mmm") is made when a cell, a copy, an export or a
// sort asks for it. A field
// can also hold a text put there by hand (a filter entry keeps its port
// marker here, the cleared view its "No Data"). Eight bytes either way.
class RecordTime {
 public:
  RecordTime() noexcept = default;  // the empty text
  // NOLINTBEGIN: implicit on purpose, fields are assigned texts as Text fields were
  RecordTime(std::string_view text);
  RecordTime(const char* text) : RecordTime(std::string_view(text)) {}
  RecordTime(const std::string& text) : RecordTime(std::string_view(text)) {}
  RecordTime(const Text& text) : RecordTime(text.view()) {}
  // NOLINTEND

  // The field of a stored value (read from a record's 16 hex digits).
  static RecordTime ofValue(std::uint64_t value) noexcept;
  // The same for a packet, whose text shows the milliseconds too.
  static RecordTime ofValueWithMilliseconds(std::uint64_t value) noexcept;

  bool holdsValue() const noexcept { return (bits_ & kTextBit) == 0; }
  // The stored value, brought to one value per text outside the convertible
  // range; meaningful only when holdsValue().
  std::uint64_t value() const noexcept { return bits_ & ~kMillisecondsBit; }

  // The text, made in the current time zone.
  Text text() const;
  // For a field that holds a value: a number that orders fields as their
  // texts order byte-wise, equal exactly when the texts are (sorting a
  // million rows by time then makes no text).
  std::uint64_t textOrder() const;
  explicit operator Text() const { return text(); }
  std::string str() const { return text().str(); }
  bool empty() const noexcept;

  // Seconds since 1970 of a convertible value; values before 1970 give -1 and
  // values past the last convertible second give kTimeErrorSeconds, so the
  // number identifies the field's text as long as the time zone stays.
  static constexpr std::int64_t kTimeErrorSeconds = std::int64_t{0x80000000};
  std::int64_t unixSeconds() const noexcept;

  friend bool operator==(const RecordTime& a, const RecordTime& b) {
    return a.bits_ == b.bits_ || a.text() == b.text();
  }
  friend bool operator==(const RecordTime& a, std::string_view b);
  friend bool operator==(const RecordTime& a, const char* b) { return a == std::string_view(b); }
  friend bool operator==(const RecordTime& a, const Text& b) { return a == b.view(); }

 private:
  static constexpr std::uint64_t kTextBit = std::uint64_t{1} << 63;
  // Set beside a value whose text shows milliseconds (values stay below 2^58).
  static constexpr std::uint64_t kMillisecondsBit = std::uint64_t{1} << 62;
  std::uint64_t bits_ = 0;  // value 0 is before 1970: the empty text
};

static_assert(sizeof(RecordTime) == 8);

// The time value of a record's 16 hex digits as the readers read it: each
// half's leading hex digits; a short field gives what it has.
std::uint64_t timeValueOfDigits(std::string_view sixteenDigits) noexcept;

// The text of a stored time value (without milliseconds), through a
// conversion cache of the calling thread.
Text timeTextOfValue(std::uint64_t value);

// Tells the conversion caches that the process's time zone changed (after
// setenv("TZ") and tzset()), so that texts made afterwards use the new zone.
void noteTimeZoneChanged() noexcept;

}  // namespace qv
