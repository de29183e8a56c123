#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/packet_columns.h"
#include "views/packet_shown_list.h"
#include "views/traffic_columns.h"
#include "views/traffic_shown_list.h"

namespace qv {
namespace {

using namespace RecordFlag;

std::vector<std::string> trafficRow(const TrafficRecord& record) {
  std::vector<std::string> cells;
  for (int column = 0; column < kTrafficColumnCount; ++column) {
    cells.push_back(trafficCellText(record, static_cast<TrafficColumn>(column)));
  }
  return cells;
}

std::vector<std::string> packetRow(const PacketRecord& record) {
  std::vector<std::string> cells;
  for (int column = 0; column < kPacketColumnCount; ++column) {
    cells.push_back(packetCellText(record, static_cast<PacketColumn>(column)));
  }
  return cells;
}

TEST(TrafficColumns, CellTextsOfAnEvent) {
  TrafficRecord record;
  record.nameAddress = "host.example";
  record.occurrences = 4294967295u;
  record.ruleName = "Block_all";
  record.applicationName = "C:\\app %s.exe";  // never read as a format
  record.time = "2004/01/02 03:04:05";
  record.beginTime = "2004/01/02 03:00:00";
  record.endTime = "";
  record.localPort = 0;
  record.remotePort = 65535;
  record.localIp = "192.168.0.1";
  record.remoteIp = "10.0.0.1";
  record.flags = kBlocked | kIncoming | kUdp;
  EXPECT_EQ(trafficRow(record),
            (std::vector<std::string>{"2004/01/02 03:04:05", "Block", "Incoming", "UDP", "10.0.0.1", "host.example",
                                      "65535", "192.168.0.1", "0", "4294967295", "C:\\app %s.exe", "Block_all",
                                      "2004/01/02 03:00:00", ""}));
}

TEST(TrafficColumns, FlagWords) {
  struct Case {
    std::uint8_t flags;
    const char* action;
    const char* direction;
    const char* protocol;
  };
  const Case cases[] = {
      {kAllowed | kOutgoing | kIcmp, "Allow", "Outgoing", "ICMP"},
      {kBlocked | kTcp, "Block", "Unknown", "TCP"},
      {kAllowed, "Allow", "Unknown", "TCP"},  // no protocol bit shows as TCP
      {0, "Block", "Unknown", "TCP"},
  };
  for (const Case& c : cases) {
    TrafficRecord record;
    record.flags = c.flags;
    EXPECT_EQ(trafficCellText(record, TrafficColumn::Action), c.action);
    EXPECT_EQ(trafficCellText(record, TrafficColumn::Direction), c.direction);
    EXPECT_EQ(trafficCellText(record, TrafficColumn::Protocol), c.protocol);
  }
}

TEST(TrafficColumns, NoDataRowShowsOnlyItsTime) {
  std::vector<std::string> expected(kTrafficColumnCount);
  expected[0] = "No Data";
  EXPECT_EQ(trafficRow(noDataTrafficRecord()), expected);
  EXPECT_TRUE(TrafficShownList::noData().isNoDataPlaceholder());
  EXPECT_FALSE(TrafficShownList{}.isNoDataPlaceholder());
}

TEST(TrafficColumns, LayoutAndIcons) {
  EXPECT_EQ(kTrafficColumnLayout[4].title, "Remote IP  ");
  EXPECT_EQ(kTrafficColumnLayout[7].title, "Local IP  ");
  EXPECT_EQ(kTrafficColumnLayout[9].title, "Occurrences");
  int rightAligned = 0;
  for (const ColumnLayout& column : kTrafficColumnLayout) rightAligned += column.rightAligned ? 1 : 0;
  EXPECT_EQ(rightAligned, 5);

  EXPECT_EQ(actionDirectionIcon(kAllowed | kIncoming), 0);
  EXPECT_EQ(actionDirectionIcon(kBlocked | kIncoming), 1);
  EXPECT_EQ(actionDirectionIcon(kAllowed | kOutgoing), 2);
  EXPECT_EQ(actionDirectionIcon(kBlocked | kOutgoing), 3);
  EXPECT_EQ(actionDirectionIcon(kAllowed), 4);
  EXPECT_EQ(actionDirectionIcon(kBlocked), 5);
  EXPECT_EQ(trafficProtocolIcon(kIcmp), 8);
  EXPECT_EQ(trafficProtocolIcon(0), 6);

  EXPECT_EQ(ruleIcon("Allow_web"), 9);
  EXPECT_EQ(ruleIcon("My Allow"), std::nullopt);
  EXPECT_EQ(ruleIcon("GUI%GUICONFIG#SRULE#ALLOWALL x"), 9);
  EXPECT_EQ(ruleIcon("Ask all running apps"), 10);
  EXPECT_EQ(ruleIcon("GUI%GUICONFIG#SRULE#BLOCKALL"), 11);
  EXPECT_EQ(ruleIcon("Block_all"), 12);
  EXPECT_EQ(ruleIcon("GUI%GUICONFIG#SRULE@ADVRULE"), 16);
  EXPECT_EQ(ruleIcon("allow"), std::nullopt);
}

TEST(PacketColumns, CellTextsOfAPacket) {
  PacketRecord record;
  record.time = "2004/01/02 03:04:05.250";
  record.flags = kAllowed | kOutgoing;
  record.protocol = "TCP";
  record.remoteIp = "10.0.0.1";
  record.nameAddress = "";
  record.remotePort = 443;
  record.localIp = "192.168.0.1";
  record.localPort = 50000;
  record.tcpFlags = 0x12;
  record.applicationName = "C:\\browser.exe";
  EXPECT_EQ(packetRow(record),
            (std::vector<std::string>{"2004/01/02 03:04:05.250", "Allow", "Outgoing", "TCP", "10.0.0.1", "", "443",
                                      "192.168.0.1", "50000", "xAxxSx", "C:\\browser.exe"}));
  // Only TCP packets show their flag byte.
  for (const char* protocol : {"UDP", "ARP", "", "tcp"}) {
    record.protocol = protocol;
    EXPECT_EQ(packetCellText(record, PacketColumn::TcpFlags), "------") << protocol;
  }
  record.protocol = "ICMP";
  record.flags = kBlocked;
  EXPECT_EQ(packetCellText(record, PacketColumn::Action), "Block");
  EXPECT_EQ(packetCellText(record, PacketColumn::Direction), "Unknown");
  EXPECT_EQ(packetCellText(record, PacketColumn::Protocol), "ICMP");
}

TEST(PacketColumns, NoDataRowAndIcons) {
  std::vector<std::string> expected(kPacketColumnCount);
  expected[0] = "No Data";
  EXPECT_EQ(packetRow(noDataPacketRecord()), expected);
  const PacketShownList cleared = PacketShownList::noData();
  ASSERT_EQ(cleared.size(), 1u);
  EXPECT_TRUE(cleared.isNoDataPlaceholder());
  EXPECT_EQ(kPacketColumnLayout[9].title, "TCP Flag");
  EXPECT_EQ(packetProtocolIcon("IGMP"), 9);
  EXPECT_EQ(packetProtocolIcon("ARP"), std::nullopt);
}

TEST(PacketShownList, RowsViewASharedRecordList) {
  auto records = std::make_shared<std::vector<PacketRecord>>(3);
  (*records)[0].remotePort = 10;
  (*records)[1].remotePort = 11;
  (*records)[2].remotePort = 12;
  PacketShownList shown(records, {2, 0});
  records.reset();  // the list keeps the records it shows
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].remotePort, 12);
  EXPECT_EQ(shown[1].remotePort, 10);
  EXPECT_FALSE(shown.isNoDataPlaceholder());
  EXPECT_THROW(PacketShownList(shown.records(), {3}), std::out_of_range);
}

}  // namespace
}  // namespace qv
