#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/filter_entry.h"
#include "filter/filter_list.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord event(std::uint8_t flags, const char* remoteIp, std::uint16_t remotePort, const char* localIp,
                    std::uint16_t localPort, const char* application = "C:\\app.exe", const char* rule = "Block_all") {
  TrafficRecord record;
  record.flags = flags;
  record.remoteIp = remoteIp;
  record.remotePort = remotePort;
  record.localIp = localIp;
  record.localPort = localPort;
  record.applicationName = application;
  record.ruleName = rule;
  record.time = "2004/01/02 03:04:05";
  record.nameAddress = "host.example";
  record.occurrences = 3;
  return record;
}

TEST(FilterEntryMatch, BlankEntryMatchesEveryEvent) {
  const FilterEntry blank = blankFilterEntry();
  EXPECT_EQ(blank.flags, 0xFF);
  EXPECT_EQ(blank.portMarker(), "RPTNLPTN");
  for (std::uint8_t flags : {0x00, 0x40, kTcp | kIncoming | kBlocked, kUdp | kOutgoing | kAllowed, kIcmp | kAllowed}) {
    EXPECT_TRUE(matches(event(flags, "10.0.0.5", 1234, "192.168.0.2", 80), blank)) << int(flags);
  }
}

TEST(FilterEntryMatch, FlagGroupsMatchAnyOfTheirBits) {
  FilterEntry entry = blankFilterEntry();
  entry.flags = kTcp | kUdp | kDirectionMask | kActionMask;
  EXPECT_TRUE(matches(event(kUdp | kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  EXPECT_FALSE(matches(event(kIcmp | kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  // A record without a protocol bit matches only an entry with all three.
  EXPECT_FALSE(matches(event(kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  entry.flags = kDirectionMask | kActionMask;
  EXPECT_FALSE(matches(event(kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  entry.flags = kProtocolMask | kDirectionMask | kBlocked;
  EXPECT_TRUE(matches(event(kIncoming | kBlocked, "1.1.1.1", 1, "2.2.2.2", 2), entry));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kAllowed, "1.1.1.1", 1, "2.2.2.2", 2), entry));
}

TEST(FilterEntryMatch, DirectionRuleForUnknownDirections) {
  FilterEntry entry = blankFilterEntry();
  const TrafficRecord incoming = event(kTcp | kIncoming | kBlocked, "1.1.1.1", 1, "2.2.2.2", 2);
  const TrafficRecord outgoing = event(kTcp | kOutgoing | kBlocked, "1.1.1.1", 1, "2.2.2.2", 2);
  const TrafficRecord unknown = event(kTcp | kBlocked, "1.1.1.1", 1, "2.2.2.2", 2);

  entry.flags = kProtocolMask | kActionMask;  // no direction bit: unknown direction only
  EXPECT_FALSE(matches(incoming, entry));
  EXPECT_FALSE(matches(outgoing, entry));
  EXPECT_TRUE(matches(unknown, entry));

  entry.flags = kProtocolMask | kActionMask | kIncoming;
  EXPECT_TRUE(matches(incoming, entry));
  EXPECT_FALSE(matches(outgoing, entry));
  EXPECT_FALSE(matches(unknown, entry));

  entry.flags = kProtocolMask | kActionMask | kDirectionMask;
  EXPECT_TRUE(matches(incoming, entry));
  EXPECT_TRUE(matches(outgoing, entry));
  EXPECT_TRUE(matches(unknown, entry));
}

TEST(FilterEntryMatch, PortsCompareUnlessTheMarkerNamesThem) {
  FilterEntry entry = blankFilterEntry();
  entry.remotePort = 1234;
  entry.localPort = 80;
  const TrafficRecord record = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 1234, "192.168.0.2", 80);
  const TrafficRecord otherLocal = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 1234, "192.168.0.2", 81);
  const TrafficRecord otherRemote = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 999, "192.168.0.2", 80);
  entry.setPortMarker("");
  EXPECT_TRUE(matches(record, entry));
  EXPECT_FALSE(matches(otherLocal, entry));
  EXPECT_FALSE(matches(otherRemote, entry));
  entry.setPortMarker("xxLPTNyy");  // only containment counts
  EXPECT_TRUE(matches(otherLocal, entry));
  EXPECT_FALSE(matches(otherRemote, entry));
  entry.setPortMarker("RPTN");
  EXPECT_FALSE(matches(otherLocal, entry));
  EXPECT_TRUE(matches(otherRemote, entry));
}

TEST(EventPattern, MarkerDependsOnProtocolAndDirection) {
  struct Case {
    std::uint8_t flags;
    std::uint16_t remotePort;
    std::uint16_t localPort;
    const char* marker;
  };
  const std::vector<Case> cases = {
      {kTcp | kIncoming | kBlocked, 3456, 80, "RPTN"}, {kTcp | kIncoming | kBlocked, 20, 5001, "LPTN"},
      {kTcp | kOutgoing | kAllowed, 80, 3456, "LPTN"}, {kTcp | kAllowed, 80, 3456, ""},
      {kUdp | kIncoming | kAllowed, 53, 1027, "RPTN"}, {kUdp | kOutgoing | kAllowed, 1027, 53, "RPTN"},
      {kUdp | kOutgoing | kAllowed, 53, 1027, "LPTN"}, {kUdp | kBlocked, 53, 1027, ""},
      {kIcmp | kIncoming | kBlocked, 0, 8, ""},         {kOutgoing | kBlocked, 1, 2, ""},
  };
  for (const Case& c : cases) {
    const TrafficRecord record = event(c.flags, "10.0.0.5", c.remotePort, "192.168.0.2", c.localPort);
    const FilterEntry pattern = makeEventPattern(record);
    EXPECT_EQ(pattern.portMarker(), c.marker) << int(c.flags) << " " << c.remotePort << " " << c.localPort;
    EXPECT_EQ(pattern.flags, c.flags);
    EXPECT_EQ(pattern.remoteIp, "All");
    EXPECT_EQ(pattern.localIp, "All");
    EXPECT_EQ(pattern.applicationName, record.applicationName);
    EXPECT_EQ(pattern.ruleName, record.ruleName);
    // The pattern of a protocol-less event keeps no protocol bit, so it matches nothing.
    EXPECT_EQ(matches(record, pattern), (c.flags & kProtocolMask) != 0);
  }
}

TEST(EventPattern, IncomingTcpPatternIgnoresAddressesAndRemotePortOnly) {
  const TrafficRecord original = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 3456, "192.168.0.2", 80);
  const FilterEntry pattern = makeEventPattern(original);
  EXPECT_TRUE(matches(event(kTcp | kIncoming | kBlocked, "172.16.9.9", 61000, "192.168.0.7", 80), pattern));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 3456, "192.168.0.2", 81), pattern));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kAllowed, "10.0.0.5", 3456, "192.168.0.2", 80), pattern));
  EXPECT_FALSE(matches(event(kUdp | kIncoming | kBlocked, "10.0.0.5", 3456, "192.168.0.2", 80), pattern));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 3456, "192.168.0.2", 80, "C:\\other.exe"), pattern));

  // From remote port 20 the remote port is kept and the local one ignored.
  const FilterEntry ftpData = makeEventPattern(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 20, "192.168.0.2", 5001));
  EXPECT_TRUE(matches(event(kTcp | kIncoming | kBlocked, "10.9.9.9", 20, "192.168.0.2", 6002), ftpData));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 21, "192.168.0.2", 5001), ftpData));
}

