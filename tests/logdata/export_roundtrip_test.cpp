#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "logdata/log_export.h"
#include "logdata/log_file.h"
#include "logdata/log_fixtures.h"
#include "logdata/packet_log_reader.h"
#include "logdata/ring_order.h"
#include "logdata/time_zone_guard.h"
#include "logdata/traffic_log_reader.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The records of a log in the order the view shows them (newest first).
template <class Log>
auto shownOrder(const Log& log) {
  std::vector<typename decltype(log.records)::value_type> shown;
  forEachInRingOrder(log.records.size(), log.newestIndex, [&](std::size_t index) { shown.push_back(log.records[index]); });
  return shown;
}

TrafficRecord trafficEvent(std::uint8_t flags, const char* time, const char* remoteIp, std::uint16_t remotePort,
                           const char* rule, const char* application, const char* name) {
  TrafficRecord record;
  record.flags = flags;
  record.time = time;
  record.beginTime = time;
  record.endTime = time;
  record.occurrences = 7;
  record.remoteIp = remoteIp;
  record.remotePort = remotePort;
  record.localIp = "192.168.0.2";
  record.localPort = 445;
  record.ruleName = rule;
  record.applicationName = application;
  record.nameAddress = name;
  return record;
}

TEST(ExportRoundTrip, TrafficSelectionReadsBackInTheSameOrderWithTheSameTexts) {
  using namespace RecordFlag;
  // Daylight saving in force and not: times must convert both ways alike.
  const test::TimeZoneGuard zone("Europe/Berlin");
  std::vector<TrafficRecord> selected{
      trafficEvent(kTcp | kIncoming | kBlocked, "2004/07/02 03:04:05", "10.0.0.5", 1234, "Block_all", "C:\\app.exe", ""),
      trafficEvent(kUdp | kOutgoing | kAllowed, "2004/01/02 23:59:59", "255.255.255.255", 53, "Allow DNS",
                   "C:\\Programme\\\xE9\xFC.exe", "dns.example"),
      trafficEvent(kIcmp | kAllowed, "1999/12/31 00:00:00", "0.0.0.0", 0, "", "", ""),
      trafficEvent(kBlocked, "", "1.2.3.4", 65535, "r", "a", "n"),
  };
  selected[2].endTime = "2000/01/01 00:00:00";

  const TrafficLog log = parseTrafficLog(trafficExportImage(selected));
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  EXPECT_EQ(shownOrder(log), selected);

  // Through a file as well.
  const fs::path path = fs::temp_directory_path() / ("qv_roundtrip_" + std::to_string(::getpid()) + ".log");
  ASSERT_TRUE(exportTrafficSelection(selected, path.string()).written());
  const FileReadResult file = readWholeFile(path.string());
  fs::remove(path);
  ASSERT_TRUE(file.opened) << file.errorText;
  EXPECT_EQ(shownOrder(parseTrafficLog(file.buffer->content())), selected);
}

TEST(ExportRoundTrip, WorkedExampleLineReadsBackAsTheSameEvent) {
  const test::TimeZoneGuard zone("UTC");
  const std::string line = test::trafficLine({});  // the reader's own fixture of the worked example
  const TrafficRecord record = parseTrafficRecordLine(line);
  EXPECT_EQ(record.time, "2004/01/02 03:04:05");
  EXPECT_EQ(trafficRecordText(record) + std::string(kTrafficRecordTrailer), line);
}

TEST(ExportRoundTrip, PacketSelectionKeepsEveryByte) {
  // Frames holding CR, LF, TAB and NUL bytes.
  std::vector<std::uint8_t> tcp = test::frameOf(74, 0x0800, {0x45, 0, 0, 60, 0, 0, 0, 0, 128, 6});
  tcp[40] = '\r';
  tcp[41] = '\n';
  tcp[47] = 0x12;
  std::vector<std::uint8_t> arp = test::frameOf(60, 0x0806);
  arp[20] = '\t';
  const std::vector<std::uint8_t> icmp = test::frameOf(98, 0x0800, {0x45, 0, 0, 84, 0, 0, 0, 0, 64, 1, 0, 0, 1, 2, 3,
                                                                      4, 5, 6, 7, 8, 8, 0});
  test::PacketFields outgoing;
  outgoing.direction = "00000002";
  outgoing.action = "00000000";
  outgoing.time = "01C3D0DD14B10080";
  const std::string content = test::logHeader("00000003", "00000003", "00000000") + test::packetRecord(tcp) +
                              test::packetRecord(arp, outgoing) + test::packetRecord(icmp) + std::string(200, 'x');
  const PacketLog original = parsePacketLog(test::readBufferOf(content));
  ASSERT_EQ(original.records.size(), 3u);

  // Rows 0 and 2 of the view (records 2 and 0 of the file) selected.
  const std::vector<PacketRecord> shown = shownOrder(original);
  const std::vector<PacketRecord> selected{shown[0], shown[2]};
  const std::string image = packetExportImage(selected);
  EXPECT_EQ(image.substr(27, 8), "00000002");

  const PacketLog exported = parsePacketLog(test::readBufferOf(image));
  ASSERT_EQ(exported.status, LogParseStatus::kOk);
  const std::vector<PacketRecord> readBack = shownOrder(exported);
  ASSERT_EQ(readBack.size(), 2u);
  for (std::size_t i = 0; i < readBack.size(); ++i) {
    const auto originalBytes = selected[i].recordBytes();
    const auto readBytes = readBack[i].recordBytes();
    EXPECT_TRUE(std::equal(originalBytes.begin(), originalBytes.end(), readBytes.begin(), readBytes.end()));
    EXPECT_FALSE(originalBytes.empty());
    EXPECT_EQ(readBack[i].time, selected[i].time);
    EXPECT_EQ(readBack[i].flags, selected[i].flags);
    EXPECT_EQ(readBack[i].protocol, selected[i].protocol);
    EXPECT_EQ(readBack[i].tcpFlags, selected[i].tcpFlags);
    EXPECT_EQ(readBack[i].localPort, selected[i].localPort);
    EXPECT_EQ(readBack[i].applicationName, selected[i].applicationName);
  }
  EXPECT_EQ(readBack[1].protocol, "TCP");
  EXPECT_EQ(readBack[1].tcpFlags, 0x12);
  EXPECT_EQ(readBack[0].localPort, 8);  // ICMP type
}

}  // namespace
}  // namespace qv
