#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "filter/filter_entry.h"
#include "filter/quick_filter.h"
#include "log_fixtures.h"
#include "logdata/number_text.h"
#include "logdata/time_text.h"
#include "logdata/time_value.h"
#include "logdata/traffic_log_reader.h"
#include "time_zone_guard.h"
#include "views/address_order.h"
#include "views/event_text.h"
#include "views/traffic_columns.h"
#include "views/traffic_sort.h"

namespace qv {
namespace {

using test::TrafficFields;

// Sixteen stored digits, mostly near a moment, some of them out of range or
// not hex at all, as damaged logs hold them (the field keeps its width, so
// the fields after it stay in place).
std::string timeDigitsNear(std::mt19937& random, std::int64_t unixSeconds) {
  char digits[17];
  switch (random() % 12) {
    case 0: return "0000000000000000";
    case 1: return "FFFFFFFFFFFFFFFF";
    case 2: return "01C3D0DD        ";        // the low half blank
    case 3: return "01C3D0DZ14B10080";        // a non-hex digit ends the high half early
    case 4: return "7FFFFFFFFFFFFFFF";
    default: break;
  }
  const std::int64_t seconds = unixSeconds + static_cast<std::int64_t>(random() % 14400) - 7200;
  const std::uint64_t value = kUnixEpochTimeValue + static_cast<std::uint64_t>(seconds) * kTimeUnitsPerSecond +
                              random() % kTimeUnitsPerSecond;
  std::snprintf(digits, sizeof digits, "%08X%08X", static_cast<unsigned>(value >> 32),
                static_cast<unsigned>(value & 0xFFFFFFFFu));
  return digits;
}

std::string addressDigits(std::mt19937& random) {
  static const char* const kOdd[] = {"0A      ", "0A00----", "G0000000", "0100A8C0", "FFFFFFFF", "00000000", "1x2y3z4w"};
  if (random() % 6 == 0) return kOdd[random() % std::size(kOdd)];
  // Few distinct addresses, as in a real log, so prefixes and ties occur.
  return test::hex8(static_cast<std::uint32_t>(random() % 7) << 24 | (random() % 3) << 8 | 0xC0 | (random() % 2) << 1);
}

struct GeneratedLog {
  std::string content;
  std::vector<TrafficFields> fields;
};

// A log around `unixSeconds` whose lines carry odd as well as sound fields.
GeneratedLog generatedLog(std::uint32_t seed, std::int64_t unixSeconds, int count) {
  std::mt19937 random(seed);
  GeneratedLog log;
  for (int i = 0; i < count; ++i) {
    TrafficFields fields;
    fields.time = timeDigitsNear(random, unixSeconds);
    fields.beginTime = timeDigitsNear(random, unixSeconds);
    fields.endTime = timeDigitsNear(random, unixSeconds);
    fields.localIp = addressDigits(random);
    fields.remoteIp = addressDigits(random);
    fields.remotePort = test::hex8(random() % 4 * 1000);
    fields.occurrences = test::hex8(random() % 5);
    log.content += test::trafficLine(fields) + "\n";
    log.fields.push_back(fields);
  }
  log.content = test::logHeader("00000002", test::hex8(static_cast<std::uint32_t>(count)), "00000000") + log.content;
  return log;
}

struct ZoneCase {
  const char* zone;
  std::int64_t around;  // a daylight-saving change of the zone, or any moment
};

// Spring and autumn changes on both hemispheres, a half-hour change and a zone without any.
const ZoneCase kZones[] = {
    {"Europe/Berlin", 1711846800},      // 2024-03-31 01:00 UTC, clocks forward
    {"America/New_York", 1730613600},   // 2024-11-03 06:00 UTC, clocks back
    {"Australia/Lord_Howe", 1712417400}, // 2024-04-07, back by half an hour
    {"Asia/Kolkata", 1704067200},
    {"UTC", 2147483000},                // the last convertible seconds
};

TEST(CompactFields, TextsAreThoseOfTheStoredDigitsInEveryZone) {
  std::uint32_t seed = 1;
  for (const ZoneCase& zone : kZones) {
    test::TimeZoneGuard guard(zone.zone);
    const GeneratedLog generated = generatedLog(seed++, zone.around, 400);
    const TrafficLog log = parseTrafficLog(generated.content);
    ASSERT_EQ(log.records.size(), generated.fields.size()) << zone.zone;
    for (std::size_t i = 0; i < log.records.size(); ++i) {
      const TrafficRecord& record = log.records[i];
      const TrafficFields& fields = generated.fields[i];
      SCOPED_TRACE(std::string(zone.zone) + " " + fields.time + " " + fields.localIp);
      EXPECT_EQ(record.time.text(), timeText(fields.time, false));
      EXPECT_EQ(record.beginTime.text(), timeText(fields.beginTime, false));
      EXPECT_EQ(record.endTime.text(), timeText(fields.endTime, false));
      EXPECT_EQ(record.localIp.text(), dottedAddress(fields.localIp));
      EXPECT_EQ(record.remoteIp.text(), dottedAddress(fields.remoteIp));
      EXPECT_EQ(trafficCellText(record, TrafficColumn::kTime), timeText(fields.time, false).view());
      EXPECT_EQ(trafficCellText(record, TrafficColumn::kLocalIp), dottedAddress(fields.localIp).view());
      // Fields compare equal exactly when their texts do.
      const TrafficRecord& first = log.records.front();
      EXPECT_EQ(record.time == first.time, record.time.text() == first.time.text());
      EXPECT_EQ(record.remoteIp == first.remoteIp, record.remoteIp.text() == first.remoteIp.text());
      EXPECT_EQ(record.remoteIp == first.remoteIp.text(), record.remoteIp.text() == first.remoteIp.text());
    }
  }
}

// The order a column's sort gives, as the cell texts of the rows.
std::vector<std::string> sortedCells(std::vector<TrafficRecord> rows, int column, SortDirection direction) {
  sortTrafficRows(rows, column, direction);
  std::vector<std::string> cells;
  for (const TrafficRecord& row : rows) {
    std::string line;
    for (int each = 0; each < kTrafficColumnCount; ++each) {
      appendTrafficCellText(line, row, static_cast<TrafficColumn>(each));
      line += '\t';
    }
    cells.push_back(line + std::to_string(row.occurrences));
  }
  return cells;
}

// The same rows with every time and address held as a hand-put text: the
// representation the texts had before they were kept as numbers.
std::vector<TrafficRecord> withTextFields(const std::vector<TrafficRecord>& rows) {
  std::vector<TrafficRecord> texts = rows;
  for (TrafficRecord& row : texts) {
    // A time text is never taken for a value, so these stay texts.
    row.time = RecordTime(row.time.text());
    row.beginTime = RecordTime(row.beginTime.text());
    row.endTime = RecordTime(row.endTime.text());
  }
  return texts;
}

TEST(CompactFields, SortsAndFiltersAsTheTextsDo) {
  test::TimeZoneGuard guard("America/New_York");
  const GeneratedLog generated = generatedLog(77, 1730613600, 300);
  const std::vector<TrafficRecord> rows = parseTrafficLog(generated.content).records;
  const std::vector<TrafficRecord> texts = withTextFields(rows);
  ASSERT_FALSE(texts.front().time.holdsValue());
  for (int column = 0; column < kTrafficColumnCount; ++column) {
    for (const SortDirection direction : {SortDirection::kFirstClick, SortDirection::kSecondClick}) {
      EXPECT_EQ(sortedCells(rows, column, direction), sortedCells(texts, column, direction)) << column;
    }
  }
  // Address numbers sort as the views sort dotted texts.
  for (const TrafficRecord& row : rows) {
    EXPECT_EQ(row.remoteIp.number(), addressSortValue(row.remoteIp.text()));
  }

  FilterCriteria criteria;
  for (const char* prefix : {"1", "1.", "10", "!3.0", "0.0.0.0", "2.0.1.19", "6.0.0.19", "!", "255"}) {
    criteria.remoteIp = prefix;
    criteria.localIp = prefix[0] == '!' ? "" : prefix;
    const QuickFilter filter(criteria, TimeWindow{});
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const std::string remote = rows[i].remoteIp.str();
      const std::string local = rows[i].localIp.str();
      const std::string_view wanted = std::string_view(prefix).substr(prefix[0] == '!' ? 1 : 0);
      const bool expected = remote.starts_with(wanted) != (prefix[0] == '!') &&
                            (prefix[0] == '!' || local.starts_with(prefix));
      EXPECT_EQ(filter.passes(rows[i]), expected) << prefix << " " << remote << " " << local;
    }
  }
  // A time window across the hour the clocks repeat compares the texts.
  criteria = FilterCriteria{};
  criteria.time = "1";
  for (const TimeWindow& window : {TimeWindow{"2024/11/03 01:30:00", "2024/11/03 01:45:00"},
                                   TimeWindow{"2024/11/03 00:59:59", ""}, TimeWindow{"", "2024/11/03 01:00:00"}}) {
    const QuickFilter filter(criteria, window);
    for (const TrafficRecord& row : rows) {
      const std::string time = row.time.str();
      const bool expected = (window.from.empty() || Text::compareBytes(time, window.from) >= 0) &&
                            (window.to.empty() || Text::compareBytes(time, window.to) <= 0);
      EXPECT_EQ(filter.passes(row), expected) << time << " in " << window.from << " - " << window.to;
    }
  }
}

TEST(CompactFields, FilterEntriesMatchAddressesByText) {
  TrafficRecord event = parseTrafficRecordLine(test::trafficLine(TrafficFields{}));
  ASSERT_EQ(event.remoteIp.text(), "10.0.0.5");
  FilterEntry entry = blankFilterEntry();
  for (const auto& [text, expected] : std::vector<std::pair<const char*, bool>>{
           {"10.0.0.5", true}, {"010.0.0.5", false}, {"10.0.0.05", false}, {"10.0..5", false}, {"All", true},
           {"10.0.0.50", false}}) {
    entry.remoteIp = text;
    EXPECT_EQ(entry.remoteIp.text(), text);
    EXPECT_EQ(matches(event, entry), expected) << text;
  }
  // A hand-put text is no number, whatever number the text pool gave it.
  const RecordAddress all("All");
  EXPECT_FALSE(all.holdsNumber());
  EXPECT_EQ(all.number(), 0u);
  EXPECT_EQ(all, RecordAddress("All"));
  EXPECT_EQ(all.identity(), RecordAddress("All").identity());
  for (std::uint32_t number = 0; number < 256; ++number) {
    EXPECT_NE(all, RecordAddress::ofNumber(number));
    EXPECT_NE(all.identity(), RecordAddress::ofNumber(number).identity());
  }
  // A copy's text shows the port marker it was given, and the "No Data" row its time.
  entry.setPortMarker(Text("RPTN"));
  EXPECT_EQ(entry.portMarker(), "RPTN");
  EXPECT_TRUE(entry.matchesAnyRemotePort());
  EXPECT_FALSE(entry.matchesAnyLocalPort());
  EXPECT_EQ(trafficCellText(noDataTrafficRecord(), TrafficColumn::kTime), "No Data");
  EXPECT_EQ(trafficCellText(noDataTrafficRecord(), TrafficColumn::kRemoteIp), "");
}

TEST(CompactFields, EqualNamesOfOneReadShareTheirBytes) {
  TrafficFields fields;
  fields.applicationName = "C:\\Program Files\\Browser\\browser.exe";
  fields.ruleName = "Allow";
  fields.nameAddress = "";
  const std::string line = test::trafficLine(fields) + "\n";
  const TrafficLog log = parseTrafficLog(test::logHeader("00000002", "00000003", "00000000") + line + line + line);
  ASSERT_EQ(log.records.size(), 3u);
  EXPECT_EQ(log.records[0].applicationName, fields.applicationName);
  EXPECT_EQ(log.records[0].applicationName.data(), log.records[2].applicationName.data());
  EXPECT_EQ(log.records[1].ruleName.data(), log.records[2].ruleName.data());
  EXPECT_TRUE(log.records[0].nameAddress.empty());
  EXPECT_STREQ(log.records[0].nameAddress.data(), "");

  // A copy outlives the read it came from; bytes after a NUL are kept.
  NameText kept = log.records[1].applicationName;
  const NameText withNul(std::string("a\0b", 3));
  EXPECT_EQ(withNul.size(), 3u);
  EXPECT_LT(NameText("a"), withNul);
  EXPECT_EQ(kept.view(), fields.applicationName);
}

}  // namespace
}  // namespace qv
