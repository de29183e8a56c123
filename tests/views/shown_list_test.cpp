#include "views/traffic_shown_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <cinttypes>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cli/log_files.h"
#include "filter/add_to_filter_list.h"
#include "filter/quick_filter.h"
#include "logdata/ring_order.h"
#include "views/pattern_merge.h"
#include "views/read_operation.h"
#include "views/traffic_columns.h"
#include "views/traffic_sort.h"
#include "views/view_commands.h"

namespace qv {
namespace {

constexpr std::int64_t kNow = 1078916400;

// Every cell of every row, one line per row.
std::vector<std::string> cellTexts(TrafficRows rows) {
  std::vector<std::string> lines;
  for (const TrafficRecord& record : rows) {
    std::string& line = lines.emplace_back();
    for (int column = 0; column < kTrafficColumnCount; ++column) {
      appendTrafficCellText(line, record, static_cast<TrafficColumn>(column));
      line += '\t';
    }
  }
  return lines;
}

std::string hex16(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIX64, value);
  return text;
}

// Events from small pools, so that sort keys tie and patterns meet often.
std::string generatedLog(std::mt19937& random, int count, std::uint32_t newestPosition) {
  const auto pick = [&random](std::initializer_list<const char*> pool) {
    return std::string(pool.begin()[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)]);
  };
  std::vector<test::TrafficFields> lines(static_cast<std::size_t>(count));
  for (test::TrafficFields& line : lines) {
    const std::uint64_t second = std::uniform_int_distribution<std::uint64_t>(0, 40)(random);
    line.time = hex16(0x01C3D0DD14B10080ull + second * 10000000ull);
    line.beginTime = hex16(0x01C3D0DD14B10080ull + (second / 2) * 10000000ull);
    line.endTime = line.time;
    line.protocol = pick({"0000012D", "0000012E", "00000132"});
    line.remoteIp = pick({"0500000A", "0600000A", "0100A8C0", "FFFFFFFF"});
    line.localIp = pick({"0200A8C0", "0300A8C0"});
    line.remotePort = pick({"00000050", "00000035", "000004D2"});
    line.localPort = pick({"00000050", "00001388"});
    line.direction = pick({"00000001", "00000002", "00000000"});
    line.action = pick({"00000000", "00000001"});
    line.occurrences = pick({"00000001", "00000003", "FFFFFFFE"});
    line.nameAddress = pick({"", "host.example.net", "a.example.org"});
    line.ruleName = pick({"Block_all", "Allow_Web", "All/Rule"});
    line.applicationName = pick({"C:\\app.exe", "System", "C:\\b\\svc.exe"});
  }
  return test::trafficLog(lines, newestPosition);
}

// The rows as a filter run that copies its records makes them.
std::vector<TrafficRecord> copiedRun(const TrafficLogState& state, const FilterCriteria& criteria,
                                     const TrafficExclusion& excluded) {
  const QuickFilter filter(criteria, {});
  std::vector<TrafficRecord> rows;
  forEachInRingOrder(state.records->size(), state.newestIndex, [&](std::size_t index) {
    const TrafficRecord& record = (*state.records)[index];
    if (filter.passes(record) && !(excluded && excluded(record))) rows.push_back(record);
  });
  return rows;
}

std::vector<TrafficRecord> stableSorted(std::vector<TrafficRecord> rows, int column, SortDirection direction) {
  std::stable_sort(rows.begin(), rows.end(), [&](const TrafficRecord& a, const TrafficRecord& b) {
    return compareTrafficRows(a, b, column, direction) < 0;
  });
  return rows;
}

