#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "capture/capture_files.h"
#include "capture/packet_log_writer.h"
#include "capture/test_frames.h"
#include "logdata/log_header.h"
#include "support/run_program.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::runQvlog;

// Frames to and from a private host, one second apart, remote ports 53, 80, 53, 443.
std::vector<test::CapturedFrame> conversation() {
  std::vector<test::CapturedFrame> frames;
  const std::uint16_t ports[] = {53, 80, 53, 443};
  for (std::uint8_t i = 0; i < 4; ++i) {
    const test::Frame frame =
        i % 2 == 0 ? test::ipv4Frame({192, 168, 0, 9}, {8, 8, 4, 4}, 17,
                                     test::udpDatagram(static_cast<std::uint16_t>(40000 + i), ports[i], {i}))
                   : test::ipv4Frame({93, 184, 216, 34}, {192, 168, 0, 9}, 6, test::tcpSegment(ports[i], 40000, 0x12));
    frames.push_back({{1700000000ULL + i, 250000000U * i}, frame});
  }
  return frames;
}

class ExportPcapCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeCaptureFile(folder_ / "in.pcap", DLT_EN10MB, conversation());
    const auto imported = runQvlog({"import-pcap", (folder_ / "in.pcap").string(), log()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
  }
  std::string log() const { return (folder_ / "in.log").string(); }
  std::string out(const std::string& name = "out.pcap") const { return (folder_ / name).string(); }

  test::TemporaryFolder folder_{"cli_export"};
};

TEST_F(ExportPcapCommandTest, WritesTheShownPacketsOldestFirstUnlessSorted) {
  const auto all = runQvlog({"export-pcap", log(), out()});
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_EQ(all.out, "Records : 4 / 4\n");
  EXPECT_EQ(all.err, "");
  const std::vector<test::CapturedFrame> original = conversation();
  const test::CaptureContent everything = test::readCaptureFile(out());
  // The capture's own order comes back: oldest first, though the view shows the log newest first.
  ASSERT_EQ(everything.frames.size(), 4U);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(everything.frames[i].bytes, original[i].bytes);
    EXPECT_EQ(everything.frames[i].time, original[i].time);
  }

  const auto dns = runQvlog({"export-pcap", log(), out("dns.pcap"), "--remote-port", "53"});
  EXPECT_EQ(dns.exitCode, 0) << dns.err;
  EXPECT_EQ(dns.out, "Records : 2 / 4\n");
  const test::CaptureContent filtered = test::readCaptureFile(out("dns.pcap"));
  ASSERT_EQ(filtered.frames.size(), 2U);
  EXPECT_EQ(filtered.frames[0].bytes, original[0].bytes);
  EXPECT_EQ(filtered.frames[1].bytes, original[2].bytes);

  // A sort chooses the order: remote port up, newest first among equal ports.
  const auto byPort = runQvlog({"export-pcap", log(), out("port.pcap"), "--sort", "R Port"});
  EXPECT_EQ(byPort.exitCode, 0) << byPort.err;
  const test::CaptureContent sorted = test::readCaptureFile(out("port.pcap"));
  ASSERT_EQ(sorted.frames.size(), 4U);
  const std::size_t portOrder[] = {2, 0, 1, 3};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(sorted.frames[i].time, original[portOrder[i]].time) << i;

  const auto none = runQvlog({"export-pcap", log(), out("none.pcap"), "--no-in", "--no-udp"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "Records : 0 / 4\n");
  EXPECT_TRUE(test::readCaptureFile(out("none.pcap")).frames.empty());
}

TEST_F(ExportPcapCommandTest, ReportsFailuresWithoutClaimingSuccess) {
  const auto noFolder = runQvlog({"export-pcap", log(), (folder_ / "none" / "x.pcap").string()});
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_EQ(noFolder.out, "");
  EXPECT_EQ(noFolder.err, "File Open Error : No such file or directory\n");

  if (fs::exists("/dev/full")) {
    const auto full = runQvlog({"export-pcap", log(), "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.out, "");
    EXPECT_EQ(full.err, "File Write Error : No space left on device\n");
  }

  const auto missing = runQvlog({"export-pcap", (folder_ / "missing.log").string(), out()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "Records : 0 / 0\n");
  EXPECT_EQ(missing.err, "CFile::Open Error : No such file or directory\n");
  EXPECT_FALSE(fs::exists(out()));

  const auto invalid = runQvlog({"export-pcap", log(), out(), "--time", "12345"});
  EXPECT_EQ(invalid.exitCode, 2);
  EXPECT_EQ(invalid.out, "");
  EXPECT_FALSE(fs::exists(out()));

  EXPECT_EQ(runQvlog({"export-pcap", log()}).exitCode, 2);
}

TEST_F(ExportPcapCommandTest, AnEmptyLogGivesACaptureWithoutFrames) {
  std::ofstream(folder_ / "empty.log", std::ios::binary) << logHeaderLine(kPacketLogTag, 0, 0);
  const auto result = runQvlog({"export-pcap", (folder_ / "empty.log").string(), out()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Records : 0 / 0\n");
  const test::CaptureContent capture = test::readCaptureFile(out());
  EXPECT_EQ(capture.linkType, DLT_EN10MB);
  EXPECT_TRUE(capture.frames.empty());
}

TEST_F(ExportPcapCommandTest, NotesPacketsWithoutATime) {
  // Overwrite the newest record's time digits with text that is no time.
  std::string bytes = test::readFileBytes(log());
  const std::size_t last = bytes.rfind("\r\n0");
  ASSERT_NE(last, std::string::npos);
  bytes.replace(last + 2 + 9, 16, "not a time value");
  std::ofstream(log(), std::ios::binary | std::ios::trunc) << bytes;

  const auto result = runQvlog({"export-pcap", log(), out()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "Note : 1 packet(s) have no time a capture can hold; written with time 0 "
                        "(1970-01-01 00:00:00 UTC)\n");
  const test::CaptureContent capture = test::readCaptureFile(out());
  ASSERT_EQ(capture.frames.size(), 4U);
  EXPECT_EQ(capture.frames[3].time, (CaptureTime{0, 0}));
  EXPECT_EQ(capture.frames[2].time, conversation()[2].time);
}

#ifdef QV_TSHARK_PATH
// Another tool reads what we write: the same number of frames, no complaint.
TEST_F(ExportPcapCommandTest, TsharkReadsTheExportedCapture) {
  const fs::path sample = QV_SOURCE_DIR "/samples/rawlog.log";
  const std::string source = fs::exists(sample) ? sample.string() : log();
  const auto exported = runQvlog({"export-pcap", source, out()});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::size_t shown = std::stoul(exported.out.substr(exported.out.find(": ") + 2));
  const auto tshark = test::runProgram(QV_TSHARK_PATH, {"-n", "-r", out(), "-T", "fields", "-e", "frame.number"});
  EXPECT_EQ(tshark.exitCode, 0) << tshark.err;
  std::istringstream lines(tshark.out);
  std::size_t frames = 0;
  for (std::string line; std::getline(lines, line);) ++frames;
  EXPECT_EQ(frames, shown);
  EXPECT_GT(frames, 0U);
}
#endif

}  // namespace
}  // namespace qv
