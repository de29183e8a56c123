#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "logdata/time_zone_guard.h"
#include "views/timeline.h"

namespace qv {
namespace {

TimelinePoint pointAt(std::string_view text, bool blocked = true) { return {wallClockSecondsOf(text), blocked}; }

std::vector<std::uint32_t> totals(const Timeline& timeline) {
  std::vector<std::uint32_t> counts;
  for (const TimelineBucket& bucket : timeline.buckets) counts.push_back(bucket.total());
  return counts;
}

TEST(Timeline, ReadsOnlyWellFormedTimes) {
  EXPECT_EQ(wallClockSecondsOf("1970/01/02 00:00:01"), 86401);
  EXPECT_EQ(wallClockSecondsOf("2024/02/29 10:00:00.250"), wallClockSecondsOf("2024/02/29 10:00:00"));
  for (const char* text : {"", "No Data", "Time Error", "2023/02/29 10:00:00", "2024/13/01 00:00:00",
                           "2024/01/01 24:00:00", "2024-01-01 00:00:00", "2024/01/01 00:00"}) {
    EXPECT_EQ(wallClockSecondsOf(text), std::nullopt) << text;
  }
}

TEST(Timeline, RowsOfOneDayReadLikeSingleTimes) {
  std::vector<TrafficRecord> rows(6);
  const char* texts[] = {"2004/03/10 10:00:00", "2004/03/10 23:59:59.999", "2004/03/10 24:00:00",
                         "2004/03/10 10:00",    "2004/03/11 00:00:01",     "No Data"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].time = Text(texts[i]);
    rows[i].flags = i % 2 ? RecordFlag::kAllowed : RecordFlag::kBlocked;
  }
  const std::vector<TimelinePoint> points = timelinePointsOf(rows);
  ASSERT_EQ(points.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(points[i].time, wallClockSecondsOf(texts[i])) << texts[i];
    EXPECT_EQ(points[i].blocked, i % 2 == 0) << texts[i];
  }
}

TEST(Timeline, OneEventIsOneMinuteBucket) {
  const std::vector<TimelinePoint> points = {pointAt("No Data"), pointAt("2004/03/10 10:00:42", false)};
  const Timeline timeline = buildTimeline(points, 100);
  ASSERT_EQ(timeline.buckets.size(), 1u);
  EXPECT_EQ(timeline.bucketSeconds, 60);
  EXPECT_EQ(wallClockText(timeline.firstStart), "2004/03/10 10:00:00");
  EXPECT_EQ(timeline.buckets[0].allowed, 1u);
  EXPECT_EQ(timeline.bucketOfRow, (std::vector<std::uint32_t>{Timeline::kNoBucket, 0}));
  EXPECT_EQ(timelineRows(timeline, 0, 0), (std::vector<std::size_t>{1}));
  EXPECT_EQ(timelineBucketToolTip(timeline, 0), "2004/03/10 10:00:00 - 2004/03/10 10:01:00\nBlocked: 0\nAllowed: 1");
  EXPECT_TRUE(buildTimeline(std::vector<TimelinePoint>{pointAt("Time Error")}, 100).empty());
}

TEST(Timeline, EventsOfOneSecondStackInOneBar) {
  std::vector<TimelinePoint> points;
  for (int i = 0; i < 1000; ++i) points.push_back(pointAt("2004/03/10 23:59:59", i % 4 != 0));
  const Timeline timeline = buildTimeline(points, 1);
  ASSERT_EQ(timeline.buckets.size(), 1u);
  EXPECT_EQ(timeline.buckets[0].blocked, 750u);
  EXPECT_EQ(timeline.buckets[0].allowed, 250u);
  EXPECT_EQ(timeline.peak, 1000u);
  EXPECT_EQ(timelineRows(timeline, 0, 0).size(), 1000u);
}

// The axis follows the wall clock the rows show, whatever the zone's rules.
TEST(Timeline, DaylightSavingChangesKeepTheWallClock) {
  const test::TimeZoneGuard zone("Europe/Berlin");
  // 02:00 to 03:00 does not exist on 2024/03/31 in this zone.
  const std::vector<TimelinePoint> spring = {pointAt("2024/03/31 01:59:59"), pointAt("2024/03/31 03:00:00", false)};
  const Timeline forward = buildTimeline(spring, 3);
  EXPECT_EQ(forward.bucketSeconds, 3600);
  EXPECT_EQ(totals(forward), (std::vector<std::uint32_t>{1, 0, 1}));
  const std::vector<TimelineTick> ticks = timelineTicks(forward, 10);
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_EQ(ticks[0].text, "2024/03/31 01:00");
  EXPECT_EQ(ticks[2].text, "03:00");
  EXPECT_EQ(ticks[2].bucket, 2u);
  // 02:00 to 03:00 happens twice on 2024/10/27: both hours' events share the hour's bars.
  const std::vector<TimelinePoint> autumn = {pointAt("2024/10/27 02:10:00"), pointAt("2024/10/27 02:10:00"),
                                             pointAt("2024/10/27 03:10:00")};
  EXPECT_EQ(totals(buildTimeline(autumn, 2)), (std::vector<std::uint32_t>{2, 1}));
}

TEST(Timeline, YearLongLogInWeeksFromMonday) {
  std::vector<TimelinePoint> points;
  for (WallClockSeconds day = *wallClockSecondsOf("2023/01/01 12:00:00");
       day <= *wallClockSecondsOf("2023/12/31 12:00:00"); day += 86400) {
    points.push_back({day, day % 3 == 0});
  }
  ASSERT_EQ(points.size(), 365u);
  const Timeline timeline = buildTimeline(points, 120);
  EXPECT_EQ(timeline.bucketSeconds, 7 * 86400);
  EXPECT_EQ(wallClockText(timeline.firstStart), "2022/12/26 00:00:00");  // a Monday
  EXPECT_EQ(timeline.buckets.size(), 53u);
  const std::vector<std::uint32_t> counts = totals(timeline);
  EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), 365u);
  EXPECT_EQ(counts.front(), 1u);  // Sunday 2023/01/01 ends the first week
  const std::vector<TimelineTick> ticks = timelineTicks(timeline, 8);
  ASSERT_FALSE(ticks.empty());
  EXPECT_LE(ticks.size(), 8u);
  EXPECT_EQ(ticks.front().text.size(), 10u) << ticks.front().text;  // YYYY/MM/DD
  EXPECT_EQ(ticks.back().text.size(), 5u) << ticks.back().text;     // MM/DD
  // A wider span falls back on multiples of four weeks.
  EXPECT_EQ(timelineBucketSeconds(0, 20 * 365 * 86400LL, 100) % (28 * 86400), 0);
}

