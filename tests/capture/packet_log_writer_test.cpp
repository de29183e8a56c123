#include "capture/packet_log_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logdata/log_header.h"

namespace qv {
namespace {

const std::vector<std::uint8_t> kFrame = {0x01, 0x00, 0x0d, 0x0a, 0x09};

PacketLogEntry blockedIncomingEntry() {
  PacketLogEntry entry;
  entry.timeValue = 0x01C3D0DD14B10080ULL;
  entry.localAddress = {192, 168, 0, 2};
  entry.remoteAddress = {10, 0, 0, 5};
  entry.localPort = 80;
  entry.remotePort = 1234;
  entry.direction = PacketDirection::kIncoming;
  entry.action = PacketAction::kBlocked;
  entry.applicationName = "C:\\app.exe";
  entry.frame = kFrame;
  return entry;
}

TEST(PacketLogWriter, WritesTheRecordLineByteForByte) {
  std::string out = "x";
  appendPacketLogRecord(out, blockedIncomingEntry());
  const std::string expected = std::string(
                                   "x0000007E\t01C3D0DD14B10080\t00000000\t0200A8C0\t0500000A\t00000050\t000004D2\t"
                                   "00000005\t00000001\t00000001\t00000000\t\tC:\\app.exe\t") +
                               std::string("\x01\x00\x0d\x0a\x09", 5) + "\r\n";
  EXPECT_EQ(out, expected);
  EXPECT_EQ(out.size() - 1, 0x7EU);
  EXPECT_EQ(packetLogRecordLength(blockedIncomingEntry()), 0x7EU);
}

TEST(PacketLogWriter, CodesDirectionActionAndNames) {
  PacketLogEntry entry = blockedIncomingEntry();
  entry.direction = PacketDirection::kOutgoing;
  entry.action = PacketAction::kAllowed;
  entry.nameAddress = "host\tname";
  entry.frame = {};
  std::string out;
  appendPacketLogRecord(out, entry);
  const std::size_t t = 9;
  EXPECT_EQ(out.substr(t + 71, 8), "00000002");
  EXPECT_EQ(out.substr(t + 80, 8), "00000000");
  EXPECT_EQ(out.substr(t + 62, 8), "00000000");
  // A TAB inside a name must not shift the fields after it.
  EXPECT_EQ(out.substr(t + 98), "host name\tC:\\app.exe\t\r\n");
  EXPECT_EQ(out.substr(0, 8), "00000082");
  EXPECT_EQ(out.size(), 0x82U);

  entry.direction = PacketDirection::kUnknown;
  out.clear();
  appendPacketLogRecord(out, entry);
  EXPECT_EQ(out.substr(t + 71, 8), "00000000");
}

TEST(PacketLogWriter, HeaderAndTrailerFitTheReader) {
  const std::string header = logHeaderLine(kPacketLogTag, 0x12, 0x12);
  EXPECT_EQ(header, "00000003\tFFFFFFFF\t00000000\t00000012\t00000012\t0000000000000012\tFFFFFFFF\r\n");
  EXPECT_EQ(header.size(), 72U);
  // The filler covers the 130 bytes at the end that the reader does not scan,
  // and is itself no record.
  EXPECT_EQ(packetLogTrailer().size(), 130U);
  EXPECT_NE(packetLogTrailer().front(), '0');
  EXPECT_TRUE(packetLogTrailer().ends_with("\r\n"));
}

}  // namespace
}  // namespace qv
