#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_views_fixtures.h"
#include "logdata/time_zone_guard.h"

namespace qv::test {
namespace {

TEST(CliExport, ShownTrafficRowsReadBackInTheirShownOrder) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  TrafficFields allowed = eventAt(kMarchTenth + 60, "0200000A", 53);
  allowed.action = "00000000";
  const std::string log = folder.write(
      "tralog.log", trafficLog({eventAt(kMarchTenth, "0100000A", 80), allowed, eventAt(kMarchTenth + 120, "0300000A", 21)}));
  const std::string out = folder.pathOf("saved.log");
  const ProgramResult sorted = runQvlog({"traffic", log, "--no-allow", "--sort", "R Port", "--export", out});
  ASSERT_EQ(sorted.exitCode, 0) << sorted.err;
  const ProgramResult readBack = runQvlog({"traffic", out});
  EXPECT_EQ(readBack.exitCode, 0);
  EXPECT_EQ(readBack.out, sorted.out.substr(0, sorted.out.find("Records")) + "Records : 2 / 2\n");
  folder.write("saved.log", "");  // let the folder remove it
}

TEST(CliExport, PacketsKeepTheirBytes) {
  TempFolder folder;
  const std::string first = packetRecord(ipv4Frame(6, 0x02));
  PacketFields other;
  other.remoteIp = "0900000A";
  const std::string second = packetRecord(ipv4Frame(17), other);
  const std::string log = folder.write("rawlog.log", packetLog({first, second}));
  const std::string out = folder.pathOf("saved.log");
  const ProgramResult run = runQvlog({"packets", log, "--sort", "Remote IP", "--export=" + out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Remote IP ascending shows 10.0.0.5 then 10.0.0.9; the file holds them last first.
  const std::string saved = readFileBytes(out);
  EXPECT_TRUE(saved.ends_with(second + first)) << saved.size();
  EXPECT_EQ(runQvlog({"packets", out}).out, run.out);
  folder.write("saved.log", "");
}

TEST(CliExport, NothingShownOrNoPlaceToWrite) {
  TempFolder folder;
  const std::string log = folder.write("tralog.log", trafficLog({eventAt(kMarchTenth)}));
  const std::string out = folder.pathOf("saved.log");
  expectRun({"traffic", log, "--no-block", "--export", out}, 1, "Records : 0 / 1\n", "Select items on the list!\n");
  EXPECT_FALSE(std::ifstream(out).good());
  expectRun({"traffic", folder.write("empty.log", trafficLog({})), "--export", out}, 1, "Records : 0 / 0\n",
            "Select items on the list!\n");
  EXPECT_FALSE(std::ifstream(out).good());
  // A failed read is reported once, and nothing is written.
  const ProgramResult missing = runQvlog({"traffic", folder.pathOf("none.log"), "--export", out});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.err.starts_with("CFile::Open Error : ")) << missing.err;
  EXPECT_EQ(missing.err.find("Select items"), std::string::npos);
  EXPECT_FALSE(std::ifstream(out).good());

  const ProgramResult unwritable = runQvlog({"traffic", log, "--export", folder.pathOf("no/such/folder.log")});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.out, runQvlog({"traffic", log}).out);
  EXPECT_TRUE(unwritable.err.starts_with("File Open Error : ")) << unwritable.err;
}

}  // namespace
}  // namespace qv::test
