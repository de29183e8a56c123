#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logdata/text.h"
#include "logdata/time_value.h"
#include "platform/local_time.h"

namespace qv {

// The local-time text "YYYY/MM/DD hh:mm:ss" (with ".mmm" when asked) of a
// stored 16-digit time value; "" for a time before 1970 and "Time Error" for
// one whose seconds since 1970 do not fit a signed 32-bit number.
Text timeText(std::string_view sixteenDigits, bool withMilliseconds);

// The 16 stored digits of a time text (milliseconds ignored), the system
// deciding whether daylight saving applies. A text that names no convertible
// time (the empty text, "Time Error", a date before 1970) gives the digits of
// one second before 1970, which convert back to the empty text.
std::string timeDigits(std::string_view timeText);

// The local-time text "YYYY/MM/DD hh:mm:ss" of a moment; "" when the system
// cannot convert it.
Text localTimeText(std::int64_t unixSeconds);

// The moment that a text of the form "YYYY/MM/DD hh:mm:ss" (optionally
// followed by ".mmm") names in local time. Empty when the text has another
// form, a field is out of range, or the moment lies before 1970.
std::optional<std::int64_t> unixSecondsOfLocalTimeText(std::string_view text);

// Converts the many times of one log read. Asking the system for local time
// is the costly part, so it remembers the offset from UTC of every hour it has
// met (only when both ends of the hour agree, so a daylight-saving change is
// never smoothed over) and, in a small direct-mapped table, the texts of digit
// strings it has converted, which repeat within a record and between neighbours.
class TimeTextConverter {
 public:
  Text timeText(std::string_view sixteenDigits, bool withMilliseconds);
  Text localTimeText(std::int64_t unixSeconds);
  // The text (without milliseconds) of a time value as timeValueOfDigits reads it.
  Text textOfValue(std::uint64_t value);
  // The same with milliseconds, made from the second's text.
  Text textOfValueWithMilliseconds(std::uint64_t value);
  // A number that orders time values as their texts order byte-wise (with or
  // without milliseconds), equal exactly when the texts are: the empty text
  // first, then local time, then "Time Error".
  std::uint64_t textOrderOfValue(std::uint64_t value, bool withMilliseconds);

 private:
  struct HourOffset {
    std::int64_t hour = -1;
    std::int64_t offsetSeconds = 0;
  };
  struct RecentText {
    std::uint64_t high = 0;  // the 16 digits as two words
    std::uint64_t low = 0;
    bool withMilliseconds = false;
    bool used = false;
    Text text;
  };

  struct RecentValue {
    std::uint64_t second = 0;
    bool used = false;
    Text text;
  };

  std::optional<platform::CivilTime> civilTimeOf(std::int64_t unixSeconds);
  Text convert(std::string_view sixteenDigits, bool withMilliseconds);
  Text convertValue(std::uint64_t value, bool withMilliseconds);

  std::array<HourOffset, 128> hours_{};
  // The local day last converted: its first second and its date.
  std::int64_t dayStart_ = INT64_MIN;  // none yet
  platform::CivilTime day_{};
  std::array<RecentText, 64> recent_{};
  std::array<RecentValue, 128> recentValues_{};
};

}  // namespace qv
