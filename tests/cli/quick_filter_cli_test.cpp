#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_views_fixtures.h"
#include "logdata/time_zone_guard.h"
#include "support/system_texts.h"
#include "support/windows_skip.h"

namespace qv::test {
namespace {

// Three events in file order; newest position 0 shows them last to first.
std::string threeEvents() {
  TrafficFields udp = eventAt(kMarchTenth + 1800);
  udp.protocol = "0000012E";
  udp.direction = "00000002";
  udp.action = "00000000";
  udp.remoteIp = "08080808";
  udp.localPort = "00000401";
  udp.remotePort = "00000035";
  udp.occurrences = "00000003";
  udp.nameAddress = "dns.example";
  udp.ruleName = "Allow_dns";
  udp.applicationName = "C:\\WINDOWS\\system32\\svchost.exe";
  TrafficFields icmp = eventAt(kMarchTenth + 3600);
  icmp.protocol = "00000132";
  icmp.remoteIp = "0F00000A";
  icmp.localPort = icmp.remotePort = "00000000";
  return trafficLog({eventAt(kMarchTenth), udp, icmp});
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

TEST(QuickFilterCli, TrafficRowsAndCriteria) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  const std::string now = "2004/03/10 11:30:00";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{log}, kIcmpRow + kUdpRow + kTcpRow + "Records : 3 / 3\n"},
      {{log, "--remote-ip", "10.0.0.1"}, kIcmpRow + "Records : 1 / 3\n"},
      {{log, "--remote-ip=!10."}, kUdpRow + "Records : 1 / 3\n"},
      {{log, "--no-block"}, kUdpRow + "Records : 1 / 3\n"},
      {{log, "--no-in", "--no-udp"}, "Records : 0 / 3\n"},
      {{log, "--no-icmp", "--no-tcp"}, kUdpRow + "Records : 1 / 3\n"},
      {{log, "--remote-port", "1024-"}, kTcpRow + "Records : 1 / 3\n"},
      {{log, "--local-port", "!80", "--local-ip", "192.168.0.2"}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{log, "--app", "svchost"}, kUdpRow + "Records : 1 / 3\n"},
      {{log, "--rule", "!/Block"}, kUdpRow + "Records : 1 / 3\n"},
      {{log, "--time", "1", "--now", now}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{log, "--time", "!1", "--now", now}, kUdpRow + kTcpRow + "Records : 2 / 3\n"},
      {{log, "--now", now, "--time", "-1"}, kIcmpRow + kUdpRow + "Records : 2 / 3\n"},
      {{log, "--time=1-", "--now", now}, kUdpRow + kTcpRow + "Records : 2 / 3\n"},
      {{"--count", log, "--no-allow"}, "Records : 2 / 3\n"},
      {{"--", log}, kIcmpRow + kUdpRow + kTcpRow + "Records : 3 / 3\n"},
  };
  for (auto [args, out] : cases) {
    args.insert(args.begin(), "traffic");
    expectRun(args, 0, out, "");
  }
}

TEST(QuickFilterCli, PacketRows) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  PacketFields tcp;
  tcp.time = timeValueDigits(kMarchTenth, 250);
  tcp.direction = "00000002";
  tcp.action = "00000000";
  tcp.nameAddress = "";
  PacketFields icmp;  // an echo request: its type and code stand in for the ports
  icmp.time = timeValueDigits(kMarchTenth + 1);
  PacketFields arp = tcp;
  arp.time = timeValueDigits(kMarchTenth + 2, 999);
  arp.direction = "00000000";
  const std::vector<std::uint8_t> ipv4 = {0x45, 0, 0, 0, 0, 0, 0, 0, 0, 6};
  std::vector<std::uint8_t> tcpFrame = frameOf(60, 0x0800, ipv4);
  tcpFrame[47] = 0x18;
  std::vector<std::uint8_t> icmpFrame = frameOf(74, 0x0800, ipv4);
  icmpFrame[23] = 1;
  icmpFrame[34] = 8;
  const std::string log = folder.write(
      "rawlog.log", packetLog({packetRecord(tcpFrame, tcp), packetRecord(icmpFrame, icmp),
                               packetRecord(frameOf(42, 0x0806), arp)}));

  const std::string arpRow =
      "2004/03/10 10:00:02.999\tAllow\tUnknown\tARP\t10.0.0.5\t\t1234\t192.168.0.2\t80\t------\tC:\\app.exe\n";
  const std::string icmpRow =
      "2004/03/10 10:00:01.000\tBlock\tIncoming\tICMP\t10.0.0.5\thost.example\t0\t192.168.0.2\t8\t------\t"
      "C:\\app.exe\n";
  const std::string tcpRow =
      "2004/03/10 10:00:00.250\tAllow\tOutgoing\tTCP\t10.0.0.5\t\t1234\t192.168.0.2\t80\txAPxxx\tC:\\app.exe\n";
  expectRun({"packets", log}, 0, arpRow + icmpRow + tcpRow + "Records : 3 / 3\n", "");
  expectRun({"packets", log, "--no-udp", "--no-icmp"}, 0, arpRow + tcpRow + "Records : 2 / 3\n", "");
  expectRun({"packets", log, "--local-port", "8", "--no-out"}, 0, icmpRow + "Records : 1 / 3\n", "");
  expectRun({"packets", log, "--time", "1", "--now", "2004/03/10 11:00:01"}, 0,
            arpRow + icmpRow + "Records : 2 / 3\n", "");
  expectRun({"packets", log, "--count", "--app", "!/app"}, 0, "Records : 0 / 3\n", "");
}