TEST(Timeline, SpansSelectTheirRowsInEitherDirection) {
  const std::vector<TimelinePoint> points = {pointAt("2004/03/10 10:05:00"), pointAt("2004/03/10 10:00:00"),
                                             pointAt(""), pointAt("2004/03/10 10:02:30")};
  const Timeline timeline = buildTimeline(points, 10);
  EXPECT_EQ(timeline.bucketSeconds, 60);
  EXPECT_EQ(timeline.buckets.size(), 6u);
  EXPECT_EQ(timelineRows(timeline, 3, 0), (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(timelineRows(timeline, 4, 4), std::vector<std::size_t>{});
  EXPECT_EQ(timelineIntervalText(timeline, 2, 0), "2004/03/10 10:00:00 - 2004/03/10 10:03:00");
}

TEST(Timeline, LabelsNameTheDayAtMidnight) {
  const std::vector<TimelinePoint> points = {pointAt("2004/03/10 22:00:00"), pointAt("2004/03/11 01:59:00")};
  const Timeline timeline = buildTimeline(points, 4);
  EXPECT_EQ(timeline.bucketSeconds, 3600);
  std::vector<std::string> texts;
  for (const TimelineTick& tick : timelineTicks(timeline, 4)) texts.push_back(tick.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"2004/03/10 22:00", "23:00", "03/11", "01:00"}));
}

}  // namespace
}  // namespace qv
