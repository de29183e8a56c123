// A traffic log read in parts on several threads gives what one pass gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "log_fixtures.h"
#include "logdata/traffic_log_reader.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& content)
      : path_(fs::temp_directory_path() / ("qv_split_scan_" + std::to_string(std::random_device{}()) + ".log")) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~ScratchFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

// A ring log whose lines are mixed with what damaged and wrapped logs hold:
// fragments (lines not starting with '0'), NUL padding after line ends, runs
// of line feeds, NULs inside lines and lines without a TAB, near any point.
std::string ringLog(std::uint32_t seed, int lines) {
  std::mt19937 random(seed);
  std::string body;
  for (int i = 0; i < lines; ++i) {
    test::TrafficFields fields;
    fields.remotePort = test::hex8(static_cast<std::uint32_t>(i));
    fields.nameAddress = "host" + std::to_string(random() % 5);
    std::string line = test::trafficLine(fields);
    switch (random() % 12) {
      case 0: line = "E0F" + line.substr(3); break;                 // a fragment
      case 1: line += std::string(1 + random() % 3, '\0'); break;   // padding
      case 2: line += std::string(1 + random() % 4, '\n'); break;   // line feeds
      case 3: line[40] = '\0'; break;                                // a NUL inside
      case 4: line = "0000003A no tab in this line at all\r"; break;
      case 5: line = line.substr(0, random() % line.size()) + "\r"; break;  // cut short
      default: break;
    }
    body += line;
  }
  return test::logHeader("00000002", test::hex8(static_cast<std::uint32_t>(lines)),
                         test::hex8(static_cast<std::uint32_t>(random() % (lines + 1)))) +
         body + std::string(random() % 400, random() % 2 == 0 ? ' ' : '\0');
}

// Reads the file in one pass and in several part counts; all must agree.
void expectSplitReadsEqualOnePass(const std::string& content, const std::string& what) {
  const ScratchFile file(content);
  const TrafficLogFileRead single = readTrafficLogFile(file.path(), 1);
  ASSERT_TRUE(single.opened) << what;
  for (const unsigned parts : {2u, 3u, 7u}) {
    const TrafficLogFileRead split = readTrafficLogFile(file.path(), parts);
    ASSERT_TRUE(split.opened) << what << " in " << parts;
    EXPECT_EQ(split.log.status, single.log.status) << what << " in " << parts;
    EXPECT_EQ(split.log.newestIndex, single.log.newestIndex) << what << " in " << parts;
    ASSERT_EQ(split.log.records.size(), single.log.records.size()) << what << " in " << parts;
    for (std::size_t i = 0; i < single.log.records.size(); ++i) {
      ASSERT_EQ(split.log.records[i], single.log.records[i]) << what << " in " << parts << ", record " << i;
    }
  }
}

TEST(SplitScanThreads, GeneratedRingLogsReadAsInOnePass) {
  for (std::uint32_t seed = 1; seed <= 16; ++seed) {
    expectSplitReadsEqualOnePass(ringLog(seed, 40 + static_cast<int>(seed) * 13), "seed " + std::to_string(seed));
  }
  // A file of fragments only, and one with no line end after the header.
  expectSplitReadsEqualOnePass(test::logHeader("00000002", "00000010", "00000003") + std::string(5000, 'E') + "\r",
                               "no records");
  expectSplitReadsEqualOnePass(test::logHeader("00000002", "00000010", "00000003") + std::string(5000, '0'),
                               "one line");
}

TEST(SplitScanThreads, SampleAndDamagedLogsCutAnywhereReadAsInOnePass) {
  std::vector<std::string> logs;
  const fs::path sample = fs::path(QV_SOURCE_DIR) / "samples" / "tralog.log";
  const fs::path corpus = fs::path(QV_SOURCE_DIR) / "fuzz" / "corpus" / "log_readers_fuzz";
  for (const fs::path& path : {sample, corpus / "traffic_lines", corpus / "traffic_ring"}) {
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    logs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  for (const std::string& log : logs) {
    for (std::size_t length = 0; length <= log.size(); length += 1 + log.size() / 23) {
      expectSplitReadsEqualOnePass(log.substr(0, length), "cut at " + std::to_string(length));
    }
    expectSplitReadsEqualOnePass(log, "whole");
  }
}

}  // namespace
}  // namespace qv
