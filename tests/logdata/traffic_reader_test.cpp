#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log_fixtures.h"
#include "logdata/ring_order.h"
#include "logdata/traffic_log_reader.h"
#include "time_zone_guard.h"

namespace qv {
namespace {

using test::logHeader;
using test::TrafficFields;
using test::trafficLine;

std::string trafficHeader(const std::string& count = "00000001", const std::string& newest = "00000000") {
  return logHeader("00000002", count, newest);
}

// Records whose occurrences field numbers them, so order is easy to see.
std::string numberedLines(int count, int first = 0) {
  std::string lines;
  for (int i = first; i < first + count; ++i) {
    TrafficFields fields;
    fields.occurrences = test::hex8(static_cast<std::uint32_t>(i));
    lines += trafficLine(fields) + "\n";
  }
  return lines;
}

std::vector<std::uint32_t> shownOccurrences(const TrafficLog& log) {
  std::vector<std::uint32_t> order;
  forEachInRingOrder(log.records.size(), log.newestIndex,
                     [&](std::size_t index) { order.push_back(log.records[index].occurrences); });
  return order;
}

TEST(TrafficHeader, RejectsAnythingButATrafficHeader) {
  const std::string good = trafficHeader();
  std::vector<std::string> invalid = {"", good.substr(0, 71), logHeader("00000003", "00000001", "00000000"),
                                      logHeader("00000002", "00000001", "0000000X")};
  for (const std::size_t position : {8u, 17u, 26u, 35u, 44u, 61u, 70u, 71u}) {
    std::string broken = good;
    broken[position] = ' ';
    invalid.push_back(broken);
  }
  std::string withNul = good;
  withNul[20] = '\0';  // the header is text up to its first NUL
  invalid.push_back(withNul);
  for (const std::string& content : invalid) {
    const TrafficLog log = parseTrafficLog(content + numberedLines(3));
    EXPECT_EQ(log.status, LogParseStatus::kInvalidFormat) << content;
    EXPECT_TRUE(log.records.empty());
  }
}

TEST(TrafficHeader, EmptyOrNonHexCountMeansNoRecords) {
  for (const char* count : {"00000000", "0000000G", "-0000001"}) {
    const TrafficLog log = parseTrafficLog(trafficHeader(count, "ZZZZZZZZ") + numberedLines(3));
    EXPECT_EQ(log.status, LogParseStatus::kNoRecords) << count;
    EXPECT_TRUE(log.records.empty());
  }
  // A header alone is a log without records, not an error.
  const TrafficLog headerOnly = parseTrafficLog(trafficHeader("00000001"));
  EXPECT_EQ(headerOnly.status, LogParseStatus::kOk);
  EXPECT_TRUE(headerOnly.records.empty());
}

TEST(TrafficRecordLine, ReadsEveryFieldAtItsOffset) {
  const test::TimeZoneGuard zone("UTC");
  const std::string line = trafficLine(TrafficFields{});
  ASSERT_EQ(line.substr(0, 9), "000000FB\t");  // the saved-selection example: 251 bytes
  ASSERT_EQ(line.size(), 251u);
  const TrafficRecord record = parseTrafficRecordLine(line);
  EXPECT_EQ(record.time, "2004/01/02 03:04:05");
  EXPECT_EQ(record.beginTime, "2004/01/02 03:04:05");
  EXPECT_EQ(record.endTime, "2004/01/02 03:04:05");
  EXPECT_EQ(record.localIp, "192.168.0.2");
  EXPECT_EQ(record.remoteIp, "10.0.0.5");
  EXPECT_EQ(record.localPort, 80);
  EXPECT_EQ(record.remotePort, 1234);
  EXPECT_EQ(record.occurrences, 1u);
  EXPECT_EQ(record.flags, RecordFlag::kTcp | RecordFlag::kIncoming | RecordFlag::kBlocked);
  EXPECT_EQ(record.nameAddress, "");
  EXPECT_EQ(record.ruleName, "Block_all");
  EXPECT_EQ(record.applicationName, "C:\\app.exe");

  TrafficFields udp;
  udp.protocol = "0000012E";
  udp.direction = "00000002";
  udp.action = "00000000";
  udp.localPort = "ABCD0050";  // only the last four digits count
  udp.remotePort = "00001F90";
  udp.localIp = "FFFFFFFF";
  udp.time = "0000000000000000";
  udp.occurrences = "0001E240";
  udp.nameAddress = "dns.example.net";
  const TrafficRecord second = parseTrafficRecordLine(trafficLine(udp));
  EXPECT_EQ(second.flags, RecordFlag::kUdp | RecordFlag::kOutgoing | RecordFlag::kAllowed);
  EXPECT_EQ(second.localPort, 80);
  EXPECT_EQ(second.remotePort, 8080);
  EXPECT_EQ(second.localIp, "255.255.255.255");
  EXPECT_EQ(second.time, "");
  EXPECT_EQ(second.occurrences, 123456u);
  EXPECT_EQ(second.nameAddress, "dns.example.net");

  TrafficFields icmp;
  icmp.protocol = "00000132";
  icmp.direction = "00000000";
  icmp.action = "00000002";
  EXPECT_EQ(parseTrafficRecordLine(trafficLine(icmp)).flags, RecordFlag::kIcmp | RecordFlag::kAllowed);
}

TEST(TrafficRecordLine, ShortAndMalformedLinesReadAsFarAsTheyGo) {
  const test::TimeZoneGuard zone("UTC");
  const std::string full = trafficLine(TrafficFields{});
  // Cut inside the local port: what lies beyond reads as absent.
  const TrafficRecord cut = parseTrafficRecordLine(full.substr(0, 9 + 50));
  EXPECT_EQ(cut.time, "2004/01/02 03:04:05");
  EXPECT_EQ(cut.remoteIp, "10.0.0.5");
  EXPECT_EQ(cut.localPort, 0);  // digits at t+48.. are cut off
  EXPECT_EQ(cut.beginTime, "");
  EXPECT_EQ(cut.flags, RecordFlag::kTcp);  // neither direction nor action
  EXPECT_TRUE(cut.applicationName.empty());

  EXPECT_EQ(parseTrafficRecordLine("0"), TrafficRecord{});
  EXPECT_EQ(parseTrafficRecordLine("00000010 no tab at all"), TrafficRecord{});

  // Without a TAB after it, the application name runs to the end of the line.
  const std::size_t appStart = full.find("C:\\app.exe");
  const TrafficRecord noTab = parseTrafficRecordLine(full.substr(0, appStart) + "C:\\Program Files\\x y.exe\r\n");
  EXPECT_EQ(noTab.applicationName, "C:\\Program Files\\x y.exe");
  EXPECT_EQ(noTab.ruleName, "Block_all");
  // Names cut at a NUL keep what came before it.
  const TrafficRecord nul = parseTrafficRecordLine(full.substr(0, appStart) + std::string("C:\\a\0b.exe", 10));
  EXPECT_EQ(nul.applicationName, "C:\\a");
}

TEST(TrafficLog, SkipsLinesTooCloseToTheEnd) {
  // A file of 200 bytes or less has no records, however well formed.
  const std::string header = trafficHeader();
  EXPECT_TRUE(parseTrafficLog(header + std::string(128, '0')).records.empty());
  EXPECT_TRUE(parseTrafficLog(header).records.empty());

  // The second line starts fewer than 200 bytes before the end: not read,
  // unless more data follows it.
  const std::string shortLine = trafficLine(TrafficFields{}).substr(0, 150) + "\r";
  const std::string twoLines = header + trafficLine(TrafficFields{}) + "\n" + shortLine;
  EXPECT_EQ(parseTrafficLog(twoLines).records.size(), 1u);
  EXPECT_EQ(parseTrafficLog(twoLines + std::string(200, '\0')).records.size(), 2u);
}

TEST(TrafficLog, ReadsSavedSelectionsBackInOrder) {
  // Saved lines carry NUL runs and end in CR alone; the last one is followed
  // by one LF. Their NULs must neither cut the scan nor mark the ring.
  std::string content = trafficHeader("00000005", "00000000");
  for (int i = 0; i < 5; ++i) {
    TrafficFields fields;
    fields.occurrences = test::hex8(static_cast<std::uint32_t>(i));
    content += trafficLine(fields);
  }
  content += "\n";
  const TrafficLog log = parseTrafficLog(content);
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  ASSERT_EQ(log.records.size(), 5u);
  EXPECT_EQ(log.newestIndex, -1);
  EXPECT_EQ(shownOccurrences(log), (std::vector<std::uint32_t>{4, 3, 2, 1, 0}));
  EXPECT_EQ(log.records[4].applicationName, "C:\\app.exe");
}

TEST(TrafficLog, RingOrderFromTheHeaderAndFragmentLines) {
  const std::string five = numberedLines(5);
  // Trailing padding within 880 bytes of the end: not a fragment that marks the ring.
  const std::string padding = std::string(300, '\0');
  EXPECT_EQ(shownOccurrences(parseTrafficLog(trafficHeader("00000005", "00000003") + five + padding)),
            (std::vector<std::uint32_t>{2, 1, 0, 4, 3}));
  EXPECT_EQ(shownOccurrences(parseTrafficLog(trafficHeader("00000005", "FFFFFFFF") + five + padding)),
            (std::vector<std::uint32_t>{4, 3, 2, 1, 0}));
  EXPECT_EQ(shownOccurrences(parseTrafficLog(trafficHeader("00000005", "00000009") + five + padding)),
            (std::vector<std::uint32_t>{4, 3, 2, 1, 0}));

  // A fragment line after record 6 of 10, far from the end, marks record 6 as the newest.
  const std::string fragment = "FRAGMENT OF AN OVERWRITTEN RECORD\r\n";
  const std::string ring = trafficHeader("0000000A", "00000000") + numberedLines(7) + fragment + numberedLines(3, 7);
  const TrafficLog marked = parseTrafficLog(ring + padding);
  EXPECT_EQ(marked.newestIndex, 6);
  EXPECT_EQ(shownOccurrences(marked), (std::vector<std::uint32_t>{6, 5, 4, 3, 2, 1, 0, 9, 8, 7}));

  // A fragment within 880 bytes of the end (in a file longer than that) only
  // replaces an unknown newest position.
  const std::string nearEnd =
      trafficHeader("0000000A", "00000002") + numberedLines(9) + fragment + numberedLines(1, 9) + padding;
  EXPECT_EQ(parseTrafficLog(nearEnd).newestIndex, 1);
  const std::string nearEndUnknown =
      trafficHeader("0000000A", "00000000") + numberedLines(9) + fragment + numberedLines(1, 9) + padding;
  EXPECT_EQ(parseTrafficLog(nearEndUnknown).newestIndex, 8);
  // A fragment before any record changes nothing.
  EXPECT_EQ(shownOccurrences(parseTrafficLog(trafficHeader("00000003", "00000000") + fragment + numberedLines(3))),
            (std::vector<std::uint32_t>{2, 1, 0}));
  // NUL padding right after a line end is a one-byte fragment: it marks the
  // ring but does not swallow the lines that follow it.
  const std::string padded = trafficHeader("00000005", "00000000") + numberedLines(2) + std::string(3, '\0') + "\n" +
                             numberedLines(3, 2) + padding;
  const TrafficLog paddedLog = parseTrafficLog(padded);
  EXPECT_EQ(paddedLog.records.size(), 5u);
  EXPECT_EQ(shownOccurrences(paddedLog), (std::vector<std::uint32_t>{1, 0, 4, 3, 2}));
  // Padding far from the end follows the newest record of a ring not yet full.
  EXPECT_EQ(parseTrafficLog(trafficHeader("00000005", "00000003") + five + std::string(1000, '\0')).newestIndex, 4);
}

}  // namespace
}  // namespace qv
