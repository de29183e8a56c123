#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"

namespace qv {

// The timeline's axis is the log's own wall clock: the local times the rows
// show, counted in seconds from 1970/01/01 00:00:00 as if every day had 86400
// seconds. Buckets then start on round local times (full hours, local
// midnight) whatever the daylight-saving rules, and no time zone lookup is
// needed for a million rows. At a spring-forward the skipped hour is an empty
// stretch; at a fall-back the repeated hour's events share its buckets (their
// texts cannot tell the two hours apart).
using WallClockSeconds = std::int64_t;

// The wall-clock seconds of a "YYYY/MM/DD hh:mm:ss" text (anything after the
// seconds, such as ".mmm", is ignored); empty for another form or a field out
// of range ("No Data", "Time Error", "").
std::optional<WallClockSeconds> wallClockSecondsOf(std::string_view timeText);

// One shown row as the timeline sees it.
struct TimelinePoint {
  std::optional<WallClockSeconds> time;  // none: the row is not drawn
  bool blocked = false;
};

std::vector<TimelinePoint> timelinePointsOf(TrafficRows rows);
std::vector<TimelinePoint> timelinePointsOf(const PacketShownList& rows);

struct TimelineBucket {
  std::uint32_t blocked = 0;
  std::uint32_t allowed = 0;

  std::uint32_t total() const noexcept { return blocked + allowed; }
};

// Shown rows counted over time in consecutive buckets of one width, empty
// buckets included, so that bucket i covers [start(i), start(i) + width).
struct Timeline {
  static constexpr std::uint32_t kNoBucket = UINT32_MAX;

  std::int64_t bucketSeconds = 60;
  WallClockSeconds firstStart = 0;
  std::vector<TimelineBucket> buckets;
  // For each input row, in input order, its bucket; kNoBucket for a row without a time.
  std::vector<std::uint32_t> bucketOfRow;
  std::uint32_t peak = 0;  // the largest bucket total

  WallClockSeconds start(std::size_t bucket) const noexcept {
    return firstStart + static_cast<std::int64_t>(bucket) * bucketSeconds;
  }
  bool empty() const noexcept { return buckets.empty(); }
};

// The bucket widths, from a minute to four weeks; longer spans take
// multiples of four weeks.
inline constexpr std::int64_t kTimelineWidths[] = {
    60,    120,   300,   600,    900,    1800,   3600,    7200,
    10800, 21600, 43200, 86400,  172800, 604800, 1209600, 2419200,
};

// The narrowest width at which the span from `first` to `last` needs at most
// `maxBuckets` buckets aligned to multiples of the width.
std::int64_t timelineBucketSeconds(WallClockSeconds first, WallClockSeconds last, std::size_t maxBuckets);

// Counts the points into at most `maxBuckets` buckets (at least one). Rows
// without a time are left out; with none left the timeline is empty.
Timeline buildTimeline(std::span<const TimelinePoint> points, std::size_t maxBuckets);

// The input rows, ascending, that fall into buckets first..last (inclusive,
// either order).
std::vector<std::size_t> timelineRows(const Timeline& timeline, std::size_t first, std::size_t last);

// "YYYY/MM/DD hh:mm:ss" of a wall-clock moment.
std::string wallClockText(WallClockSeconds seconds);

// The interval of buckets first..last as "from - to", the end exclusive.
std::string timelineIntervalText(const Timeline& timeline, std::size_t first, std::size_t last);

// The hover text of a bucket: its interval and its counts.
std::string timelineBucketToolTip(const Timeline& timeline, std::size_t bucket);

// An axis label: a bucket boundary and its text.
struct TimelineTick {
  std::size_t bucket;  // the label sits at this bucket's start
  std::string text;
};

// Labels at round local times, at most `maxLabels` of them. Within a day
// they read "hh:mm"; at local midnight, or with a step of a day or more,
// they read "MM/DD"; the first label of the axis carries the year
// ("YYYY/MM/DD" or "YYYY/MM/DD hh:mm").
std::vector<TimelineTick> timelineTicks(const Timeline& timeline, std::size_t maxLabels);

}  // namespace qv
