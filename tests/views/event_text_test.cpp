#include <gtest/gtest.h>

#include "analysis_test_records.h"
#include "views/event_text.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord fullEvent() {
  TrafficRecord event = test::trafficEvent(kBlocked | kIncoming | kTcp, "10.0.0.1", 4321, 139, "2024/03/01 10:00:05");
  event.nameAddress = "host.example";
  event.occurrences = 4294967295u;
  event.beginTime = "2024/03/01 09:00:00";
  event.endTime = "2024/03/01 10:00:05";
  event.applicationName = "C:\\app %s.exe";
  event.ruleName = "Block_all";
  return event;
}

TEST(TrafficEventText, FieldsInCopyOrderEachFollowedByATab) {
  EXPECT_EQ(trafficEventText(fullEvent()),
            "2024/03/01 10:00:05\tBlocked\tIncoming\tTCP\t10.0.0.1\t[host.example]\t4321\t192.168.0.2\t139\t"
            "C:\\app %s.exe\t4294967295\t2024/03/01 09:00:00\t2024/03/01 10:00:05\tBlock_all\t");
}

TEST(TrafficEventText, EmptyNameAddressLeavesOutItsFieldAndTab) {
  TrafficRecord event = fullEvent();
  event.nameAddress = "";
  event.flags = kAllowed | kOutgoing | kUdp;
  EXPECT_EQ(trafficEventText(event),
            "2024/03/01 10:00:05\tAllowed\tOutgoing\tUDP\t10.0.0.1\t4321\t192.168.0.2\t139\t"
            "C:\\app %s.exe\t4294967295\t2024/03/01 09:00:00\t2024/03/01 10:00:05\tBlock_all\t");
}

TEST(TrafficEventText, ProtocolAndDirectionFallBacks) {
  TrafficRecord event = fullEvent();
  event.flags = kAllowed;  // no protocol bit copies as ICMP, no direction bit as Unknown
  EXPECT_TRUE(trafficEventText(event).starts_with("2024/03/01 10:00:05\tAllowed\tUnknown\tICMP\t10.0.0.1\t"));
  event.flags = kTcp | kUdp | kIncoming | kOutgoing;  // TCP wins here, incoming wins
  EXPECT_TRUE(trafficEventText(event).starts_with("2024/03/01 10:00:05\tBlocked\tIncoming\tTCP\t"));
}

TEST(PacketEventText, StoredProtocolNameAndNoTrafficOnlyFields) {
  PacketRecord packet = test::packet("IGMP", "224.0.0.1", "192.168.0.2", 0, 0);
  packet.flags = kAllowed | kIncoming;
  packet.applicationName = "System";
  EXPECT_EQ(packetEventText(packet),
            "2024/03/01 10:00:00.000\tAllowed\tIncoming\tIGMP\t224.0.0.1\t0\t192.168.0.2\t0\tSystem\t");
  packet.nameAddress = "all-systems";
  packet.protocol = "";
  EXPECT_EQ(packetEventText(packet),
            "2024/03/01 10:00:00.000\tAllowed\tIncoming\t\t224.0.0.1\t[all-systems]\t0\t192.168.0.2\t0\tSystem\t");
}

}  // namespace
}  // namespace qv
