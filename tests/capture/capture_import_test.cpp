#include "capture/capture_import.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "capture/capture_files.h"
#include "capture/test_frames.h"
#include "logdata/log_header.h"

namespace qv {
namespace {



TEST(CaptureImport, WritesEveryFrameWithItsTimeAndEnds) {
  test::TemporaryFolder folder("import_fields");
  const test::Frame tcp = test::ipv4Frame({192, 168, 1, 20}, {93, 184, 216, 34}, 6, test::tcpSegment(50000, 43, 0x18));
  test::Frame arp = test::ethernetHeader(0x0806);
  arp.resize(60, 0x0d);
  test::writeCaptureFile(folder / "in.pcap", DLT_EN10MB,
                         {{{1073012645, 123456789}, tcp}, {{1073012646, 0}, arp}}, /*nanoseconds=*/true);

  CaptureImportOptions options;
  options.action = PacketAction::kBlocked;
  const CaptureImport imported = packetLogFromCapture((folder / "in.pcap").string(), options);
  ASSERT_EQ(imported.status, CaptureImportStatus::kImported) << imported.message;
  EXPECT_EQ(imported.frameCount, 2U);
  EXPECT_TRUE(imported.message.empty());

  const std::string& log = imported.logBytes;
  EXPECT_EQ(log.substr(0, 72), logHeaderLine(kPacketLogTag, 2, 2));
  // First record: the time keeps 100 ns units of the nanosecond capture.
  const std::size_t t = 72 + 9;
  EXPECT_EQ(log.substr(t, 16), "01C3D0DD14C3D707");
  EXPECT_EQ(log.substr(t + 26, 8), "1401A8C0");
  EXPECT_EQ(log.substr(t + 35, 8), "22D8B85D");
  EXPECT_EQ(log.substr(t + 44, 8), "0000C350");
  EXPECT_EQ(log.substr(t + 53, 8), "0000002B");
  EXPECT_EQ(log.substr(t + 62, 8), "00000036");
  EXPECT_EQ(log.substr(t + 71, 8), "00000002");
  EXPECT_EQ(log.substr(t + 80, 8), "00000001");
  EXPECT_EQ(log.substr(t + 98, 2), "\t\t");
  EXPECT_EQ(log.substr(t + 100, tcp.size()), std::string(tcp.begin(), tcp.end()));
  // Second record right after the first one's CR LF: no address, no direction.
  const std::size_t second = t + 100 + tcp.size() + 2;
  EXPECT_EQ(log.substr(second - 2, 2), "\r\n");
  EXPECT_EQ(log.substr(second, 9), "000000AB\t");
  EXPECT_EQ(log.substr(second + 9 + 26, 17), "00000000\t00000000");
  EXPECT_EQ(log.substr(second + 9 + 71, 8), "00000000");
  const std::size_t end = second + 0xAB;
  EXPECT_EQ(log.substr(end), packetLogTrailer());
}

TEST(CaptureImport, RefusesOtherLinkTypesAndUnreadableFiles) {
  test::TemporaryFolder folder("import_refused");
  test::writeCaptureFile(folder / "raw.pcap", DLT_RAW, {{{1, 0}, {0x45, 0, 0, 20}}});
  const CaptureImport raw = packetLogFromCapture((folder / "raw.pcap").string(), {});
  EXPECT_EQ(raw.status, CaptureImportStatus::kNotEthernet);
  EXPECT_EQ(raw.message, "Capture Link Type Error : the frames are of link type 12 (RAW, Raw IP); "
                         "only Ethernet (1) captures can be imported");
  EXPECT_TRUE(raw.logBytes.empty());

  const CaptureImport missing = packetLogFromCapture((folder / "missing.pcap").string(), {});
  EXPECT_EQ(missing.status, CaptureImportStatus::kCannotRead);
  EXPECT_NE(missing.message.find("Capture Open Error : "), std::string::npos);
  EXPECT_NE(missing.message.find("No such file or directory"), std::string::npos);

  std::ofstream(folder / "text.pcap") << "this is no capture at all, just some text";
  EXPECT_EQ(packetLogFromCapture((folder / "text.pcap").string(), {}).status, CaptureImportStatus::kCannotRead);
  std::ofstream(folder / "stub.pcap", std::ios::binary) << std::string("\xd4\xc3\xb2\xa1\x02\x00", 6);
  EXPECT_EQ(packetLogFromCapture((folder / "stub.pcap").string(), {}).status, CaptureImportStatus::kCannotRead);
}

TEST(CaptureImport, ACaptureCutShortKeepsTheFramesBeforeTheCut) {
  test::TemporaryFolder folder("import_cut");
  const test::Frame frame = test::ipv4Frame({10, 0, 0, 1}, {8, 8, 8, 8}, 17, test::udpDatagram(5353, 53, {1, 2, 3}));
  test::writeCaptureFile(folder / "whole.pcap", DLT_EN10MB, {{{1, 0}, frame}, {{2, 0}, frame}, {{3, 0}, frame}});
  const std::string whole = test::readFileBytes(folder / "whole.pcap");
  for (const std::size_t cut : {whole.size() - 1, whole.size() - frame.size() - 10}) {
    std::ofstream(folder / "cut.pcap", std::ios::binary) << whole.substr(0, cut);
    const CaptureImport imported = packetLogFromCapture((folder / "cut.pcap").string(), {});
    EXPECT_EQ(imported.status, CaptureImportStatus::kIncomplete);
    EXPECT_EQ(imported.frameCount, 2U);
    EXPECT_EQ(imported.message.rfind("Capture Read Error : truncated dump file", 0), 0U) << imported.message;
    EXPECT_NE(imported.message.find("(after 2 complete frames)"), std::string::npos);
    EXPECT_EQ(imported.logBytes.substr(0, 72), logHeaderLine(kPacketLogTag, 2, 2));
  }
}

TEST(CaptureImport, TimesFrom2038OnKeepTheirSeconds) {
  test::TemporaryFolder folder("import_late");
  test::writeCaptureFile(folder / "late.pcap", DLT_EN10MB,
                         {{{2147483648ULL, 0}, {0x30}}, {{4294967295ULL, 999999000}, {0x30}}});
  const CaptureImport imported = packetLogFromCapture((folder / "late.pcap").string(), {});
  ASSERT_EQ(imported.status, CaptureImportStatus::kImported);
  const std::size_t first = 72 + 9;
  const std::size_t second = 72 + 0x70 + 9;
  std::string expected;
  appendTimeValueDigits(expected, timeValueFromCaptureTime({2147483648ULL, 0}));
  EXPECT_EQ(imported.logBytes.substr(first, 16), expected);
  expected.clear();
  appendTimeValueDigits(expected, timeValueFromCaptureTime({4294967295ULL, 999999000}));
  EXPECT_EQ(imported.logBytes.substr(second, 16), expected);
}

TEST(CaptureImport, AnEmptyCaptureGivesAnEmptyLog) {
  test::TemporaryFolder folder("import_empty");
  test::writeCaptureFile(folder / "empty.pcap", DLT_EN10MB, {});
  const CaptureImport imported = packetLogFromCapture((folder / "empty.pcap").string(), {});
  EXPECT_EQ(imported.status, CaptureImportStatus::kImported);
  EXPECT_EQ(imported.logBytes, logHeaderLine(kPacketLogTag, 0, 0));
}

}  // namespace
}  // namespace qv
