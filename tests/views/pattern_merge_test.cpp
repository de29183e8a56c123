#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis_test_records.h"
#include "filter/filter_entry.h"
#include "views/pattern_merge.h"

namespace qv {
namespace {

using namespace RecordFlag;
using test::trafficEvent;

// The merge as its definition reads: every remaining pair, row j removed when
// row i fits the pattern made from row j.
void mergePairwise(std::vector<TrafficRecord>& rows) {
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    for (std::size_t j = i + 1; j < rows.size();) {
      if (matches(rows[i], makeEventPattern(rows[j]))) {
        const std::uint32_t sum = rows[i].occurrences + rows[j].occurrences;
        rows[i].occurrences = sum < rows[i].occurrences ? UINT32_MAX : sum;
        rows[i].beginTime = rows[j].beginTime;
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(j));
      } else {
        ++j;
      }
    }
  }
}

TrafficRecord blockedIncomingTcp(const char* remoteIp, std::uint16_t remotePort, const char* time, std::uint32_t count) {
  TrafficRecord event = trafficEvent(kBlocked | kIncoming | kTcp, remoteIp, remotePort, 80, time);
  event.occurrences = count;
  event.beginTime = std::string(time).substr(0, 11) + "00:00:00";
  return event;
}

TEST(PatternMerge, SamePatternCollapsesToNewestTimesOldestBeginAndTotal) {
  std::vector<TrafficRecord> rows = {blockedIncomingTcp("10.0.0.3", 3000, "2024/03/03 10:00:00", 2),
                                     blockedIncomingTcp("10.0.0.2", 4000, "2024/03/02 10:00:00", 3),
                                     blockedIncomingTcp("10.0.0.1", 5000, "2024/03/01 10:00:00", 4)};
  mergeEventPatterns(rows);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].time, "2024/03/03 10:00:00");
  EXPECT_EQ(rows[0].endTime, "2024/03/03 10:00:00");
  EXPECT_EQ(rows[0].beginTime, "2024/03/01 00:00:00");
  EXPECT_EQ(rows[0].occurrences, 9u);
  EXPECT_EQ(rows[0].remoteIp, "10.0.0.3");
  EXPECT_EQ(rows[0].remotePort, 3000);
}

TEST(PatternMerge, AnAllowedEventStaysApart) {
  std::vector<TrafficRecord> rows = {blockedIncomingTcp("10.0.0.3", 3000, "2024/03/03 10:00:00", 1),
                                     blockedIncomingTcp("10.0.0.2", 4000, "2024/03/02 10:00:00", 1),
                                     blockedIncomingTcp("10.0.0.1", 5000, "2024/03/01 10:00:00", 1)};
  rows[1].flags = kAllowed | kIncoming | kTcp;
  mergeEventPatterns(rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].occurrences, 2u);
  EXPECT_EQ(rows[1].remoteIp, "10.0.0.2");
}

TEST(PatternMerge, TheFitIsOneSided) {
  // From remote port 20 the pattern compares the remote port; from 3456 the local one.
  const TrafficRecord ftpData = blockedIncomingTcp("10.0.0.1", 20, "2024/03/02 10:00:00", 1);
  const TrafficRecord other = blockedIncomingTcp("10.0.0.2", 3456, "2024/03/01 10:00:00", 1);
  std::vector<TrafficRecord> rows = {ftpData, other};
  mergeEventPatterns(rows);
  EXPECT_EQ(rows.size(), 1u);
  rows = {other, ftpData};
  mergeEventPatterns(rows);
  EXPECT_EQ(rows.size(), 2u);
}

TEST(PatternMerge, CountsStopAtTheLargest32BitValue) {
  std::vector<TrafficRecord> rows = {blockedIncomingTcp("10.0.0.1", 1, "2024/03/02 10:00:00", 4000000000u),
                                     blockedIncomingTcp("10.0.0.2", 2, "2024/03/01 10:00:00", 4000000000u)};
  mergeEventPatterns(rows);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].occurrences, UINT32_MAX);
}

// Rows from small pools, so that patterns meet often: every flag byte (no,
// several or all bits of a group, the unused bit), wildcard texts as real
// field values, the port values the patterns treat specially, equal and
// different begin times.
TrafficRecord randomRow(std::mt19937& random, int index) {
  const auto pick = [&](std::initializer_list<const char*> pool) {
    return std::string(*(pool.begin() + std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)));
  };
  static constexpr std::uint8_t kCommonFlags[] = {
      kBlocked | kIncoming | kTcp, kBlocked | kIncoming | kUdp, kAllowed | kOutgoing | kTcp,
      kAllowed | kOutgoing | kUdp, kBlocked | kIcmp | kIncoming, kBlocked | kTcp, kAllowed | kUdp};
  TrafficRecord row;
  const int flagChoice = std::uniform_int_distribution<int>(0, 9)(random);
  row.flags = flagChoice < 7 ? kCommonFlags[flagChoice]
                             : static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
  row.remotePort = static_cast<std::uint16_t>(std::initializer_list<int>{20, 53, 80, 3456}.begin()[std::uniform_int_distribution<int>(0, 3)(random)]);
  row.localPort = static_cast<std::uint16_t>(std::initializer_list<int>{20, 53, 80, 5000}.begin()[std::uniform_int_distribution<int>(0, 3)(random)]);
  row.applicationName = pick({"C:\\a.exe", "C:\\b.exe", "All/App", ""});
  row.ruleName = pick({"Block_all", "Allow", "All/Rule"});
  row.remoteIp = pick({"10.0.0.1", "10.0.0.2", "All"});
  row.localIp = pick({"192.168.0.2", "All"});
  row.time = "t" + std::to_string(index);
  row.endTime = row.time;
  row.beginTime = pick({"2024/03/01 00:00:00", "2024/03/02 00:00:00"}) + std::to_string(index % 3);
  row.occurrences = std::uniform_int_distribution<std::uint32_t>(0, 5)(random);
  if (std::uniform_int_distribution<int>(0, 50)(random) == 0) row.occurrences = UINT32_MAX - 1;
  return row;
}

TEST(PatternMerge, EqualsThePairwiseMergeOnRandomLists) {
  std::mt19937 random(3300);
  for (int round = 0; round < 400; ++round) {
    const int count = std::uniform_int_distribution<int>(0, round < 200 ? 12 : 250)(random);
    std::vector<TrafficRecord> rows;
    for (int i = 0; i < count; ++i) rows.push_back(randomRow(random, i));
    std::vector<TrafficRecord> expected = rows;
    mergePairwise(expected);
    mergeEventPatterns(rows);
    ASSERT_EQ(rows, expected) << "round " << round;
  }
}

}  // namespace
}  // namespace qv