TEST(TrafficShownList, IndexesGiveWhatRecordCopiesGaveOnAGeneratedLog) {
  std::mt19937 random(2024);
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", generatedLog(random, 1500, 611));
  TrafficLogState state;
  ASSERT_EQ(readTrafficLog(state, path, {}, kNow).status, ReadStatus::kShown);
  TrafficRecordList read = state.records;
  const std::vector<std::string> allRows = cellTexts(copiedRun(state, {}, {}));

  FilterCriteria blockedIncoming;
  blockedIncoming.allow = false;
  blockedIncoming.out = false;
  FilterCriteria port80;
  port80.remotePort = "80";
  FilterList list;
  list.append(makeFilterEntry((*read)[7], AddToFilterListCommand::kRemoteIp));
  list.append(makeFilterEntry((*read)[8], AddToFilterListCommand::kPattern));
  const TrafficExclusion excluded = exclusionFor(list);

  for (const FilterCriteria& criteria : {FilterCriteria{}, blockedIncoming, port80}) {
    for (const TrafficExclusion& exclusion : {TrafficExclusion{}, excluded}) {
      ASSERT_EQ(filterTrafficLog(state, criteria, kNow, exclusion).status, ReadStatus::kShown);
      const std::vector<TrafficRecord> copies = copiedRun(state, criteria, exclusion);
      ASSERT_EQ(cellTexts(state.shown.rows()), cellTexts(copies));
      EXPECT_EQ(state.shown.records(), read);  // the run shares the read's records
      EXPECT_EQ(state.countLine, countLineText(copies.size(), read->size()));

      // Each column's order in both directions, and a second click after a first.
      for (int column = 0; column < kTrafficColumnCount; ++column) {
        for (const SortDirection direction : {SortDirection::kFirstClick, SortDirection::kSecondClick}) {
          TrafficShownList sorted = state.shown;
          sortTrafficRows(sorted, column, direction);
          EXPECT_EQ(cellTexts(sorted.rows()), cellTexts(stableSorted(copies, column, direction)))
              << "column " << column;
        }
        TrafficShownList clicked = state.shown;
        std::vector<TrafficRecord> expected = copies;
        SortState sortState;
        for (const int click : {column, (column + 5) % kTrafficColumnCount, (column + 5) % kTrafficColumnCount}) {
          if (clickTrafficHeader(sortState, clicked, click)) expected = stableSorted(expected, click, sortState.direction());
        }
        EXPECT_EQ(cellTexts(clicked.rows()), cellTexts(expected)) << "clicks from column " << column;
      }

      // The analysis merges into rows of its own; the read's records stay as read.
      std::vector<TrafficRecord> mergedCopies = copies;
      mergeEventPatterns(mergedCopies);
      analyzeTrafficView(state);
      EXPECT_EQ(cellTexts(state.shown.rows()), cellTexts(mergedCopies));
      EXPECT_EQ(state.countLine, countLineText(mergedCopies.size(), read->size()));
      if (copies.size() >= 2) {
        EXPECT_NE(state.shown.records(), read);
      }
      EXPECT_EQ(state.records, read);
      TrafficShownList mergedSorted = state.shown;
      sortTrafficRows(mergedSorted, 9, SortDirection::kFirstClick);
      EXPECT_EQ(cellTexts(mergedSorted.rows()), cellTexts(stableSorted(mergedCopies, 9, SortDirection::kFirstClick)));
    }
  }
  // A later Filter runs over the original records.
  ASSERT_EQ(filterTrafficLog(state, {}, kNow).status, ReadStatus::kShown);
  EXPECT_EQ(cellTexts(state.shown.rows()), allRows);

  // A new read lets go of the old records and of every row that shared them.
  const std::weak_ptr<const std::vector<TrafficRecord>> old = read;
  read.reset();
  ASSERT_EQ(readTrafficLog(state, folder.write("other.log", generatedLog(random, 20, 3)), {}, kNow).status,
            ReadStatus::kShown);
  EXPECT_TRUE(old.expired());
  EXPECT_EQ(state.shown.records(), state.records);
  EXPECT_EQ(state.records->size(), 20u);
}

TEST(TrafficShownList, RejectsIndexesBeyondItsRecordsAndKnowsTheNoDataRow) {
  auto records = std::make_shared<const std::vector<TrafficRecord>>(3);
  EXPECT_THROW(TrafficShownList(records, {0, 3}), std::out_of_range);
  EXPECT_THROW(TrafficShownList(nullptr, {0}), std::out_of_range);
  EXPECT_EQ(TrafficShownList(records, {2, 0}).size(), 2u);
  EXPECT_TRUE(TrafficShownList::noData().isNoDataPlaceholder());
  EXPECT_FALSE(TrafficShownList(records, {}).isNoDataPlaceholder());
  EXPECT_TRUE(TrafficShownList().rows().empty());
}

}  // namespace
}  // namespace qv