TEST(EventPattern, UnknownDirectionPatternHidesOnlyUnknownDirection) {
  const FilterEntry pattern = makeEventPattern(event(kTcp | kBlocked, "10.0.0.5", 3456, "192.168.0.2", 80));
  EXPECT_TRUE(matches(event(kTcp | kBlocked, "1.2.3.4", 3456, "5.6.7.8", 80), pattern));
  EXPECT_FALSE(matches(event(kTcp | kBlocked, "1.2.3.4", 3457, "5.6.7.8", 80), pattern));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "1.2.3.4", 3456, "5.6.7.8", 80), pattern));
}

TEST(AddToFilterList, EntriesByFieldNarrowTheBlankEntry) {
  const TrafficRecord source = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 80, "192.168.0.2", 3456);

  // A remote-port entry hides every event with that remote port, whatever else.
  const FilterEntry remotePort = makeFilterEntry(source, AddToFilterListCommand::kRemotePort);
  EXPECT_EQ(remotePort.portMarker(), "LPTN");
  EXPECT_TRUE(matches(event(kUdp | kOutgoing | kAllowed, "1.1.1.1", 80, "2.2.2.2", 9, "x", "y"), remotePort));
  EXPECT_TRUE(matches(event(0x40, "", 80, "", 0, "", ""), remotePort));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 81, "192.168.0.2", 3456), remotePort));

  const FilterEntry localPort = makeFilterEntry(source, AddToFilterListCommand::kLocalPort);
  EXPECT_EQ(localPort.portMarker(), "RPTN");
  EXPECT_TRUE(matches(event(kUdp | kAllowed, "1.1.1.1", 7, "2.2.2.2", 3456), localPort));
  EXPECT_FALSE(matches(event(kUdp | kAllowed, "1.1.1.1", 80, "2.2.2.2", 3457), localPort));

  const FilterEntry application = makeFilterEntry(source, AddToFilterListCommand::kApplicationName);
  EXPECT_EQ(application.portMarker(), "RPTNLPTN");
  EXPECT_TRUE(matches(event(kUdp | kOutgoing | kAllowed, "9.9.9.9", 1, "8.8.8.8", 2, "C:\\app.exe", "x"), application));
  EXPECT_FALSE(matches(event(kTcp | kIncoming | kBlocked, "10.0.0.5", 80, "192.168.0.2", 3456, "c:\\app.exe"),
                       application));  // texts compare case-sensitively
  EXPECT_EQ(makeFilterEntry(source, AddToFilterListCommand::kRemoteIp).remoteIp, "10.0.0.5");
  EXPECT_EQ(makeFilterEntry(source, AddToFilterListCommand::kLocalIp).localIp, "192.168.0.2");
  EXPECT_EQ(makeFilterEntry(source, AddToFilterListCommand::kRuleName).ruleName, "Block_all");
  EXPECT_EQ(makeFilterEntry(source, AddToFilterListCommand::kPattern), makeEventPattern(source));
}

