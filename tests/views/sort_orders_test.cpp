#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis_test_records.h"
#include "views/address_order.h"
#include "views/packet_sort.h"
#include "views/traffic_sort.h"

namespace qv {
namespace {

using namespace RecordFlag;
using test::trafficEvent;

std::vector<std::string> remoteIps(const std::vector<TrafficRecord>& rows) {
  std::vector<std::string> ips;
  for (const TrafficRecord& row : rows) ips.push_back(row.remoteIp.str());
  return ips;
}

TEST(AddressSortValue, NumericNotTextualAndInvalidAsHighest) {
  EXPECT_LT(addressSortValue("10.0.0.9"), addressSortValue("10.0.0.10"));
  EXPECT_LT(addressSortValue("9.1.1.1"), addressSortValue("10.0.0.1"));
  EXPECT_LT(addressSortValue("1.2.3.4"), addressSortValue("1.2.3.200"));
  EXPECT_EQ(addressSortValue("192.168.0.1"), 0xC0A80001u);
  EXPECT_EQ(addressSortValue("0.0.0.0"), 0u);
  for (const char* invalid : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..2.3", "1.2.3.4 ", "a.b.c.d", "1.2.3.0004",
                              "-1.2.3.4", "All"}) {
    EXPECT_EQ(addressSortValue(invalid), 0xFFFFFFFFu) << invalid;
  }
}

TEST(SortState, ClicksAlternateOnOneColumnAndRestartOnAnother) {
  SortState state;
  EXPECT_FALSE(state.isSorted());
  HeaderChange change = state.click(0);
  EXPECT_EQ(change.clearedColumn, -1);
  EXPECT_EQ(change.arrow, HeaderArrow::kDown);
  EXPECT_EQ(state.direction(), SortDirection::kFirstClick);
  change = state.click(0);
  EXPECT_EQ(change.clearedColumn, 0);
  EXPECT_EQ(change.arrow, HeaderArrow::kUp);
  EXPECT_EQ(state.direction(), SortDirection::kSecondClick);
  EXPECT_EQ(state.click(0).arrow, HeaderArrow::kDown);
  change = state.click(4);
  EXPECT_EQ(change.clearedColumn, 0);
  EXPECT_EQ(change.arrow, HeaderArrow::kDown);
  EXPECT_EQ(state.arrowOf(0), HeaderArrow::kNone);
  EXPECT_EQ(state.arrowOf(4), HeaderArrow::kDown);
  state.reset();
  EXPECT_EQ(state.column(), -1);
  EXPECT_EQ(state.click(4).arrow, HeaderArrow::kDown);  // a refresh forgets the earlier clicks

  std::vector<TrafficRecord> empty;
  SortState untouched;
  EXPECT_FALSE(clickTrafficHeader(untouched, empty, 0).has_value());  // a click on an empty list changes nothing
  EXPECT_FALSE(untouched.isSorted());
  EXPECT_THROW(clickTrafficHeader(untouched, empty, 14), std::out_of_range);
}

TEST(TrafficSort, RemoteIpIsNumericWithInvalidLastAndTiesByNewestTime) {
  std::vector<TrafficRecord> rows = {
      trafficEvent(kTcp, "10.0.0.10", 1, 1), trafficEvent(kTcp, "not an address", 1, 1, "2024/03/01 10:00:00"),
      trafficEvent(kTcp, "1.2.3.200", 1, 1), trafficEvent(kTcp, "255.255.255.255", 1, 1, "2024/03/01 11:00:00"),
      trafficEvent(kTcp, "9.1.1.1", 1, 1),   trafficEvent(kTcp, "1.2.3.4", 1, 1),
      trafficEvent(kTcp, "10.0.0.9", 1, 1),
  };
  sortTrafficRows(rows, 4, SortDirection::kFirstClick);
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"1.2.3.4", "1.2.3.200", "9.1.1.1", "10.0.0.9", "10.0.0.10",
                                                       "255.255.255.255", "not an address"}));
  sortTrafficRows(rows, 4, SortDirection::kSecondClick);
  // The tie (the invalid text counts as 255.255.255.255) still puts the newer event first.
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"255.255.255.255", "not an address", "10.0.0.10", "10.0.0.9",
                                                       "9.1.1.1", "1.2.3.200", "1.2.3.4"}));
}

TEST(TrafficSort, FlagColumnsRankAsTheCellsRead) {
  std::vector<TrafficRecord> rows = {
      trafficEvent(kAllowed | kIcmp, "a", 1, 1), trafficEvent(kBlocked | kOutgoing | kUdp, "b", 1, 1),
      trafficEvent(kAllowed | kIncoming | kOutgoing, "c", 1, 1),  // no protocol bit: shown as TCP
      trafficEvent(kBlocked | kIncoming | kTcp, "d", 1, 1),
  };
  sortTrafficRows(rows, 1, SortDirection::kFirstClick);  // blocked first, ties by remote IP
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"b", "d", "a", "c"}));
  sortTrafficRows(rows, 2, SortDirection::kFirstClick);  // incoming (both bits count as incoming), outgoing, unknown
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"c", "d", "b", "a"}));
  sortTrafficRows(rows, 3, SortDirection::kFirstClick);  // TCP, UDP, ICMP
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"c", "d", "b", "a"}));
  sortTrafficRows(rows, 3, SortDirection::kSecondClick);
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TrafficSort, TiesKeepTheirDirectionAndTextsCompareAsUnsignedBytes) {
  std::vector<TrafficRecord> rows = {
      trafficEvent(kTcp, "b", 80, 1, "2024/03/01 10:00:00"), trafficEvent(kTcp, "a", 80, 1, "2024/03/01 10:00:00"),
      trafficEvent(kTcp, "c", 21, 1, "2024/03/01 10:00:00"), trafficEvent(kTcp, "d", 21, 1, "2024/03/01 09:00:00")};
  sortTrafficRows(rows, 0, SortDirection::kSecondClick);  // oldest first, then remote port and IP ascending
  EXPECT_EQ(remoteIps(rows), (std::vector<std::string>{"d", "c", "a", "b"}));

  std::vector<TrafficRecord> names = {trafficEvent(kTcp, "plain", 1, 1), trafficEvent(kTcp, "high", 1, 1)};
  names[0].nameAddress = "zeta";
  names[1].nameAddress = "\xE9tude";  // 0xE9 sorts above every ASCII byte
  sortTrafficRows(names, 5, SortDirection::kFirstClick);  // descending first
  EXPECT_EQ(remoteIps(names), (std::vector<std::string>{"high", "plain"}));
}

