#include <gtest/gtest.h>

#include "cli/cli_views_fixtures.h"
#include "filter/filter_list_file.h"
#include "logdata/time_zone_guard.h"
#include "support/system_texts.h"

namespace qv::test {
namespace {

// Three blocked incoming TCP probes of port 80 from different hosts and
// ports, and one allowed one; the file holds them oldest first.
std::string probes() {
  TrafficFields oldest = eventAt(kMarchTenth, "0100000A", 3000);
  oldest.beginTime = timeValueDigits(kMarchTenth - 600);
  oldest.occurrences = "00000004";
  TrafficFields allowed = eventAt(kMarchTenth + 60, "0200000A", 3001);
  allowed.action = "00000000";
  TrafficFields middle = eventAt(kMarchTenth + 120, "0300000A", 3002);
  middle.occurrences = "00000002";
  TrafficFields newest = eventAt(kMarchTenth + 180, "0400000A", 3003);
  newest.endTime = timeValueDigits(kMarchTenth + 200);
  return trafficLog({oldest, allowed, middle, newest});
}

const std::string kMergedRow =
    "2004/03/10 10:03:00\tBlock\tIncoming\tTCP\t10.0.0.4\t\t3003\t192.168.0.2\t80\t7\tC:\\app.exe\tBlock_all\t"
    "2004/03/10 09:50:00\t2004/03/10 10:03:20\n";
const std::string kAllowedRow =
    "2004/03/10 10:01:00\tAllow\tIncoming\tTCP\t10.0.0.2\t\t3001\t192.168.0.2\t80\t1\tC:\\app.exe\tBlock_all\t"
    "2004/03/10 10:01:00\t2004/03/10 10:01:00\n";

TEST(CliAnalyze, SamePatternsCollapseAndTheCountLineFollows) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", probes());
  expectRun({"traffic", log, "--analyze"}, 0, kMergedRow + kAllowedRow + "Records : 2 / 4\n");
  // The clicks come after the analysis: R Port ascending puts the allowed row first.
  expectRun({"traffic", "--sort", "R Port", log, "--analyze"}, 0, kAllowedRow + kMergedRow + "Records : 2 / 4\n");
  expectRun({"traffic", log, "--analyze", "--no-allow", "--count"}, 0, "Records : 1 / 4\n");
}

TEST(CliAnalyze, EmptyOrMissingLogsClearTheView) {
  TempFolder folder;
  const std::string empty = folder.write("empty.log", trafficLog({}));
  expectRun({"traffic", empty, "--analyze"}, 0, "Records : 0 / 0\n");
  const ProgramResult missing = runQvlog({"traffic", folder.pathOf("none.log"), "--analyze"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "Records : 0 / 0\n");
  expectRun({"traffic", empty, "--analyze=yes"}, 2, "", "qvlog traffic: option '--analyze' takes no value\n");
}

TEST(CliFilterList, EntriesHideEventsBeforeTheAnalysis) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", probes());
  FilterEntry remote = blankFilterEntry();
  remote.remoteIp = "10.0.0.4";
  FilterEntry allowedPattern = blankFilterEntry();
  allowedPattern.flags = RecordFlag::kAllowed | RecordFlag::kProtocolMask | RecordFlag::kDirectionMask;
  const std::string list = folder.write("filter.lst", serializeFilterList(FilterList({remote, allowedPattern})));
  const std::string mergedWithoutNewest =
      "2004/03/10 10:02:00\tBlock\tIncoming\tTCP\t10.0.0.3\t\t3002\t192.168.0.2\t80\t6\tC:\\app.exe\tBlock_all\t"
      "2004/03/10 09:50:00\t2004/03/10 10:02:00\n";
  expectRun({"traffic", log, "--filter-list", list, "--analyze"}, 0, mergedWithoutNewest + "Records : 1 / 4\n");
  expectRun({"traffic", log, "--filter-list=" + list, "--count"}, 0, "Records : 2 / 4\n");
}

TEST(CliFilterList, DamagedListsLoadWhatTheyCanAndMissingOnesFail) {
  TempFolder folder;
  const std::string log = folder.write("tralog.log", probes());
  FilterEntry remote = blankFilterEntry();
  remote.remoteIp = "10.0.0.4";
  std::string bytes = serializeFilterList(FilterList({remote, remote}));
  bytes.replace(bytes.rfind("10.0.0.4"), 8, "10.0.0");  // the second entry's address is bad: reading ends there
  const std::string damaged = folder.write("damaged.lst", bytes);
  expectRun({"traffic", log, "--filter-list", damaged, "--count"}, 0, "Records : 3 / 4\n");
  const std::string garbage = folder.write("garbage.lst", "not a filter list at all");
  expectRun({"traffic", log, "--filter-list", garbage, "--count"}, 0, "Records : 4 / 4\n");

  const std::string missing = folder.pathOf("missing.lst");
  expectRun({"traffic", log, "--filter-list", missing}, 1, "",
            "qvlog traffic: cannot read the filter list '" + missing + "' : " + test::noSuchFileText() + "\n");
  expectRun({"stats", log, "--filter-list", missing}, 1, "",
            "qvlog stats: cannot read the filter list '" + missing + "' : " + test::noSuchFileText() + "\n");
}

}  // namespace
}  // namespace qv::test
