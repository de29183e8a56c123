#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/log_fixtures.h"
#include "logdata/time_zone_guard.h"
#include "support/run_program.h"

namespace qv::test {
namespace {

// Three events in file order; newest position 0 shows them last to first.
std::string threeEvents() {
  TrafficLine blockedTcp;  // 10:00, blocked incoming TCP from 10.0.0.5:1234 to port 80
  TrafficLine allowedUdp;
  allowedUdp.time += 1800;
  allowedUdp.protocol = "0000012E";
  allowedUdp.direction = "00000002";
  allowedUdp.action = "00000000";
  allowedUdp.remoteIp = storedIp(8, 8, 8, 8);
  allowedUdp.localPort = 1025;
  allowedUdp.remotePort = 53;
  allowedUdp.occurrences = 3;
  allowedUdp.nameAddress = "dns.example";
  allowedUdp.ruleName = "Allow_dns";
  allowedUdp.applicationName = "C:\\WINDOWS\\system32\\svchost.exe";
  TrafficLine blockedIcmp;
  blockedIcmp.time += 3600;
  blockedIcmp.protocol = "00000132";
  blockedIcmp.remoteIp = storedIp(10, 0, 0, 15);
  blockedIcmp.localPort = 0;
  blockedIcmp.remotePort = 0;
  return trafficLog({blockedTcp, allowedUdp, blockedIcmp});
}

const std::string kIcmpRow =
    "2004/03/10 11:00:00\tBlock\tIncoming\tICMP\t10.0.0.15\t\t0\t192.168.0.2\t0\t1\tC:\\app.exe\tBlock_all\t"
    "2004/03/10 11:00:00\t2004/03/10 11:00:00\n";
const std::string kUdpRow =
    "2004/03/10 10:30:00\tAllow\tOutgoing\tUDP\t8.8.8.8\tdns.example\t53\t192.168.0.2\t1025\t3\t"
    "C:\\WINDOWS\\system32\\svchost.exe\tAllow_dns\t2004/03/10 10:30:00\t2004/03/10 10:30:00\n";
const std::string kTcpRow =
    "2004/03/10 10:00:00\tBlock\tIncoming\tTCP\t10.0.0.5\t\t1234\t192.168.0.2\t80\t1\tC:\\app.exe\tBlock_all\t"
    "2004/03/10 10:00:00\t2004/03/10 10:00:00\n";

struct Expected {
  std::vector<std::string> args;
  std::string out;
};

void expectRun(const std::vector<std::string>& args, int exitCode, const std::string& out, const std::string& err) {
  const ProgramResult result = runQvlog(args);
  std::string shown;
  for (const std::string& arg : args) shown += arg + " ";
  EXPECT_EQ(result.exitCode, exitCode) << shown;
  EXPECT_EQ(result.out, out) << shown;
  EXPECT_EQ(result.err, err) << shown;
}

TEST(QuickFilterCli, TrafficRowsAndCriteria) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  const std::string now = "2004/03/10 11:30:00";
  const Expected cases[] = {
      {{"traffic", log}, kIcmpRow + kUdpRow + kTcpRow + "Records : 3 / 3\n"},
      {{"traffic", log, "--remote-ip", "10.0.0.1"}, kIcmpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--remote-ip=!10."}, kUdpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--no-block"}, kUdpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--no-in", "--no-udp"}, "Records : 0 / 3\n"},
      {{"traffic", log, "--no-icmp", "--no-tcp"}, kUdpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--remote-port", "1024-"}, kTcpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--local-port", "!80"}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{"traffic", log, "--local-ip", "192.168.0.2"}, kIcmpRow + kUdpRow + kTcpRow + "Records : 3 / 3\n"},
      {{"traffic", log, "--app", "svchost"}, kUdpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--rule", "!/Block"}, kUdpRow + "Records : 1 / 3\n"},
      {{"traffic", log, "--time", "1", "--now", now}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{"traffic", log, "--time", "!1", "--now", now}, kUdpRow + kTcpRow + "Records : 2 / 3\n"},
      {{"traffic", log, "--now", now, "--time", "-1"}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{"traffic", log, "--time=1-", "--now", now}, kUdpRow + kTcpRow + "Records : 2 / 3\n"},
      {{"traffic", "--count", log, "--no-allow"}, "Records : 2 / 3\n"},
      {{"traffic", "--", log}, kIcmpRow + kUdpRow + kTcpRow + "Records : 3 / 3\n"},
  };
  for (const Expected& c : cases) expectRun(c.args, 0, c.out, "");
}

TEST(QuickFilterCli, TrafficRingOrderStartsAtTheNewestPosition) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  std::vector<TrafficLine> lines(5);
  for (std::size_t i = 0; i < lines.size(); ++i) lines[i].nameAddress = "event" + std::to_string(i);
  const std::string log = folder.write("ring.log", trafficLog(lines, 3));
  const ProgramResult result = runQvlog({"traffic", log});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string names;
  for (std::size_t at = result.out.find("event"); at != std::string::npos; at = result.out.find("event", at + 1)) {
    names += result.out[at + 5];
  }
  EXPECT_EQ(names, "21043");
}

