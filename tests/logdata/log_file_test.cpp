#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "logdata/log_file.h"
#include "logdata/log_header.h"
#include "logdata/traffic_log_reader.h"
#include "log_fixtures.h"
#include "platform/system_error.h"

namespace qv {
namespace {

TEST(LogFile, ReadsTheWholeFileFollowedByOneNul) {
  const test::TemporaryFolder folder("log_file");
  const std::string content = std::string("00000002\t\0\r\n", 12) + std::string(100000, 'x');
  const std::string path = (folder.path() / "tralog.log").string();
  std::ofstream(path, std::ios::binary) << content;
  const FileReadResult result = readWholeFile(path);
  ASSERT_TRUE(result.opened);
  ASSERT_TRUE(result.buffer);
  EXPECT_EQ(result.buffer->fileLength, content.size());
  EXPECT_EQ(result.buffer->content(), content);
  ASSERT_EQ(result.buffer->bytes.size(), content.size() + 1);
  EXPECT_EQ(result.buffer->bytes.back(), '\0');

  const std::string emptyPath = (folder.path() / "empty.log").string();
  std::ofstream(emptyPath, std::ios::binary).flush();
  const FileReadResult empty = readWholeFile(emptyPath);
  ASSERT_TRUE(empty.opened);
  EXPECT_EQ(empty.buffer->fileLength, 0u);
  EXPECT_EQ(empty.buffer->bytes.size(), 1u);
}

TEST(LogFile, ReportsTheSystemsTextWhenItCannotRead) {
  const test::TemporaryFolder folder("log_file");
  const FileReadResult missing = readWholeFile((folder.path() / "missing.log").string());
  EXPECT_FALSE(missing.opened);
  EXPECT_FALSE(missing.buffer);
  EXPECT_EQ(missing.errorText, platform::systemErrorText(ENOENT));
  // A folder opens on some systems but is no log: it must not read as an empty one.
  const FileReadResult folderRead = readWholeFile(folder.path().string());
  EXPECT_FALSE(folderRead.opened);
  EXPECT_FALSE(folderRead.errorText.empty());
}

TEST(LogFile, TrafficFileReadInPiecesEqualsTheWholeParse) {
  const test::TemporaryFolder folder("log_file");
  // Several window lengths of lines, with lines longer than a window, NUL
  // padding, fragments and a tail without CR, so that lines and fragments
  // cross the window's edges at many places.
  std::string content = test::logHeader("00000002", "00004000", "00000000");
  for (int i = 0; i < 14000; ++i) {
    test::TrafficFields fields;
    fields.occurrences = test::hex8(static_cast<std::uint32_t>(i));
    fields.applicationName = std::string(static_cast<std::size_t>(i % 97), 'a');
    if (i % 5000 == 4999) fields.nameAddress = std::string(1500000, 'n');
    content += test::trafficLine(fields) + "\n";
    if (i % 777 == 0) content += std::string(static_cast<std::size_t>(i % 13), '\0') + "fragment\r\n";
  }
  content += "0 tail without a line end" + std::string(300, 'z');
  const std::string path = (folder.path() / "tralog.log").string();
  std::ofstream(path, std::ios::binary) << content;

  const TrafficLogFileRead read = readTrafficLogFile(path);
  ASSERT_TRUE(read.opened) << read.errorText;
  const TrafficLog whole = parseTrafficLog(content);
  ASSERT_EQ(whole.records.size(), 14001u);
  EXPECT_EQ(read.log.status, whole.status);
  EXPECT_EQ(read.log.newestIndex, whole.newestIndex);
  EXPECT_TRUE(read.log.records == whole.records);

  const TrafficLogFileRead missing = readTrafficLogFile((folder.path() / "missing.log").string());
  EXPECT_FALSE(missing.opened);
  EXPECT_EQ(missing.errorText, platform::systemErrorText(ENOENT));
  EXPECT_FALSE(readTrafficLogFile(folder.path().string()).opened);
}

TEST(ScanArithmetic, HoldsBeyondFourGibibytes) {
  constexpr ByteOffset kFiveGiB = std::uint64_t{5} << 30;
  EXPECT_FALSE(startsBeforeMargin(0, 200, 200));
  EXPECT_FALSE(startsBeforeMargin(0, 0, 130));
  EXPECT_TRUE(startsBeforeMargin(0, 201, 200));
  EXPECT_TRUE(startsBeforeMargin(kFiveGiB - 201, kFiveGiB, 200));
  EXPECT_FALSE(startsBeforeMargin(kFiveGiB - 200, kFiveGiB, 200));
  // A 32-bit position would have wrapped to a small number here.
  EXPECT_FALSE(startsBeforeMargin((std::uint64_t{1} << 32) + 100, (std::uint64_t{1} << 32) + 250, 200));

  EXPECT_TRUE(fragmentMarksNewest(500, 879, 880));
  EXPECT_FALSE(fragmentMarksNewest(500, 1380, 880));
  EXPECT_TRUE(fragmentMarksNewest(kFiveGiB - 1701, kFiveGiB, 1700));
  EXPECT_FALSE(fragmentMarksNewest(kFiveGiB - 100, kFiveGiB, 1700));

  std::int32_t newest = -1;
  applyFragmentRingRule(newest, 0, 10, kFiveGiB, 880);
  EXPECT_EQ(newest, -1);
  applyFragmentRingRule(newest, 4, kFiveGiB - 10, kFiveGiB, 880);  // near the end: only an unknown index moves
  EXPECT_EQ(newest, 3);
  applyFragmentRingRule(newest, 8, kFiveGiB - 10, kFiveGiB, 880);
  EXPECT_EQ(newest, 3);
  applyFragmentRingRule(newest, 8, 1000, kFiveGiB, 880);
  EXPECT_EQ(newest, 7);
  // More records than a signed 32-bit index can name never wrap it negative.
  applyFragmentRingRule(newest, (std::uint64_t{1} << 32) + 5, 1000, kFiveGiB, 880);
  EXPECT_EQ(newest, INT32_MAX);
}

}  // namespace
}  // namespace qv
