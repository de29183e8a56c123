#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "capture/capture_files.h"
#include "capture/test_frames.h"
#include "support/run_program.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::runQvlog;

const fs::path kPcapFolder = QV_SHARED_DATA_DIR "/pcap";

test::Frame sampleFrame() {
  return test::ipv4Frame({192, 168, 0, 5}, {10, 9, 8, 7}, 6, test::tcpSegment(1025, 80, 0x02));
}

TEST(ImportPcapCommand, WritesTheLogAndCountsTheFrames) {
  test::TemporaryFolder folder("cli_import");
  test::writeCaptureFile(folder / "in.pcap", DLT_EN10MB, {{{1, 0}, sampleFrame()}, {{2, 0}, sampleFrame()}});
  const auto result = runQvlog({"import-pcap", (folder / "in.pcap").string(), (folder / "out.log").string(),
                                "--local-net", "10.9.0.0/16", "--action", "blocked"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Frames : 2\n");
  EXPECT_EQ(result.err, "");
  const std::string log = test::readFileBytes(folder / "out.log");
  ASSERT_GT(log.size(), 72U + 9 + 88);
  EXPECT_EQ(log.substr(0, 36), "00000003\tFFFFFFFF\t00000000\t00000002\t");
  // 10.9.8.7 is the host now, so the frame came in, and it was blocked.
  EXPECT_EQ(log.substr(72 + 9 + 26, 8), "0708090A");
  EXPECT_EQ(log.substr(72 + 9 + 71, 17), "00000001\t00000001");
}

TEST(ImportPcapCommand, RefusesBadArgumentsAndUnusableCaptures) {
  test::TemporaryFolder folder("cli_import_bad");
  const std::string out = (folder / "out.log").string();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"import-pcap"}, {"import-pcap", "a.pcap"}, {"import-pcap", "a", "b", "c"},
        {"import-pcap", "a", "b", "--local-net", "10.0.0.0/40"}, {"import-pcap", "a", "b", "--action", "dropped"},
        {"import-pcap", "a", "b", "--verbose"}, {"import-pcap", "a", "b", "--local-net"}}) {
    const auto result = runQvlog(args);
    EXPECT_EQ(result.exitCode, 2) << args.size();
    EXPECT_FALSE(result.err.empty());
  }

  test::writeCaptureFile(folder / "sll.pcap", DLT_LINUX_SLL, {{{1, 0}, sampleFrame()}});
  const auto sll = runQvlog({"import-pcap", (folder / "sll.pcap").string(), out});
  EXPECT_EQ(sll.exitCode, 1);
  EXPECT_EQ(sll.out, "");
  EXPECT_EQ(sll.err,
            "Capture Link Type Error : the frames are of link type 113 (LINUX_SLL, Linux cooked v1); "
            "only Ethernet (1) captures can be imported\n");
  EXPECT_FALSE(fs::exists(out));

  test::writeCaptureFile(folder / "in.pcap", DLT_EN10MB, {{{1, 0}, sampleFrame()}});
  const auto unwritable = runQvlog({"import-pcap", (folder / "in.pcap").string(), (folder / "no" / "x.log").string()});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_EQ(unwritable.out, "");
  EXPECT_EQ(unwritable.err, "File Open Error : No such file or directory\n");
}

TEST(ImportPcapCommand, ACutCaptureIsReportedAfterItsCompleteFramesAreWritten) {
  test::TemporaryFolder folder("cli_import_cut");
  test::writeCaptureFile(folder / "whole.pcap", DLT_EN10MB, {{{1, 0}, sampleFrame()}, {{2, 0}, sampleFrame()}});
  const std::string whole = test::readFileBytes(folder / "whole.pcap");
  std::ofstream(folder / "cut.pcap", std::ios::binary) << whole.substr(0, whole.size() - 5);
  const auto result = runQvlog({"import-pcap", (folder / "cut.pcap").string(), (folder / "out.log").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Frames : 1\n");
  EXPECT_EQ(result.err.rfind("Capture Read Error : truncated dump file", 0), 0U) << result.err;
  EXPECT_EQ(test::readFileBytes(folder / "out.log").substr(27, 8), "00000001");
}

}  // namespace
}  // namespace qv
