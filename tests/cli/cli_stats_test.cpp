#include <gtest/gtest.h>

#include "cli/cli_views_fixtures.h"
#include "filter/filter_list_file.h"

namespace qv::test {
namespace {

TrafficFields blockedIncoming(const std::string& protocol, std::uint16_t localPort, std::uint32_t count) {
  TrafficFields fields;
  fields.protocol = protocol;
  fields.localPort = hex8(localPort);
  fields.occurrences = hex8(count);
  return fields;
}

constexpr const char* kTcp = "0000012D";
constexpr const char* kUdp = "0000012E";

TEST(CliStats, RankingAsLinesWithAFinalLineEnd) {
  TempFolder folder;
  TrafficFields allowed = blockedIncoming(kTcp, 80, 50);
  allowed.action = "00000000";
  TrafficFields outgoing = blockedIncoming(kTcp, 80, 50);
  outgoing.direction = "00000002";
  // Shown newest first: TCP 21 (4), TCP 80 (1), UDP 53 (1), TCP 80 (3).
  const std::string log = folder.write(
      "tralog.log", trafficLog({blockedIncoming(kTcp, 80, 3), blockedIncoming(kUdp, 53, 1), allowed, outgoing,
                                blockedIncoming(kTcp, 80, 1), blockedIncoming(kTcp, 21, 4)}));
  expectRun({"stats", log}, 0,
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\n"
            " TCP\t21\t4\t 44.44\n"
            " TCP\t80\t4\t 44.44\n"
            " UDP\t53\t1\t 11.11\n");
  expectRun({"stats", log, "--no-tcp"}, 0, "[Proto]\t[Port]\t[Count]\t[ratio(%)]\n UDP\t53\t1\t100.00\n");
  expectRun({"stats", log, "--rule", "nothing like it"}, 0, "[Proto]\t[Port]\t[Count]\t[ratio(%)]\n");

  FilterEntry localPort = blankFilterEntry();
  localPort.localPort = 21;
  localPort.setPortMarker(Text("RPTN"));
  const std::string list = folder.write("filter.lst", serializeFilterList(FilterList({localPort})));
  expectRun({"stats", log, "--filter-list", list}, 0,
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\n TCP\t80\t4\t 80.00\n UDP\t53\t1\t 20.00\n");
}

TEST(CliStats, FailedReadsAnswerAsTrafficDoes) {
  TempFolder folder;
  const std::string missing = folder.pathOf("none.log");
  const ProgramResult traffic = runQvlog({"traffic", missing});
  const ProgramResult stats = runQvlog({"stats", missing});
  EXPECT_EQ(stats.exitCode, 1);
  EXPECT_EQ(stats.out, "Records : 0 / 0\n");
  EXPECT_EQ(stats.err, traffic.err);
  EXPECT_TRUE(stats.err.starts_with("CFile::Open Error : ")) << stats.err;

  const std::string packets = folder.write("rawlog.log", packetLog({}));
  expectRun({"stats", packets}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  expectRun({"stats", folder.write("empty.log", trafficLog({}))}, 0, "Records : 0 / 0\n");
  EXPECT_EQ(runQvlog({"stats", missing, "--count"}).exitCode, 2);
  EXPECT_EQ(runQvlog({"stats", missing, "--sort", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace qv::test