TEST(QuickFilterCli, InvalidCriteriaStopBeforeReading) {
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  expectRun({"traffic", log, "--time", "12345"}, 2, "", "Invalid Data : Time : Number\n");
  expectRun({"traffic", log, "--time", "1-2-3"}, 2, "", "Invalid Data : Time : Multiple '-'\n");
  expectRun({"traffic", log, "--time", "1a"}, 2, "", "Invalid Data : Time : Invalid Letter \"a\"\n");
  expectRun({"traffic", log, "--local-ip", "10,0"}, 2, "", "Invalid Data : Local IP : Invalid Letter \",\"\n");
  expectRun({"traffic", log, "--remote-port", "70000-"}, 2, "", "Invalid Data : RemotePort : Max < Min\n");
  expectRun({"packets", log, "--local-port", "1-70000"}, 2, "", "Invalid Data : LocalPort : Max > 65535\n");
  // Validation comes before the file is opened.
  expectRun({"traffic", folder.pathOf("missing.log"), "--remote-port", "123456-1"}, 2, "",
            "Invalid Data : RemotePort : Number\n");
}

TEST(QuickFilterCli, FilesThatCannotBeRead) {
  TempFolder folder;
  const std::string missing = folder.pathOf("missing.log");
  for (const char* command : {"traffic", "packets"}) {
    expectRun({command, missing}, 1, "Records : 0 / 0\n", "CFile::Open Error : No such file or directory\n");
    expectRun({command, missing, "--count"}, 1, "Records : 0 / 0\n", "CFile::Open Error : No such file or directory\n");
  }
  const std::string packetLogFile = folder.write("rawlog.log", packetLog({}) + std::string(300, 'x'));
  const std::string trafficLogFile = folder.write("tralog.log", threeEvents());
  const std::string empty = folder.write("empty.log", "");
  const std::string shortHeader = folder.write("short.log", threeEvents().substr(0, 71));
  const std::string badNewest = folder.write("newest.log", logHeader("00000002", 1, 0).replace(36, 8, "0000000G"));
  expectRun({"traffic", packetLogFile}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  expectRun({"packets", trafficLogFile}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  expectRun({"traffic", empty}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  expectRun({"traffic", shortHeader}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  expectRun({"traffic", badNewest}, 1, "Records : 0 / 0\n", "Error : Invalid file format\n");
  // An empty packet log is no error, unlike an empty traffic log.
  expectRun({"packets", empty}, 0, "Records : 0 / 0\n", "");
}

TEST(QuickFilterCli, LogsWithoutRecords) {
  TempFolder folder;
  const std::string zeroCount = folder.write("zero.log", logHeader("00000002", 0, 0) + std::string(400, '0'));
  const std::string nonHexCount =
      folder.write("nonhex.log", logHeader("00000003", 0, 0).replace(27, 8, "0000001Z") + std::string(400, '0'));
  const std::string headerOnly = folder.write("header.log", logHeader("00000002", 1, 0));
  expectRun({"traffic", zeroCount}, 0, "Records : 0 / 0\n", "");
  expectRun({"packets", nonHexCount}, 0, "Records : 0 / 0\n", "");
  expectRun({"traffic", headerOnly}, 0, "Records : 0 / 0\n", "");
}

TEST(QuickFilterCli, UsageErrors) {
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"traffic", log, "--sort", "0"}, "unknown option '--sort'"},
      {{"traffic", log, "--no-allow=1"}, "takes no value"},
      {{"traffic", log, "--time"}, "'--time' needs a value"},
      {{"traffic"}, "missing FILE"},
      {{"traffic", log, log}, "unexpected argument"},
      {{"traffic", log, "--now", "2004-03-10 11:30:00"}, "--now"},
      {{"traffic", log, "--now", "2004/13/10 11:30:00"}, "--now"},
      {{"packets", log, "--rule", "x"}, "--rule applies to the traffic log only"},
      {{"packets", log, "--filter-list", "x"}, "unknown option '--filter-list'"},
      {{"traffic", log, "-x"}, "unknown option '-x'"},
  };
  for (const Case& c : cases) {
    const ProgramResult result = runQvlog(c.args);
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_EQ(result.out, "") << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

TEST(QuickFilterCli, PacketRows) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  PacketLine tcp;
  tcp.frame = ethernetFrame(60, 0x0800, 6, 0x18);
  PacketLine icmp;  // an echo request: its type and code stand in for the ports
  icmp.time += 1;
  icmp.milliseconds = 0;
  icmp.direction = "00000001";
  icmp.action = "00000001";
  icmp.nameAddress = "peer.example";
  icmp.frame = ethernetFrame(74, 0x0800, 1);
  icmp.frame[34] = 8;
  PacketLine arp;
  arp.time += 2;
  arp.milliseconds = 999;
  arp.direction = "00000000";
  arp.localPort = 0;
  arp.remotePort = 0;
  arp.frame = ethernetFrame(42, 0x0806);
  const std::string log = folder.write("rawlog.log", packetLog({tcp, icmp, arp}));

  const std::string arpRow =
      "2004/03/10 10:00:02.999\tAllow\tUnknown\tARP\t10.0.0.5\t\t0\t192.168.0.2\t0\t------\tC:\\app.exe\n";
  const std::string icmpRow =
      "2004/03/10 10:00:01.000\tBlock\tIncoming\tICMP\t10.0.0.5\tpeer.example\t0\t192.168.0.2\t8\t------\t"
      "C:\\app.exe\n";
  const std::string tcpRow =
      "2004/03/10 10:00:00.250\tAllow\tOutgoing\tTCP\t10.0.0.5\t\t80\t192.168.0.2\t1025\txAPxxx\tC:\\app.exe\n";
  expectRun({"packets", log}, 0, arpRow + icmpRow + tcpRow + "Records : 3 / 3\n", "");
  // Only TCP checked: the ARP packet still passes.
  expectRun({"packets", log, "--no-udp", "--no-icmp"}, 0, arpRow + tcpRow + "Records : 2 / 3\n", "");
  expectRun({"packets", log, "--local-port", "8"}, 0, icmpRow + "Records : 1 / 3\n", "");
  expectRun({"packets", log, "--no-out"}, 0, arpRow + icmpRow + "Records : 2 / 3\n", "");
  expectRun({"packets", log, "--time", "1", "--now", "2004/03/10 11:00:01"}, 0,
            arpRow + icmpRow + "Records : 2 / 3\n", "");
  expectRun({"packets", log, "--count", "--app", "!/app"}, 0, "Records : 0 / 3\n", "");
}

}  // namespace
}  // namespace qv::test
