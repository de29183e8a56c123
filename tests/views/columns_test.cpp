#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "views/packet_columns.h"
#include "views/packet_shown_list.h"
#include "views/traffic_columns.h"
#include "views/traffic_shown_list.h"

namespace qv {
namespace {

using namespace RecordFlag;

std::string trafficRow(const TrafficRecord& record) {
  std::string row;
  for (int column = 0; column < kTrafficColumnCount; ++column) {
    row += trafficCellText(record, static_cast<TrafficColumn>(column)) + "|";
  }
  return row;
}

std::string packetRow(const PacketRecord& record) {
  std::string row;
  for (int column = 0; column < kPacketColumnCount; ++column) {
    row += packetCellText(record, static_cast<PacketColumn>(column)) + "|";
  }
  return row;
}

TEST(TrafficColumns, CellTexts) {
  TrafficRecord record;
  record.nameAddress = "host.example";
  record.occurrences = 4294967295u;
  record.ruleName = "Block_all";
  record.applicationName = "C:\\app %s.exe";  // never read as a format
  record.time = "2004/01/02 03:04:05";
  record.beginTime = "2004/01/02 03:00:00";
  record.remotePort = 65535;
  record.localIp = "192.168.0.1";
  record.remoteIp = "10.0.0.1";
  record.flags = kBlocked | kIncoming | kUdp;
  EXPECT_EQ(trafficRow(record),
            "2004/01/02 03:04:05|Block|Incoming|UDP|10.0.0.1|host.example|65535|192.168.0.1|0|4294967295|"
            "C:\\app %s.exe|Block_all|2004/01/02 03:00:00||");
  const std::pair<std::uint8_t, const char*> flagWords[] = {
      {kAllowed | kOutgoing | kIcmp, "Allow|Outgoing|ICMP"},
      {kBlocked | kTcp, "Block|Unknown|TCP"},
      {kAllowed, "Allow|Unknown|TCP"},  // no protocol bit shows as TCP
  };
  for (const auto& [flags, words] : flagWords) {
    record.flags = flags;
    EXPECT_EQ(trafficRow(record).substr(20, std::string(words).size()), words);
  }
  EXPECT_EQ(trafficRow(noDataTrafficRecord()), "No Data|" + std::string(13, '|'));
  EXPECT_TRUE(TrafficShownList::noData().isNoDataPlaceholder());
  EXPECT_FALSE(TrafficShownList{}.isNoDataPlaceholder());
}

TEST(TrafficColumns, Icons) {
  EXPECT_EQ(actionDirectionIcon(kBlocked | kIncoming), 1);
  EXPECT_EQ(actionDirectionIcon(kAllowed | kOutgoing), 2);
  EXPECT_EQ(actionDirectionIcon(kBlocked), 5);
  EXPECT_EQ(trafficProtocolIcon(0), 6);
  EXPECT_EQ(ruleIcon("Allow_web"), 9);  // a prefix test
  EXPECT_EQ(ruleIcon("My Allow"), std::nullopt);
  EXPECT_EQ(ruleIcon("GUI%GUICONFIG#SRULE@ADVRULE2"), 16);
}

TEST(PacketColumns, CellTexts) {
  PacketRecord record;
  record.time = "2004/01/02 03:04:05.250";
  record.flags = kAllowed | kOutgoing;
  record.protocol = "TCP";
  record.remoteIp = "10.0.0.1";
  record.remotePort = 443;
  record.localIp = "192.168.0.1";
  record.localPort = 50000;
  record.tcpFlags = 0x12;
  record.applicationName = "C:\\browser.exe";
  EXPECT_EQ(packetRow(record),
            "2004/01/02 03:04:05.250|Allow|Outgoing|TCP|10.0.0.1||443|192.168.0.1|50000|xAxxSx|C:\\browser.exe|");
  for (const char* protocol : {"UDP", "ARP", "", "ICMP"}) {  // only TCP packets show their flag byte
    record.protocol = protocol;
    EXPECT_EQ(packetCellText(record, PacketColumn::kTcpFlags), "------") << protocol;
  }
  EXPECT_EQ(packetRow(noDataPacketRecord()), "No Data|" + std::string(10, '|'));
  EXPECT_TRUE(PacketShownList::noData().isNoDataPlaceholder());
  EXPECT_EQ(packetProtocolIcon("IGMP"), 9);
  EXPECT_EQ(packetProtocolIcon("ARP"), std::nullopt);
  // Records hold the names of the protocol tables only.
  EXPECT_THROW(record.protocol = "tcp", std::invalid_argument);
  record.protocol = "MPLS";
  EXPECT_EQ(packetCellText(record, PacketColumn::kProtocol), "MPLS");
}

TEST(PacketShownList, RowsViewASharedRecordList) {
  auto records = std::make_shared<std::vector<PacketRecord>>(3);
  for (std::size_t i = 0; i < records->size(); ++i) (*records)[i].remotePort = static_cast<std::uint16_t>(10 + i);
  const PacketShownList shown(records, {2, 0});
  records.reset();  // the list keeps the records it shows
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].remotePort, 12);
  EXPECT_EQ(shown[1].remotePort, 10);
  EXPECT_THROW(PacketShownList(shown.records(), {3}), std::out_of_range);
}

}  // namespace
}  // namespace qv
