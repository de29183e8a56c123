#include "views/timeline.h"

#include <algorithm>
#include <cstdio>

namespace qv {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kWeek = 7 * kDay;
constexpr std::int64_t kFourWeeks = 4 * kWeek;
// Weeks start on Monday: 1970/01/05 was one.
constexpr std::int64_t kFirstMonday = 4 * kDay;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// Buckets of whole weeks start on a Monday; the others on multiples of their width.
std::int64_t alignmentOrigin(std::int64_t width) { return width % kWeek == 0 ? kFirstMonday : 0; }

std::int64_t slotOf(WallClockSeconds moment, std::int64_t width) {
  return floorDivide(moment - alignmentOrigin(width), width);
}

WallClockSeconds slotStart(std::int64_t slot, std::int64_t width) { return slot * width + alignmentOrigin(width); }

// Days since 1970/01/01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = floorDivide(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

CivilDate civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = floorDivide(days, 146097);
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// The digits at text[at, at + count) as a number, or -1.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

struct Clock {
  CivilDate date;
  int hour;
  int minute;
  int second;
};

Clock clockOf(WallClockSeconds seconds) {
  const std::int64_t days = floorDivide(seconds, kDay);
  const auto ofDay = static_cast<int>(seconds - days * kDay);
  return {civilFromDays(days), ofDay / 3600, ofDay / 60 % 60, ofDay % 60};
}

// Neighbouring rows mostly share their date, so the date of the row before
// is remembered and only the time of day read again.
template <class Rows>
std::vector<TimelinePoint> pointsOf(const Rows& rows, std::size_t count) {
  std::vector<TimelinePoint> points(count);
  std::string lastDate;
  std::optional<WallClockSeconds> lastDayStart;
  for (std::size_t row = 0; row < count; ++row) {
    const auto& record = rows[row];
    const Text timeText = Text(record.time);  // traffic times are made from their values
    const std::string_view text = timeText.view();
    points[row].blocked = (record.flags & RecordFlag::kAllowed) == 0;
    if (lastDayStart && text.size() >= 19 && text.substr(0, 11) == lastDate) {
      const int hour = digitsAt(text, 11, 2);
      const int minute = digitsAt(text, 14, 2);
      const int second = digitsAt(text, 17, 2);
      if (text[13] == ':' && text[16] == ':' && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
          second >= 0 && second <= 59) {
        points[row].time = *lastDayStart + hour * 3600 + minute * 60 + second;
        continue;
      }
    }
    points[row].time = wallClockSecondsOf(text);
    if (points[row].time) {
      lastDate.assign(text.substr(0, 11));
      lastDayStart = floorDivide(*points[row].time, kDay) * kDay;
    }
  }
  return points;
}

}  // namespace

