#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_test_records.h"
#include "views/port_report.h"
#include "views/port_statistics.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord counted(std::uint8_t flags, std::uint16_t localPort, std::uint32_t count) {
  TrafficRecord event = test::trafficEvent(flags, "10.0.0.1", 1234, localPort);
  event.occurrences = count;
  return event;
}

TEST(PortStatistics, RankingWithEqualCountsInOrderOfFirstAppearance) {
  const std::vector<TrafficRecord> rows = {
      counted(kBlocked | kIncoming | kTcp, 80, 3), counted(kBlocked | kIncoming | kUdp, 53, 1),
      counted(kAllowed | kIncoming | kTcp, 80, 100), counted(kBlocked | kOutgoing | kTcp, 80, 100),
      counted(kBlocked | kIncoming | kTcp, 80, 1), counted(kBlocked | kIncoming | kTcp, 21, 4),
  };
  EXPECT_EQ(portStatisticsText(rows),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n"
            " TCP\t80\t4\t 44.44\r\n"
            " TCP\t21\t4\t 44.44\r\n"
            " UDP\t53\t1\t 11.11");
}

TEST(PortStatistics, ProtocolKeysAndFullShare) {
  const std::vector<TrafficRecord> rows = {counted(kBlocked | kIncoming | kIcmp, 8, 1),
                                           counted(kBlocked | kIncoming, 8, 1),  // no protocol bit counts as TCP
                                           counted(kBlocked | kIncoming | kUdp | kIcmp, 8, 2)};
  EXPECT_EQ(portStatisticsText(rows),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n"
            " UDP\t8\t2\t 50.00\r\n"
            " ICMP\t8\t1\t 25.00\r\n"
            " TCP\t8\t1\t 25.00");
  EXPECT_EQ(portStatisticsText(std::vector<TrafficRecord>{counted(kBlocked | kIncoming | kTcp, 135, 42)}),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n TCP\t135\t42\t100.00");
}

TEST(PortStatistics, OnlyTheHeaderWithoutBlockedIncomingEvents) {
  EXPECT_EQ(portStatisticsText({}), "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n");
  EXPECT_EQ(portStatisticsText(std::vector<TrafficRecord>{counted(kAllowed | kIncoming | kTcp, 80, 1), counted(kBlocked | kOutgoing | kUdp, 53, 1),
                                noDataTrafficRecord()}),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n");
}

TEST(PortStatistics, LargeAndZeroTotalsStayMeaningful) {
  // Two counts near the 32-bit limit: their sum must not wrap.
  const std::vector<TrafficRecord> large = {counted(kBlocked | kIncoming | kTcp, 80, 4294967295u),
                                            counted(kBlocked | kIncoming | kTcp, 80, 4294967295u),
                                            counted(kBlocked | kIncoming | kTcp, 81, 4294967295u)};
  EXPECT_EQ(portStatisticsText(large),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n"
            " TCP\t80\t8589934590\t 66.67\r\n"
            " TCP\t81\t4294967295\t 33.33");
  // Events logged with no occurrences: no division by zero.
  EXPECT_EQ(portStatisticsText(std::vector<TrafficRecord>{counted(kBlocked | kIncoming | kTcp, 80, 0)}),
            "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n TCP\t80\t0\t  0.00");
}

TEST(PortReport, ServicePortFollowsTheEventPattern) {
  const auto url = [](const TrafficRecord& event) { return std::get<PortReportPage>(portReportFor(&event)).url; };
  const std::string page = "https://isc.sans.edu/port_details.html?port=";
  struct Case {
    std::uint8_t flags;
    std::uint16_t remotePort, localPort;
    const char* port;
  };
  for (const Case& c : {Case{kBlocked | kIncoming | kTcp, 4321, 139, "139"}, Case{kBlocked | kIncoming | kTcp, 20, 4000, "20"},
                        Case{kAllowed | kOutgoing | kTcp, 443, 1028, "443"}, Case{kAllowed | kOutgoing | kUdp, 53, 1028, "53"},
                        Case{kAllowed | kOutgoing | kUdp, 3000, 53, "53"}, Case{kBlocked | kIncoming | kUdp, 3000, 137, "137"},
                        Case{kBlocked | kUdp, 3000, 137, "137"}}) {
    EXPECT_EQ(url(test::trafficEvent(c.flags, "10.0.0.1", c.remotePort, c.localPort)), page + c.port) << c.port;
  }
  EXPECT_EQ(std::get<PortReportPage>(portReportFor(nullptr)).url, page);
  EXPECT_EQ(url(noDataTrafficRecord()), page);
}

TEST(PortReport, IcmpEventsAreExplainedNotLookedUp) {
  const auto box = [](std::uint16_t type, std::uint16_t code) {
    const TrafficRecord event = test::trafficEvent(kBlocked | kIncoming | kIcmp, "10.0.0.1", code, type);
    return std::get<IcmpExplanationBox>(portReportFor(&event)).text;
  };
  EXPECT_EQ(box(3, 3), "ICMP\r\nType : Destination Unreachable\r\nCode : Port Unreachable");
  EXPECT_EQ(box(8, 0), "ICMP\r\nType : Echo Request");
  EXPECT_EQ(box(3, 20), "ICMP\r\nType : Destination Unreachable");
  EXPECT_EQ(box(30, 1), "ICMP\r\nType : Traceroute\r\n Code : No route for Outbound Packet / Packet discarded");
  EXPECT_EQ(box(9, 16), "ICMP\r\nType : Router Advertisement\r\nCode : Does not route common traffic");
  EXPECT_EQ(box(9, 1), "ICMP\r\nType : Router Advertisement");
  EXPECT_EQ(box(65535, 0), "ICMP\r\nType : Unknown");
}

}  // namespace
}  // namespace qv
