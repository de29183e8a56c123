#include <gtest/gtest.h>

#include "cli/cli_views_fixtures.h"
#include "logdata/time_zone_guard.h"

namespace qv::test {
namespace {

std::string fourEvents() {
  return trafficLog({eventAt(kMarchTenth, "0A00000A", 80), eventAt(kMarchTenth + 60, "0900000A", 21),
                     eventAt(kMarchTenth + 120, "01010109", 80), eventAt(kMarchTenth + 180, "C800000A", 443)});
}

std::vector<std::string> addresses(const std::vector<std::string>& args) {
  const ProgramResult result = runQvlog(args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  std::vector<std::string> ips;
  for (const std::string& cells : leadingCells(result.out, 5)) ips.push_back(cells.substr(cells.rfind('\t') + 1));
  return ips;
}

TEST(CliSort, ClicksByIndexOrTitleAlternateOnOneColumn) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", fourEvents());
  using Ips = std::vector<std::string>;
  EXPECT_EQ(addresses({"traffic", log}), (Ips{"10.0.0.200", "9.1.1.1", "10.0.0.9", "10.0.0.10"}));
  EXPECT_EQ(addresses({"traffic", log, "--sort", "4"}), (Ips{"9.1.1.1", "10.0.0.9", "10.0.0.10", "10.0.0.200"}));
  EXPECT_EQ(addresses({"traffic", log, "--sort", "remote ip", "--sort=Remote IP  "}),
            (Ips{"10.0.0.200", "10.0.0.10", "10.0.0.9", "9.1.1.1"}));
  // R Port ascending, ties newest first; then Time undoes it.
  EXPECT_EQ(addresses({"traffic", log, "--sort", "R Port"}), (Ips{"10.0.0.9", "9.1.1.1", "10.0.0.10", "10.0.0.200"}));
  EXPECT_EQ(addresses({"traffic", log, "--sort", "R Port", "--sort", "Time"}),
            (Ips{"10.0.0.200", "9.1.1.1", "10.0.0.9", "10.0.0.10"}));
  EXPECT_EQ(addresses({"traffic", log, "--sort", "0", "--sort", "0", "--sort", "0", "--sort", "0"}),
            (Ips{"10.0.0.10", "10.0.0.9", "9.1.1.1", "10.0.0.200"}));
  EXPECT_EQ(addresses({"traffic", log, "--sort", "4", "--no-block"}), Ips{});
}

TEST(CliSort, PacketColumnsAndUnknownColumns) {
  TempFolder folder;
  PacketFields udp;
  udp.remoteIp = "0200000A";
  const std::string log = folder.write("rawlog.log", packetLog({packetRecord(ipv4Frame(6, 0x12)), packetRecord(ipv4Frame(17), udp),
                                                                packetRecord(ipv4Frame(6, 0x02))}));
  const auto protocolsAndFlags = [&](const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"packets", log};
    args.insert(args.end(), extra.begin(), extra.end());
    const ProgramResult result = runQvlog(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> cells;
    for (const std::string& row : leadingCells(result.out, 10)) {
      cells.push_back(row.substr(row.find("\tIncoming\t") + 10, 3) + row.substr(row.rfind('\t')));
    }
    return cells;
  };
  using Cells = std::vector<std::string>;
  EXPECT_EQ(protocolsAndFlags({"--sort", "TCP Flag"}), (Cells{"UDP\t------", "TCP\txxxxSx", "TCP\txAxxSx"}));
  EXPECT_EQ(protocolsAndFlags({"--sort", "9", "--sort", "tcp flag"}), (Cells{"TCP\txAxxSx", "TCP\txxxxSx", "UDP\t------"}));
  EXPECT_EQ(protocolsAndFlags({"--sort", "Proto"}), (Cells{"UDP\t------", "TCP\txxxxSx", "TCP\txAxxSx"}));

  for (const char* column : {"14", "-1", "Flags", ""}) {
    const ProgramResult result = runQvlog({"traffic", log, "--sort", column});
    EXPECT_EQ(result.exitCode, 2) << column;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("--sort: no column"), std::string::npos) << result.err;
  }
  EXPECT_EQ(runQvlog({"packets", log, "--sort", "Occurrences"}).exitCode, 2);
  EXPECT_EQ(runQvlog({"packets", log, "--analyze"}).exitCode, 2);
}

}  // namespace
}  // namespace qv::test