TEST(QuickFilterCli, InvalidCriteriaStopBeforeReading) {
  TempFolder folder;
  const std::string missing = folder.pathOf("missing.log");
  expectRun({"traffic", missing, "--time", "12345"}, 2, "", "Invalid Data : Time : Number\n");
  expectRun({"traffic", missing, "--local-ip", "10,0"}, 2, "", "Invalid Data : Local IP : Invalid Letter \",\"\n");
  expectRun({"packets", missing, "--remote-port", "70000-"}, 2, "", "Invalid Data : RemotePort : Max < Min\n");
}

TEST(QuickFilterCli, FilesThatCannotBeReadOrHoldNothing) {
  TempFolder folder;
  const std::string missing = folder.pathOf("missing.log");
  const std::string packets = folder.write("rawlog.log", packetLog({}) + std::string(300, 'x'));
  const std::string empty = folder.write("empty.log", "");
  const std::string badNewest = folder.write("newest.log", logHeader("00000002", "00000001", "0000000G"));
  const std::string zeroCount = folder.write("zero.log", logHeader("00000002", "00000000", "00000000") + std::string(400, '0'));
  const std::string nonHexCount = folder.write("nonhex.log", logHeader("00000003", "0000001Z", "00000000") + std::string(400, '0'));
  const std::string headerOnly = folder.write("header.log", logHeader("00000002", "00000001", "00000000"));
  const std::string openError = "CFile::Open Error : " + test::noSuchFileText() + "\n";
  const std::string invalid = "Error : Invalid file format\n";
  const std::string none = "Records : 0 / 0\n";
  expectRun({"traffic", missing}, 1, none, openError);
  expectRun({"packets", missing, "--count"}, 1, none, openError);
  expectRun({"traffic", packets}, 1, none, invalid);
  expectRun({"packets", folder.write("tralog.log", threeEvents())}, 1, none, invalid);
  expectRun({"traffic", empty}, 1, none, invalid);
  expectRun({"traffic", badNewest}, 1, none, invalid);
  expectRun({"packets", empty}, 0, none, "");  // an empty packet log is no error
  expectRun({"traffic", zeroCount}, 0, none, "");
  expectRun({"packets", nonHexCount}, 0, none, "");
  expectRun({"traffic", headerOnly}, 0, none, "");
}

TEST(QuickFilterCli, UsageErrors) {
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"stats", log, "--analyze"}, "unknown option '--analyze'"},
      {{"traffic", log, "-x"}, "unknown option '-x'"},
      {{"traffic", log, "--no-allow=1"}, "takes no value"},
      {{"traffic", log, "--time"}, "'--time' needs a value"},
      {{"traffic"}, "missing FILE"},
      {{"traffic", log, log}, "unexpected argument"},
      {{"traffic", log, "--now", "2004-03-10 11:30:00"}, "--now"},
      {{"traffic", log, "--now", "2004/13/10 11:30:00"}, "--now"},
      {{"packets", log, "--rule", "x"}, "--rule applies to the traffic log only"},
  };
  for (const auto& [args, message] : cases) {
    const ProgramResult result = runQvlog(args);
    EXPECT_EQ(result.exitCode, 2) << message;
    EXPECT_EQ(result.out, "") << message;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
}

TEST(QuickFilterCli, OutputThatCannotBeWrittenIsAFailure) {
  QV_SKIP_ON_WINDOWS("needs a POSIX shell and /dev/full");
  TempFolder folder;
  const std::string log = folder.write("tralog.log", threeEvents());
  const ProgramResult result = runProgram("/bin/sh", {"-c", std::string("\"$0\" traffic \"$1\" > /dev/full"), QVLOG_PATH, log});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "qvlog traffic: the output could not be written\n");
}

}  // namespace
}  // namespace qv::test
