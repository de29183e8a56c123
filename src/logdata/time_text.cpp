#include "logdata/time_text.h"

#include <cstdio>
#include <cstring>

#include "logdata/number_text.h"

namespace qv {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kLastConvertibleSecond = 0x7FFFFFFF;

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = floorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

platform::CivilTime civilFromSeconds(std::int64_t localSeconds) {
  const std::int64_t days = floorDiv(localSeconds, kSecondsPerDay);
  const std::int64_t secondOfDay = localSeconds - days * kSecondsPerDay;
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = floorDiv(shifted, 146097);
  const std::int64_t dayOfEra = shifted - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
  return {static_cast<int>(year),
          month,
          day,
          static_cast<int>(secondOfDay / kSecondsPerHour),
          static_cast<int>(secondOfDay / 60 % 60),
          static_cast<int>(secondOfDay % 60)};
}

std::int64_t localSecondsOf(const platform::CivilTime& civil) {
  return daysFromCivil(civil.year, civil.month, civil.day) * kSecondsPerDay + civil.hour * kSecondsPerHour +
         civil.minute * 60 + civil.second;
}

void putTwoDigits(char* out, int value) {
  out[0] = static_cast<char>('0' + value / 10 % 10);
  out[1] = static_cast<char>('0' + value % 10);
}

// "%.4d/%.2d/%.2d %.2d:%.2d:%.2d" and, when milliseconds >= 0, ".%03lu".
Text formatTimeText(const platform::CivilTime& civil, int milliseconds) {
  char out[64];
  std::size_t size = 0;
  const bool plainFields = civil.year >= 0 && civil.year <= 9999 && civil.month >= 0 && civil.month <= 99 &&
                           civil.day >= 0 && civil.day <= 99 && civil.hour >= 0 && civil.hour <= 99 &&
                           civil.minute >= 0 && civil.minute <= 99 && civil.second >= 0 && civil.second <= 99;
  if (plainFields) {
    putTwoDigits(out, civil.year / 100);
    putTwoDigits(out + 2, civil.year % 100);
    out[4] = '/';
    putTwoDigits(out + 5, civil.month);
    out[7] = '/';
    putTwoDigits(out + 8, civil.day);
    out[10] = ' ';
    putTwoDigits(out + 11, civil.hour);
    out[13] = ':';
    putTwoDigits(out + 14, civil.minute);
    out[16] = ':';
    putTwoDigits(out + 17, civil.second);
    size = 19;
  } else {
    const int written = std::snprintf(out, sizeof out, "%.4d/%.2d/%.2d %.2d:%.2d:%.2d", civil.year, civil.month,
                                      civil.day, civil.hour, civil.minute, civil.second);
    size = written > 0 ? static_cast<std::size_t>(written) : 0;
  }
  if (milliseconds >= 0 && size + 4 < sizeof out) {
    out[size] = '.';
    out[size + 1] = static_cast<char>('0' + milliseconds / 100 % 10);
    putTwoDigits(out + size + 2, milliseconds % 100);
    size += 4;
  }
  return Text(std::string_view(out, size));
}

std::string_view fieldAt(std::string_view text, std::size_t offset, std::size_t length) {
  return offset < text.size() ? text.substr(offset, length) : std::string_view();
}

// Decimal digits up to the first other character; none give 0.
int leadingDecimal(std::string_view digits) {
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool allDecimal(std::string_view digits) {
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  return !digits.empty();
}

}  // namespace

std::optional<platform::CivilTime> TimeTextConverter::civilTimeOf(std::int64_t unixSeconds) {
  const std::int64_t hour = floorDiv(unixSeconds, kSecondsPerHour);
  HourOffset& slot = hours_[static_cast<std::size_t>(hour) % hours_.size()];
  if (slot.hour != hour) {
    const std::int64_t hourStart = hour * kSecondsPerHour;
    const auto first = platform::localTimeOf(hourStart);
    const auto last = platform::localTimeOf(hourStart + kSecondsPerHour - 1);
    if (!first || !last) return platform::localTimeOf(unixSeconds);
    const std::int64_t firstOffset = localSecondsOf(*first) - hourStart;
    const std::int64_t lastOffset = localSecondsOf(*last) - (hourStart + kSecondsPerHour - 1);
    // The offset changes within this hour: ask the system for every moment of it.
    if (firstOffset != lastOffset) return platform::localTimeOf(unixSeconds);
    slot.hour = hour;
    slot.offsetSeconds = firstOffset;
  }
  const std::int64_t localSeconds = unixSeconds + slot.offsetSeconds;
  // Neighbouring events mostly fall on the same local day.
  if (localSeconds < dayStart_ || localSeconds >= dayStart_ + kSecondsPerDay) {
    day_ = civilFromSeconds(localSeconds);
    dayStart_ = localSeconds - (day_.hour * kSecondsPerHour + day_.minute * 60 + day_.second);
  }
  const auto secondOfDay = static_cast<int>(localSeconds - dayStart_);
  platform::CivilTime civil = day_;
  civil.hour = secondOfDay / 3600;
  civil.minute = secondOfDay / 60 % 60;
  civil.second = secondOfDay % 60;
  return civil;
}

Text TimeTextConverter::convert(std::string_view sixteenDigits, bool withMilliseconds) {
  const std::uint64_t high = hexValue(fieldAt(sixteenDigits, 0, 8));
  const std::uint64_t low = hexValue(fieldAt(sixteenDigits, 8, 8));
  return convertValue(high << 32 | low, withMilliseconds);
}

Text TimeTextConverter::convertValue(std::uint64_t value, bool withMilliseconds) {
  if (value < kUnixEpochTimeValue) return Text();
  const std::uint64_t seconds = (value - kUnixEpochTimeValue) / kTimeUnitsPerSecond;
  if (seconds > static_cast<std::uint64_t>(kLastConvertibleSecond)) return Text("Time Error");
  const auto civil = civilTimeOf(static_cast<std::int64_t>(seconds));
  if (!civil) return Text("Time Error");
  const int milliseconds = withMilliseconds ? static_cast<int>(value % kTimeUnitsPerSecond / 10000) : -1;
  return formatTimeText(*civil, milliseconds);
}

Text TimeTextConverter::timeText(std::string_view sixteenDigits, bool withMilliseconds) {
  if (sixteenDigits.size() < 16) return convert(sixteenDigits, withMilliseconds);
  std::uint64_t high;
  std::uint64_t low;
  std::memcpy(&high, sixteenDigits.data(), sizeof high);
  std::memcpy(&low, sixteenDigits.data() + 8, sizeof low);
  const std::uint64_t hash = (high * 0x9E3779B97F4A7C15ULL) ^ (low * 0xC2B2AE3D27D4EB4FULL);
  RecentText& entry = recent_[static_cast<std::size_t>(hash >> 58)];
  if (!entry.used || entry.high != high || entry.low != low || entry.withMilliseconds != withMilliseconds) {
    entry.text = convert(sixteenDigits.substr(0, 16), withMilliseconds);
    entry.high = high;
    entry.low = low;
    entry.withMilliseconds = withMilliseconds;
    entry.used = true;
  }
  return entry.text;
}

Text TimeTextConverter::textOfValue(std::uint64_t value) {
  // Without milliseconds the text depends only on the second.
  const std::uint64_t second = value < kUnixEpochTimeValue ? ~std::uint64_t{0} : value / kTimeUnitsPerSecond;
  RecentValue& entry = recentValues_[static_cast<std::size_t>((second * 0x9E3779B97F4A7C15ULL) >> 57)];
  if (!entry.used || entry.second != second) {
    entry.text = convertValue(value, false);
    entry.second = second;
    entry.used = true;
  }
  return entry.text;
}

Text TimeTextConverter::textOfValueWithMilliseconds(std::uint64_t value) {
  const Text second = textOfValue(value);
  // Only a plain "YYYY/MM/DD hh:mm:ss" is extended here; "", "Time Error" and
  // any odd form are made as a whole.
  constexpr std::size_t kSecondTextSize = 19;
  if (second.size() != kSecondTextSize) return convertValue(value, true);
  char out[kSecondTextSize + 4];
  std::memcpy(out, second.data(), kSecondTextSize);
  const auto milliseconds = static_cast<int>(value % kTimeUnitsPerSecond / 10000);
  out[kSecondTextSize] = '.';
  out[kSecondTextSize + 1] = static_cast<char>('0' + milliseconds / 100);
  putTwoDigits(out + kSecondTextSize + 2, milliseconds % 100);
  return Text(std::string_view(out, sizeof out));
}

std::uint64_t TimeTextConverter::textOrderOfValue(std::uint64_t value, bool withMilliseconds) {
  constexpr std::uint64_t kTimeErrorOrder = ~std::uint64_t{0};
  if (value < kUnixEpochTimeValue) return 0;
  const std::uint64_t seconds = (value - kUnixEpochTimeValue) / kTimeUnitsPerSecond;
  if (seconds > static_cast<std::uint64_t>(kLastConvertibleSecond)) return kTimeErrorOrder;
  const auto unixSeconds = static_cast<std::int64_t>(seconds);
  // The hour's offset when it is known already, else through the civil time.
  std::int64_t localSeconds = 0;
  const HourOffset& slot = hours_[static_cast<std::size_t>(floorDiv(unixSeconds, kSecondsPerHour)) % hours_.size()];
  if (slot.hour == floorDiv(unixSeconds, kSecondsPerHour)) {
    localSeconds = unixSeconds + slot.offsetSeconds;
  } else {
    const auto civil = civilTimeOf(unixSeconds);
    if (!civil) return kTimeErrorOrder;
    localSeconds = localSecondsOf(*civil);
  }
  // Texts of years 1969 to 2038 have fixed-width fields, so they order as
  // the local time they name; the shift keeps 1969 above the empty text.
  constexpr std::int64_t kShift = std::int64_t{1} << 40;
  const auto local = static_cast<std::uint64_t>(localSeconds + kShift);
  const std::uint64_t milliseconds = withMilliseconds ? value % kTimeUnitsPerSecond / 10000 : 0;
  return local * 1000 + milliseconds;
}

Text TimeTextConverter::localTimeText(std::int64_t unixSeconds) {
  const auto civil = civilTimeOf(unixSeconds);
  return civil ? formatTimeText(*civil, -1) : Text();
}

Text timeText(std::string_view sixteenDigits, bool withMilliseconds) {
  return TimeTextConverter().timeText(sixteenDigits, withMilliseconds);
}

Text localTimeText(std::int64_t unixSeconds) {
  const auto civil = platform::localTimeOf(unixSeconds);
  return civil ? formatTimeText(*civil, -1) : Text();
}

std::string timeDigits(std::string_view timeText) {
  const platform::CivilTime civil{leadingDecimal(fieldAt(timeText, 0, 4)),  leadingDecimal(fieldAt(timeText, 5, 2)),
                                  leadingDecimal(fieldAt(timeText, 8, 2)),  leadingDecimal(fieldAt(timeText, 11, 2)),
                                  leadingDecimal(fieldAt(timeText, 14, 2)), leadingDecimal(fieldAt(timeText, 17, 2))};
  const std::int64_t seconds = platform::unixSecondsOfLocalTime(civil).value_or(-1);
  const std::uint64_t value = static_cast<std::uint64_t>(seconds * static_cast<std::int64_t>(kTimeUnitsPerSecond) +
                                                         static_cast<std::int64_t>(kUnixEpochTimeValue));
  char out[17];
  std::snprintf(out, sizeof out, "%08lX%08lX", static_cast<unsigned long>(value >> 32),
                static_cast<unsigned long>(value & 0xFFFFFFFFu));
  return std::string(out, 16);
}

std::optional<std::int64_t> unixSecondsOfLocalTimeText(std::string_view text) {
  if (text.size() != 19 && !(text.size() == 23 && text[19] == '.' && allDecimal(text.substr(20)))) {
    return std::nullopt;
  }
  if (text[4] != '/' || text[7] != '/' || text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
  const std::string_view parts[] = {text.substr(0, 4),  text.substr(5, 2),  text.substr(8, 2),
                                    text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)};
  for (const std::string_view part : parts) {
    if (!allDecimal(part)) return std::nullopt;
  }
  const platform::CivilTime civil{leadingDecimal(parts[0]), leadingDecimal(parts[1]), leadingDecimal(parts[2]),
                                  leadingDecimal(parts[3]), leadingDecimal(parts[4]), leadingDecimal(parts[5])};
  if (civil.month < 1 || civil.month > 12 || civil.day < 1 || civil.day > 31 || civil.hour > 23 || civil.minute > 59 ||
      civil.second > 59) {
    return std::nullopt;
  }
  return platform::unixSecondsOfLocalTime(civil);
}

}  // namespace qv
