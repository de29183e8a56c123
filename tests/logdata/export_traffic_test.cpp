#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "logdata/log_export.h"
#include "logdata/time_zone_guard.h"
#include "logdata/traffic_record.h"
#include "logdata/log_fixtures.h"
#include "support/system_texts.h"

namespace qv {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

TrafficRecord workedExample() {
  TrafficRecord record;
  record.flags = RecordFlag::kBlocked | RecordFlag::kIncoming | RecordFlag::kTcp;
  record.time = "2004/01/02 03:04:05";
  record.beginTime = "2004/01/02 03:04:05";
  record.endTime = "2004/01/02 03:04:05";
  record.occurrences = 1;
  record.remoteIp = "10.0.0.5";
  record.remotePort = 1234;
  record.localIp = "192.168.0.2";
  record.localPort = 80;
  record.ruleName = "Block_all";
  record.applicationName = "C:\\app.exe";
  return record;
}

const std::string kWorkedExampleText =
    "000000FB\t01C3D0DD14B10080\t0000012D\t0200A8C0\t0500000A\t00000050\t000004D2\t00000001\t"
    "01C3D0DD14B10080\t01C3D0DD14B10080\t00000001\t00000001\t00000000\t00000000\t"
    "00000000000000000000000000000000\t\tBlock_all\tC:\\app.exe\t";

fs::path temporaryPath(const std::string& name) {
  return fs::temp_directory_path() / ("qv_export_" + std::to_string(::getpid()) + "_" + name);
}

TEST(ExportTraffic, WorkedExampleByteForByte) {
  test::TimeZoneGuard utc("UTC");
  const TrafficRecord record = workedExample();
  ASSERT_EQ(kWorkedExampleText.size(), 205u);
  EXPECT_EQ(trafficRecordText(record), kWorkedExampleText);

  const std::vector<TrafficRecord> selected{record};
  const std::string expected = "00000002\tFFFFFFFF\t00000000\t00000001\t00000000\t0000000000000001\tFFFFFFFF\r\n"s +
                               kWorkedExampleText + std::string(16, '\0') + "\t" + std::string(16, '\0') +
                               "\tN/A\tN/A\tN/A\r\n";
  EXPECT_EQ(trafficExportImage(selected), expected);
  EXPECT_EQ(expected.size(), 72u + 251u + 1u);
}

TEST(ExportTraffic, FieldsByFlagsAndEmptyTexts) {
  test::TimeZoneGuard utc("UTC");
  TrafficRecord record;  // no flags, empty texts
  const std::string text = trafficRecordText(record);
  EXPECT_EQ(text.substr(text.size() - 3), "\t\t\t");
  EXPECT_EQ(text.substr(0, 9), "000000E8\t");
  EXPECT_EQ(std::stoul(text.substr(0, 8), nullptr, 16), text.size() + kTrafficRecordTrailer.size());
  // An empty time (before 1970) is written as one second before 1970.
  EXPECT_EQ(text.substr(9, 17), "019DB1DED4A5E980\t");
  EXPECT_EQ(text.substr(26, 9), "00000000\t");   // no protocol
  EXPECT_EQ(text.substr(71, 9), "00000000\t");   // no direction
  EXPECT_EQ(text.substr(123, 9), "00000002\t");  // no action bit

  struct Case {
    std::uint8_t flags;
    const char* protocol;
    const char* direction;
    const char* action;
  };
  using namespace RecordFlag;
  for (const Case& c : {Case{kUdp | kOutgoing | kAllowed, "0000012E\t", "00000002\t", "00000000\t"},
                        Case{kIcmp | kIncoming | kBlocked, "00000132\t", "00000001\t", "00000001\t"},
                        Case{kTcp | kAllowed, "0000012D\t", "00000000\t", "00000000\t"}}) {
    record.flags = c.flags;
    const std::string fields = trafficRecordText(record);
    EXPECT_EQ(fields.substr(26, 9), c.protocol);
    EXPECT_EQ(fields.substr(71, 9), c.direction);
    EXPECT_EQ(fields.substr(123, 9), c.action);
  }
}

TEST(ExportTraffic, ReportsFailuresAndWritesNothingWithoutASelection) {
  const fs::path path = temporaryPath("traffic.log");
  fs::remove(path);
  ExportResult result = exportTrafficSelection({}, path.string());
  EXPECT_EQ(result.status, ExportStatus::kNothingSelected);
  EXPECT_EQ(result.message, "Select items on the list!");
  EXPECT_FALSE(fs::exists(path));

  const std::vector<TrafficRecord> selected{workedExample()};
  result = exportTrafficSelection(selected, (temporaryPath("missing") / "traffic.log").string());
  EXPECT_EQ(result.status, ExportStatus::kOpenFailed);
  EXPECT_EQ(result.message, "File Open Error : " + test::noSuchFolderText());

#ifndef _WIN32
  // Opening works, every write fails (a device that Windows does not have).
  result = exportTrafficSelection(selected, "/dev/full");
  EXPECT_EQ(result.status, ExportStatus::kWriteFailed);
  EXPECT_EQ(result.message, "File Write Error : " + test::diskFullText());
#endif

  std::ofstream(path) << "an older file";
  result = exportTrafficSelection(selected, path.string());
  EXPECT_TRUE(result.written());
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(test::readFileBytes(path), trafficExportImage(selected));
  fs::remove(path);
}

// The file size limit that makes a write fail halfway is POSIX's; Windows
// has no per-process equivalent.
#ifndef _WIN32
TEST(ExportTraffic, AWriteFailingHalfwayRemovesTheIncompleteFile) {
  const fs::path path = temporaryPath("partial.log");
  const std::vector<TrafficRecord> selected(100, workedExample());
  const ExportResult result = test::underFileSizeLimit(1000, [&] { return exportTrafficSelection(selected, path.string()); });
  EXPECT_EQ(result.status, ExportStatus::kWriteFailed);
  EXPECT_EQ(result.message.rfind("File Write Error : ", 0), 0u) << result.message;
  EXPECT_FALSE(fs::exists(path));
}
#endif

}  // namespace
}  // namespace qv
