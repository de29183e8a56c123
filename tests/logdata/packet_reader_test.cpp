#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "log_fixtures.h"
#include "logdata/packet_log_reader.h"
#include "time_zone_guard.h"

namespace qv {
namespace {

using test::frameOf;
using test::PacketFields;
using test::packetRecord;
using test::readBufferOf;

std::string packetHeader(const std::string& count = "00000001", const std::string& newest = "00000000") {
  return test::logHeader("00000003", count, newest);
}

// Enough trailing bytes that the last record is not within the end margin.
const std::string kTail(140, '\0');

PacketLog parse(const std::string& content) { return parsePacketLog(readBufferOf(content)); }

std::vector<std::uint8_t> ipv4Frame(std::size_t size, std::uint8_t protocol, std::vector<std::uint8_t> afterHeader = {}) {
  std::vector<std::uint8_t> ip(20, 0);
  ip[0] = 0x45;
  ip[9] = protocol;
  ip.insert(ip.end(), afterHeader.begin(), afterHeader.end());
  return frameOf(size, 0x0800, ip);
}

TEST(PacketHeader, ChecksTheHeaderLikeTheTrafficLog) {
  EXPECT_EQ(parse("").status, LogParseStatus::kNoRecords);
  EXPECT_EQ(parsePacketLog(nullptr).status, LogParseStatus::kNoRecords);
  EXPECT_EQ(parse("0").status, LogParseStatus::kInvalidFormat);
  EXPECT_EQ(parse(test::logHeader("00000002", "00000001", "00000000") + kTail).status,
            LogParseStatus::kInvalidFormat);
  EXPECT_EQ(parse(packetHeader("00000001", "0000000Z") + kTail).status, LogParseStatus::kInvalidFormat);
  EXPECT_EQ(parse(packetHeader("00000000") + kTail).status, LogParseStatus::kNoRecords);
  const PacketLog headerOnly = parse(packetHeader());
  EXPECT_EQ(headerOnly.status, LogParseStatus::kOk);
  EXPECT_TRUE(headerOnly.records.empty());
}

TEST(PacketRecords, ReadFieldsAndKeepTheirBytes) {
  const test::TimeZoneGuard zone("UTC");
  PacketFields fields;
  fields.time = "01C3D0DD14D72620";  // a quarter of a second past 03:04:05
  fields.direction = "00000002";
  fields.action = "00000000";
  const std::vector<std::uint8_t> tcp = ipv4Frame(60, 6, {0x00, 0x50, 0x04, 0xD2, 0, 0, 0, 1, 0, 0, 0, 0, 0x50, 0x12});
  const std::string first = packetRecord(tcp, fields);
  // Back to back: no LF between one record's CR LF and the next '0'.
  const std::string content = packetHeader("00000002") + first + packetRecord(frameOf(42, 0x0806)) + kTail;
  const SharedReadBuffer buffer = readBufferOf(content);
  const PacketLog log = parsePacketLog(buffer);
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  ASSERT_EQ(log.records.size(), 2u);

  const PacketRecord& record = log.records[0];
  EXPECT_EQ(record.time, "2004/01/02 03:04:05.250");
  EXPECT_EQ(record.localIp, "192.168.0.2");
  EXPECT_EQ(record.remoteIp, "10.0.0.5");
  EXPECT_EQ(record.localPort, 80);
  EXPECT_EQ(record.remotePort, 1234);
  EXPECT_EQ(record.flags, RecordFlag::kOutgoing | RecordFlag::kAllowed);
  EXPECT_EQ(record.nameAddress, "host.example");
  EXPECT_EQ(record.applicationName, "C:\\app.exe");
  EXPECT_EQ(record.protocol, "TCP");
  EXPECT_EQ(record.tcpFlags, 0x12);
  EXPECT_EQ(record.packetLength(), 60u);
  EXPECT_EQ(record.recordLength(), first.size());
  EXPECT_EQ(std::vector<std::uint8_t>(record.packetBytes().begin(), record.packetBytes().end()), tcp);
  const auto own = record.recordBytes();
  EXPECT_EQ(std::string(own.begin(), own.end()), first);

  EXPECT_EQ(log.records[1].protocol, "ARP");
  EXPECT_EQ(log.records[1].flags, RecordFlag::kIncoming | RecordFlag::kBlocked);
  EXPECT_EQ(log.records[1].tcpFlags, 0);
}

TEST(PacketRecords, NameProtocolsFromTheFrame) {
  struct Case {
    std::vector<std::uint8_t> frame;
    std::string_view protocol;
    std::uint16_t localPort;
    std::uint16_t remotePort;
    std::uint8_t tcpFlags;
  };
  std::vector<std::uint8_t> tcpWithFlags = ipv4Frame(48, 6);
  tcpWithFlags[47] = 0x11;
  const std::vector<Case> cases = {
      {frameOf(60, 0x888E), "EAPOL", 80, 1234, 0},
      {frameOf(60, 0x9000), "", 80, 1234, 0},
      {tcpWithFlags, "TCP", 80, 1234, 0x11},
      {ipv4Frame(40, 6), "TCP", 80, 1234, 0},  // too short for the flag byte
      {ipv4Frame(74, 1, {8, 0}), "ICMP", 8, 0, 0},
      {ipv4Frame(35, 1, {8, 0}), "ICMP", 80, 1234, 0},  // type and code lie past the end
      {ipv4Frame(60, 0), "Unknown Protocol", 80, 1234, 0},
      {ipv4Frame(60, 200), "Unknown Protocol", 80, 1234, 0},
      {ipv4Frame(60, 255), "Reserved = Error", 80, 1234, 0},
      {ipv4Frame(60, 17), "UDP", 80, 1234, 0},
  };
  for (const Case& c : cases) {
    const PacketLog log = parse(packetHeader() + packetRecord(c.frame) + kTail);
    ASSERT_EQ(log.records.size(), 1u);
    const PacketRecord& record = log.records[0];
    EXPECT_EQ(record.protocol, c.protocol);
    EXPECT_EQ(record.localPort, c.localPort) << c.protocol;
    EXPECT_EQ(record.remotePort, c.remotePort) << c.protocol;
    EXPECT_EQ(record.tcpFlags, c.tcpFlags) << c.protocol;
  }
}

TEST(PacketBounds, ShortFramesReadNoBytesTheyDoNotHold) {
  // Frames cut before the EtherType, before byte 23, or with a header length
  // byte that points past the frame: the bytes of the next record (or the end
  // of the data) must not be taken for them.
  std::vector<std::uint8_t> bigHeader = ipv4Frame(34, 6);
  bigHeader[14] = 0x4F;  // 60-byte IP header in a 34-byte frame
  for (const std::vector<std::uint8_t>& frame :
       {std::vector<std::uint8_t>{}, frameOf(12, 0x0806), ipv4Frame(23, 6), bigHeader}) {
    const std::string next = packetRecord(ipv4Frame(60, 6));
    const PacketLog log = parse(packetHeader("00000002") + packetRecord(frame) + next + kTail);
    ASSERT_EQ(log.records.size(), 2u) << frame.size();
    EXPECT_EQ(log.records[0].tcpFlags, 0);
    EXPECT_EQ(log.records[0].localPort, 80);
    EXPECT_EQ(log.records[0].packetBytes().size(), frame.size());
    EXPECT_EQ(log.records[1].protocol, "TCP");
  }
  EXPECT_EQ(parse(packetHeader() + packetRecord(frameOf(12, 0x0806)) + kTail).records[0].protocol, "");
  EXPECT_EQ(parse(packetHeader() + packetRecord(ipv4Frame(23, 6)) + kTail).records[0].protocol, "");
  EXPECT_EQ(parse(packetHeader() + packetRecord(bigHeader) + kTail).records[0].protocol, "TCP");
}

TEST(PacketBounds, PacketRunningPastTheDataEndsTheScan) {
  PacketFields huge;
  huge.packetLengthField = 0xFFFFFFFF;  // would wrap a 32-bit position
  const std::vector<std::uint8_t> frame = ipv4Frame(60, 6);
  const std::string content = packetHeader("00000003") + packetRecord(frameOf(60, 0x0806)) +
                              packetRecord(frame, huge) + packetRecord(frame) + kTail;
  const PacketLog log = parse(content);
  ASSERT_EQ(log.records.size(), 2u);
  const PacketRecord& cut = log.records[1];
  EXPECT_EQ(cut.packetLength(), 0xFFFFFFFFu);
  EXPECT_EQ(cut.packetOffset() + cut.packetBytes().size(), content.size());  // clamped to the data
  EXPECT_EQ(cut.protocol, "TCP");
  EXPECT_EQ(cut.tcpFlags, 0);  // byte 47 of this frame is a zero byte that exists

  // A record cut inside its text part: fields beyond the cut read as absent.
  const std::string whole = packetRecord(frame);
  const PacketLog textCut = parse(packetHeader() + whole.substr(0, 39) + std::string(200, '\0'));
  ASSERT_EQ(textCut.records.size(), 1u);
  EXPECT_EQ(textCut.records[0].localIp, "0.0.0.2");  // only "0200" of its digits are there
  EXPECT_EQ(textCut.records[0].remoteIp, "0.0.0.0");
  EXPECT_EQ(textCut.records[0].flags, 0);
  EXPECT_EQ(textCut.records[0].protocol, "");
  const PacketLog noTab = parse(packetHeader() + "0" + std::string(300, 'A'));
  ASSERT_EQ(noTab.records.size(), 1u);
  EXPECT_TRUE(noTab.records[0].packetBytes().empty());
}

TEST(PacketLog, FragmentsAndTheEndMargin) {
  const std::string record = packetRecord(ipv4Frame(600, 17));
  // A record starting 130 bytes or fewer before the end is not read.
  const std::string cut = packetHeader("00000002") + record + record.substr(0, 130);
  EXPECT_EQ(parse(cut).records.size(), 1u);
  EXPECT_EQ(parse(cut + std::string(1, '\0')).records.size(), 2u);

  // NUL bytes and text fragments are passed over; one far from the end marks
  // the newest record (distance 1700 here), one near the end does not.
  std::string content = packetHeader("00000006", "00000000");
  for (int i = 0; i < 3; ++i) content += record;
  content += std::string(5, '\0') + "garbage\r\n";
  for (int i = 0; i < 3; ++i) content += record;
  ASSERT_GT(content.size(), 1700u + 3 * record.size());
  const PacketLog nearEnd = parse(content + std::string(140, '\0'));
  EXPECT_EQ(nearEnd.records.size(), 6u);
  EXPECT_EQ(nearEnd.newestIndex, 2);
  // Padding far from the end is made of fragments too: the last record is the newest.
  EXPECT_EQ(parse(content + std::string(2000, '\0')).newestIndex, 5);
}

TEST(PacketLog, RecordsKeepTheBufferAlive) {
  std::vector<PacketRecord> kept;
  {
    PacketLog log = parse(packetHeader() + packetRecord(frameOf(60, 0x0806)) + kTail);
    kept = log.records;
  }
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].packetBytes().size(), 60u);
  EXPECT_EQ(kept[0].packetBytes()[13], 0x06);
}

}  // namespace
}  // namespace qv