TEST(AddToFilterList, AppendsOnlyWithASelectedEvent) {
  FilterList list;
  const TrafficRecord source = event(kTcp | kIncoming | kBlocked, "10.0.0.5", 80, "192.168.0.2", 3456);
  addToFilterList(list, nullptr, AddToFilterListCommand::kRemoteIp);
  EXPECT_TRUE(list.empty());
  addToFilterList(list, &source, AddToFilterListCommand::kRemoteIp);
  addToFilterList(list, &source, AddToFilterListCommand::kRemoteIp);  // duplicates are kept
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].remoteIp, "10.0.0.5");
  EXPECT_TRUE(list.isExcluded(source));
  EXPECT_FALSE(list.isExcluded(event(kTcp | kIncoming | kBlocked, "10.0.0.6", 80, "192.168.0.2", 3456)));

  EXPECT_EQ(addToFilterListCommandFromValue(32811), AddToFilterListCommand::kRemoteIp);
  EXPECT_EQ(addToFilterListCommandFromValue(32817), AddToFilterListCommand::kPattern);
  EXPECT_EQ(addToFilterListCommandFromValue(32810), std::nullopt);
  EXPECT_EQ(addToFilterListCommandFromValue(32818), std::nullopt);
}

TEST(FilterAddress, Check) {
  for (const char* good : {"All", "0.0.0.0", "255.255.255.255", "10..0.1", "...", "192.168.001.1"}) {
    EXPECT_TRUE(isValidFilterAddress(good)) << good;
  }
  for (const char* bad : {"", "all", "10.0.0", "10.0.0.0.1", "192.168.1.300", "1.2.3.0256", "1.2.3.a", " 1.2.3.4",
                          "1.2.3.4 ", "-1.2.3.4"}) {
    EXPECT_FALSE(isValidFilterAddress(bad)) << bad;
  }
}

}  // namespace
}  // namespace qv
