#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "filter/quick_filter.h"
#include "filter/time_window.h"
#include "logdata/time_text.h"
#include "logdata/time_zone_guard.h"

namespace qv {
namespace {

std::int64_t localMoment(const char* text) {
  const auto seconds = unixSecondsOfLocalTimeText(text);
  EXPECT_TRUE(seconds.has_value()) << text;
  return seconds.value_or(0);
}

TEST(QuickFilterTimeWindow, FormsOfTheTimeField) {
  const test::TimeZoneGuard zone("UTC");
  const std::int64_t now = localMoment("2024/03/10 12:00:00");
  struct Case {
    const char* field;
    TimeWindow window;
  };
  const Case cases[] = {
      {"24", {"2024/03/09 12:00:00", ""}},
      {"!24", {"2024/03/09 12:00:00", ""}},
      {"0", {"2024/03/10 12:00:00", ""}},
      {"0024", {"2024/03/09 12:00:00", ""}},
      {"9999", {"2023/01/18 21:00:00", ""}},
      {"2-5", {"2024/03/10 07:00:00", "2024/03/10 10:00:00"}},
      {"!2-5", {"2024/03/10 07:00:00", "2024/03/10 10:00:00"}},
      {"5-", {"", "2024/03/10 07:00:00"}},
      {"-5", {"2024/03/10 07:00:00", ""}},
      {"!-5", {"2024/03/10 07:00:00", ""}},
      {"-", {"", ""}},
      {"!", {"2024/03/10 12:00:00", ""}},  // no number reads as 0 hours
  };
  for (const Case& c : cases) EXPECT_EQ(computeTimeWindow(c.field, now), c.window) << c.field;
}

// Hours are counted on the clock's seconds, so across a daylight-saving
// change the local texts differ by one hour more or less than asked.
TEST(QuickFilterTimeWindow, CountsRealHoursAcrossDaylightSaving) {
  const test::TimeZoneGuard zone("Europe/Berlin");
  const std::int64_t afterSpringForward = localMoment("2024/03/31 04:30:00");
  EXPECT_EQ(computeTimeWindow("3", afterSpringForward).from, "2024/03/31 00:30:00");
  const std::int64_t afterFallBack = localMoment("2024/10/27 03:30:00");
  EXPECT_EQ(computeTimeWindow("2", afterFallBack).from, "2024/10/27 02:30:00");
  EXPECT_EQ(computeTimeWindow("1-24", afterFallBack),
            (TimeWindow{"2024/10/26 04:30:00", "2024/10/27 02:30:00"}));
}

// Which of the given record times pass a Time field at the fixed now.
std::vector<std::string> passingTimes(const char* field, std::int64_t now, const std::vector<std::string>& times) {
  FilterCriteria criteria;
  criteria.time = field;
  const QuickFilter filter(criteria, computeTimeWindow(field, now));
  std::vector<std::string> passing;
  for (const std::string& time : times) {
    TrafficRecord record;
    record.time = time;
    record.flags = RecordFlag::kAllowed;
    if (filter.passes(record)) passing.push_back(time);
  }
  return passing;
}

TEST(QuickFilterTimeWindow, RecordsMeetTheWindowAsTexts) {
  const test::TimeZoneGuard zone("UTC");
  const std::int64_t now = localMoment("2024/03/10 12:00:00");
  const std::string older = "2024/03/09 11:59:59";
  const std::string bound24 = "2024/03/09 12:00:00";
  const std::string hours6 = "2024/03/10 06:00:00";
  const std::string bound5 = "2024/03/10 07:00:00";
  const std::string hours3 = "2024/03/10 09:00:00";
  const std::string bound2 = "2024/03/10 10:00:00";
  const std::string hours1 = "2024/03/10 11:00:00";
  const std::vector<std::string> times = {older, bound24, hours6, bound5, hours3, bound2, hours1};

  using Times = std::vector<std::string>;
  // A record exactly at the bound passes both the field and its negation.
  EXPECT_EQ(passingTimes("24", now, times), (Times{bound24, hours6, bound5, hours3, bound2, hours1}));
  EXPECT_EQ(passingTimes("!24", now, times), (Times{older, bound24}));
  EXPECT_EQ(passingTimes("2-5", now, times), (Times{bound5, hours3, bound2}));
  EXPECT_EQ(passingTimes("!2-5", now, times), (Times{older, bound24, hours6, bound5, bound2, hours1}));
  EXPECT_EQ(passingTimes("5-", now, times), (Times{older, bound24, hours6, bound5}));
  EXPECT_EQ(passingTimes("!5-", now, times), (Times{bound5, hours3, bound2, hours1}));
  EXPECT_EQ(passingTimes("-5", now, times), (Times{bound5, hours3, bound2, hours1}));
  EXPECT_EQ(passingTimes("-", now, times), times);
  EXPECT_EQ(passingTimes("!-", now, times), times);
}

TEST(QuickFilterTimeWindow, SpecialTimeTextsCompareAsBytes) {
  const test::TimeZoneGuard zone("UTC");
  const std::int64_t now = localMoment("2024/03/10 12:00:00");
  // An empty time sorts before every bound, "Time Error" after; packet times
  // carry milliseconds and sort after the whole second they begin with.
  const std::vector<std::string> times = {"", "Time Error", "2024/03/10 10:00:00.000", "2024/03/10 10:00:00"};
  EXPECT_EQ(passingTimes("24", now, times), (std::vector<std::string>{"Time Error", "2024/03/10 10:00:00.000",
                                                                     "2024/03/10 10:00:00"}));
  EXPECT_EQ(passingTimes("2-5", now, times), (std::vector<std::string>{"2024/03/10 10:00:00"}));
  EXPECT_EQ(passingTimes("!24", now, times), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace qv