std::optional<WallClockSeconds> wallClockSecondsOf(std::string_view text) {
  if (text.size() < 19 || text[4] != '/' || text[7] != '/' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const int year = digitsAt(text, 0, 4);
  const int month = digitsAt(text, 5, 2);
  const int day = digitsAt(text, 8, 2);
  const int hour = digitsAt(text, 11, 2);
  const int minute = digitsAt(text, 14, 2);
  const int second = digitsAt(text, 17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return daysFromCivil(year, month, day) * kDay + hour * 3600 + minute * 60 + second;
}

std::vector<TimelinePoint> timelinePointsOf(TrafficRows rows) {
  return pointsOf(rows, rows.size());
}

std::vector<TimelinePoint> timelinePointsOf(const PacketShownList& rows) {
  if (rows.isNoDataPlaceholder()) return {};
  return pointsOf(rows, rows.size());
}

std::int64_t timelineBucketSeconds(WallClockSeconds first, WallClockSeconds last, std::size_t maxBuckets) {
  if (last < first) std::swap(first, last);
  const auto limit = static_cast<std::int64_t>(std::max<std::size_t>(maxBuckets, 1));
  const auto fits = [&](std::int64_t width) { return slotOf(last, width) - slotOf(first, width) + 1 <= limit; };
  for (const std::int64_t width : kTimelineWidths) {
    if (fits(width)) return width;
  }
  std::int64_t multiple = std::max<std::int64_t>(2, (last - first) / (kFourWeeks * limit));
  while (!fits(multiple * kFourWeeks)) ++multiple;
  return multiple * kFourWeeks;
}

Timeline buildTimeline(std::span<const TimelinePoint> points, std::size_t maxBuckets) {
  Timeline timeline;
  timeline.bucketOfRow.assign(points.size(), Timeline::kNoBucket);
  WallClockSeconds first = INT64_MAX;
  WallClockSeconds last = INT64_MIN;
  for (const TimelinePoint& point : points) {
    if (!point.time) continue;
    first = std::min(first, *point.time);
    last = std::max(last, *point.time);
  }
  if (first > last) return timeline;

  const std::int64_t width = timelineBucketSeconds(first, last, maxBuckets);
  const std::int64_t firstSlot = slotOf(first, width);
  timeline.bucketSeconds = width;
  timeline.firstStart = slotStart(firstSlot, width);
  timeline.buckets.resize(static_cast<std::size_t>(slotOf(last, width) - firstSlot + 1));
  for (std::size_t row = 0; row < points.size(); ++row) {
    const TimelinePoint& point = points[row];
    if (!point.time) continue;
    const auto bucket = static_cast<std::uint32_t>((*point.time - timeline.firstStart) / width);
    timeline.bucketOfRow[row] = bucket;
    ++(point.blocked ? timeline.buckets[bucket].blocked : timeline.buckets[bucket].allowed);
  }
  for (const TimelineBucket& bucket : timeline.buckets) timeline.peak = std::max(timeline.peak, bucket.total());
  return timeline;
}

std::vector<std::size_t> timelineRows(const Timeline& timeline, std::size_t first, std::size_t last) {
  if (last < first) std::swap(first, last);
  std::vector<std::size_t> rows;
  for (std::size_t row = 0; row < timeline.bucketOfRow.size(); ++row) {
    const std::uint32_t bucket = timeline.bucketOfRow[row];
    if (bucket != Timeline::kNoBucket && bucket >= first && bucket <= last) rows.push_back(row);
  }
  return rows;
}

std::string wallClockText(WallClockSeconds seconds) {
  const Clock clock = clockOf(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", clock.date.year, clock.date.month,
                clock.date.day, clock.hour, clock.minute, clock.second);
  return text;
}

std::string timelineIntervalText(const Timeline& timeline, std::size_t first, std::size_t last) {
  if (last < first) std::swap(first, last);
  return wallClockText(timeline.start(first)) + " - " + wallClockText(timeline.start(last + 1));
}

std::string timelineBucketToolTip(const Timeline& timeline, std::size_t bucket) {
  const TimelineBucket& counts = timeline.buckets.at(bucket);
  return timelineIntervalText(timeline, bucket, bucket) + "\nBlocked: " + std::to_string(counts.blocked) +
         "\nAllowed: " + std::to_string(counts.allowed);
}

std::vector<TimelineTick> timelineTicks(const Timeline& timeline, std::size_t maxLabels) {
  std::vector<TimelineTick> ticks;
  if (timeline.empty() || maxLabels == 0) return ticks;
  const std::int64_t width = timeline.bucketSeconds;
  const WallClockSeconds end = timeline.start(timeline.buckets.size());
  const auto labelsAt = [&](std::int64_t step) { return slotOf(end - 1, step) - slotOf(timeline.firstStart - 1, step); };
  std::int64_t step = 0;
  for (const std::int64_t candidate : kTimelineWidths) {
    if (candidate >= width && candidate % width == 0 && labelsAt(candidate) <= static_cast<std::int64_t>(maxLabels)) {
      step = candidate;
      break;
    }
  }
  for (std::int64_t multiple = 1; step == 0; ++multiple) {
    const std::int64_t candidate = std::max(width, kFourWeeks) * multiple;
    if (labelsAt(candidate) <= static_cast<std::int64_t>(maxLabels)) step = candidate;
  }

  int lastYear = -1;
  for (std::int64_t slot = slotOf(timeline.firstStart - 1, step) + 1;; ++slot) {
    const WallClockSeconds at = slotStart(slot, step);
    if (at >= end) break;
    const Clock clock = clockOf(at);
    const bool midnight = clock.hour == 0 && clock.minute == 0;
    char text[32];
    if (clock.date.year != lastYear) {
      if (step >= kDay) {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", clock.date.year, clock.date.month, clock.date.day);
      } else {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", clock.date.year, clock.date.month,
                      clock.date.day, clock.hour, clock.minute);
      }
    } else if (step >= kDay || midnight) {
      std::snprintf(text, sizeof text, "%02d/%02d", clock.date.month, clock.date.day);
    } else {
      std::snprintf(text, sizeof text, "%02d:%02d", clock.hour, clock.minute);
    }
    lastYear = clock.date.year;
    ticks.push_back({static_cast<std::size_t>((at - timeline.firstStart) / width), text});
  }
  return ticks;
}

}  // namespace qv
