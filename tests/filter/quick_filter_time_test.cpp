#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/quick_filter.h"
#include "filter/time_window.h"
#include "logdata/time_text.h"
#include "logdata/time_zone_guard.h"
#include "support/windows_skip.h"

namespace qv {
namespace {

std::int64_t localMoment(const char* text) { return unixSecondsOfLocalTimeText(text).value(); }

TEST(QuickFilterTimeWindow, FormsOfTheTimeField) {
  const test::TimeZoneGuard zone("UTC");
  const std::int64_t now = localMoment("2024/03/10 12:00:00");
  const std::pair<const char*, TimeWindow> cases[] = {
      {"24", {"2024/03/09 12:00:00", ""}},
      {"!24", {"2024/03/09 12:00:00", ""}},  // '!' changes the match, not the window
      {"0024", {"2024/03/09 12:00:00", ""}},
      {"9999", {"2023/01/18 21:00:00", ""}},
      {"2-5", {"2024/03/10 07:00:00", "2024/03/10 10:00:00"}},
      {"!2-5", {"2024/03/10 07:00:00", "2024/03/10 10:00:00"}},
      {"5-", {"", "2024/03/10 07:00:00"}},
      {"-5", {"2024/03/10 07:00:00", ""}},
      {"-", {"", ""}},
      {"!", {"2024/03/10 12:00:00", ""}},  // no number reads as 0 hours
  };
  for (const auto& [field, window] : cases) EXPECT_EQ(computeTimeWindow(field, now), window) << field;
}

// Hours are counted on the clock's seconds, so across a daylight-saving
// change the local texts differ by one hour more or less than asked.
TEST(QuickFilterTimeWindow, CountsRealHoursAcrossDaylightSaving) {
  QV_SKIP_ON_WINDOWS("the C runtime reads TZ as NAME+HH with one set of daylight-saving rules; no European zone can be set");
  const test::TimeZoneGuard zone("Europe/Berlin");
  EXPECT_EQ(computeTimeWindow("3", localMoment("2024/03/31 04:30:00")).from, "2024/03/31 00:30:00");
  EXPECT_EQ(computeTimeWindow("1-24", localMoment("2024/10/27 03:30:00")),
            (TimeWindow{"2024/10/26 04:30:00", "2024/10/27 02:30:00"}));
}

std::vector<std::string> passingTimes(const char* field, const std::vector<std::string>& times) {
  FilterCriteria criteria;
  criteria.time = field;
  const QuickFilter filter(criteria, computeTimeWindow(field, localMoment("2024/03/10 12:00:00")));
  std::vector<std::string> passing;
  for (const std::string& time : times) {
    TrafficRecord record;
    record.time = time;
    if (filter.passes(record)) passing.push_back(time);
  }
  return passing;
}

TEST(QuickFilterTimeWindow, RecordsMeetTheWindowAsTexts) {
  const test::TimeZoneGuard zone("UTC");
  const std::string older = "2024/03/09 11:59:59", at24 = "2024/03/09 12:00:00", ago6 = "2024/03/10 06:00:00",
                    at5 = "2024/03/10 07:00:00", ago3 = "2024/03/10 09:00:00", at2 = "2024/03/10 10:00:00",
                    ago1 = "2024/03/10 11:00:00";
  const std::vector<std::string> all = {older, at24, ago6, at5, ago3, at2, ago1};
  using Times = std::vector<std::string>;
  // A record exactly at a bound passes both the field and its negation.
  EXPECT_EQ(passingTimes("24", all), (Times{at24, ago6, at5, ago3, at2, ago1}));
  EXPECT_EQ(passingTimes("!24", all), (Times{older, at24}));
  EXPECT_EQ(passingTimes("2-5", all), (Times{at5, ago3, at2}));
  EXPECT_EQ(passingTimes("!2-5", all), (Times{older, at24, ago6, at5, at2, ago1}));
  EXPECT_EQ(passingTimes("5-", all), (Times{older, at24, ago6, at5}));
  EXPECT_EQ(passingTimes("!5-", all), (Times{at5, ago3, at2, ago1}));
  EXPECT_EQ(passingTimes("-", all), all);
  EXPECT_EQ(passingTimes("!-", all), all);
  // An empty time sorts before every bound and "Time Error" after; a packet
  // time's milliseconds put it after the whole second it starts with.
  const Times special = {"", "Time Error", at2 + ".000"};
  EXPECT_EQ(passingTimes("24", special), (Times{"Time Error", at2 + ".000"}));
  EXPECT_EQ(passingTimes("2-5", special), Times{});
  EXPECT_EQ(passingTimes("!24", special), Times{""});
}

}  // namespace
}  // namespace qv