// Rows drawn from small pools so that keys collide often, with texts that
// share long beginnings, run past the packed key prefix, hold NUL and high
// bytes, and differ only in length.
TrafficRecord randomTrafficRow(std::mt19937& random) {
  const auto pick = [&](std::initializer_list<const char*> pool) {
    return std::string(*(pool.begin() + std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)));
  };
  TrafficRecord row;
  row.time = pick({"2024/03/01 10:00:00", "2024/03/01 10:00:01", "2024/03/02 00:00:00", "2023/12/31 23:59:59",
                   "2024/03/01 10:00:00x", ""});
  row.beginTime = pick({"2024/03/01 09:00:00", "2024/03/01 09:00:00", "No Data",
                        "2024/03/01 09:00:00 with a tail longer than any key prefix a",
                        "2024/03/01 09:00:00 with a tail longer than any key prefix b"});
  if (std::uniform_int_distribution<int>(0, 5)(random) == 0) row.time = Text(row.time.str() + std::string(1, '\0'));
  row.endTime = row.time;
  row.remoteIp = pick({"10.0.0.9", "10.0.0.10", "9.1.1.1", "bad", "255.255.255.255", "1.2.3.4"});
  row.localIp = pick({"192.168.0.1", "192.168.0.10", "x", "192.168.0.1"});
  row.nameAddress = pick({"", "a", "a\xFF", "ab", "abcdefghijklmnopqrstuvwxyz0", "abcdefghijklmnopqrstuvwxyz1"});
  if (std::uniform_int_distribution<int>(0, 4)(random) == 0) row.nameAddress = Text(std::string("a\0", 2));
  row.applicationName = pick({"C:\\Program Files\\Common Files\\A very long application path\\one.exe",
                              "C:\\Program Files\\Common Files\\A very long application path\\two.exe",
                              "C:\\Program Files\\Common Files\\A very long application path\\one.exe\x80", "C:\\"});
  const std::string withNul("Allow\0b", 7);
  row.ruleName = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? Text(withNul) : Text(pick({"Allow", "Block_all", "Allow\x01"}));
  row.remotePort = static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 3)(random) * 20000);
  row.localPort = static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 2)(random));
  row.occurrences = std::uniform_int_distribution<std::uint32_t>(0, 2)(random) * 0x7FFFFFFFu;
  row.flags = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
  return row;
}

TEST(TrafficSort, EveryColumnAgreesWithAPlainStableSortByItsOrder) {
  std::mt19937 random(20240301);
  for (int round = 0; round < 40; ++round) {
    std::vector<TrafficRecord> rows(std::uniform_int_distribution<int>(0, 300)(random));
    for (TrafficRecord& row : rows) row = randomTrafficRow(random);
    for (int column = 0; column < kTrafficColumnCount; ++column) {
      for (const SortDirection direction : {SortDirection::kFirstClick, SortDirection::kSecondClick}) {
        std::vector<TrafficRecord> expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const TrafficRecord& a, const TrafficRecord& b) {
          return compareTrafficRows(a, b, column, direction) < 0;
        });
        std::vector<TrafficRecord> sorted = rows;
        sortTrafficRows(sorted, column, direction);
        ASSERT_EQ(sorted, expected) << "column " << column << " round " << round;
      }
    }
  }
}

TEST(PacketSort, EveryColumnAgreesWithAPlainStableSortByItsOrder) {
  std::mt19937 random(7);
  std::vector<PacketRecord> packets;
  for (int i = 0; i < 400; ++i) {
    const TrafficRecord like = randomTrafficRow(random);
    static constexpr const char* kProtocols[] = {"TCP", "UDP", "ICMP", "IGMP", "ARP", "", "RARP"};
    PacketRecord packet = test::packet(kProtocols[i % 7], like.remoteIp.str(), like.localIp.str(), like.remotePort,
                                       like.localPort);
    packet.time = like.time.text();
    packet.flags = like.flags;
    packet.tcpFlags = static_cast<std::uint8_t>(like.occurrences);
    packet.nameAddress = like.nameAddress.text();
    packet.applicationName = like.applicationName.text();
    packets.push_back(packet);
  }
  for (int column = 0; column < kPacketColumnCount; ++column) {
    for (const SortDirection direction : {SortDirection::kFirstClick, SortDirection::kSecondClick}) {
      std::vector<RecordIndex> expected(packets.size());
      for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<RecordIndex>(i);
      std::stable_sort(expected.begin(), expected.end(), [&](RecordIndex a, RecordIndex b) {
        return comparePacketRows(packets[a], packets[b], column, direction) < 0;
      });
      PacketShownList shown = test::shownPackets(packets);
      sortPacketRows(shown, column, direction);
      ASSERT_EQ(shown.order(), expected) << "column " << column;
    }
  }
}

}  // namespace
}  // namespace qv
