#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "logdata/log_fixtures.h"
#include "logdata/windows1252.h"
#include "views/csv_save.h"
#include "views/row_formats.h"

namespace qv {
namespace {

TrafficRecord eventNamed(std::string_view ruleName, std::string_view applicationName) {
  TrafficRecord record;
  record.time = Text("2004/03/10 10:00:00");
  record.flags = RecordFlag::kTcp | RecordFlag::kIncoming | RecordFlag::kBlocked;
  record.remoteIp = Text("10.0.0.5");
  record.remotePort = 53;
  record.ruleName = Text(ruleName);
  record.applicationName = Text(applicationName);
  return record;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Windows1252, EveryByteBecomesOneCharacter) {
  EXPECT_EQ(windows1252ToUtf8("a\x80\x9F\xA0\xE9\xFF"), "a\u20AC\u0178\u00A0\u00E9\u00FF");
  // Bytes the code page leaves undefined keep their Latin-1 code points.
  EXPECT_EQ(windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(RowFormats, CsvQuotesOnlyWhatNeedsIt) {
  std::string row;
  appendTrafficCsvRow(row, eventNamed("a \"b\", c", "line\r\nbreak"));
  EXPECT_NE(row.find(",\"a \"\"b\"\", c\","), std::string::npos) << row;
  EXPECT_NE(row.find(",\"line\r\nbreak\","), std::string::npos) << row;
  EXPECT_TRUE(row.starts_with("2004/03/10 10:00:00,Block,Incoming,TCP,10.0.0.5,,53,")) << row;
}

TEST(RowFormats, JsonEscapesControlsAndKeepsNumbersBare) {
  std::string line;
  appendTrafficJsonLine(line, eventNamed("tab\there \\ \x01", "\xE9"));
  EXPECT_NE(line.find("\"ruleName\":\"tab\\there \\\\ \\u0001\""), std::string::npos) << line;
  EXPECT_NE(line.find("\"applicationName\":\"\u00E9\""), std::string::npos) << line;
  EXPECT_NE(line.find("\"remotePort\":53,"), std::string::npos) << line;
  EXPECT_TRUE(line.starts_with("{\"time\":\"2004/03/10 10:00:00\",\"action\":\"Block\"")) << line;
  EXPECT_EQ(line.back(), '}');
  EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(RowFormats, FormatNames) {
  EXPECT_EQ(rowFormatNamed("csv"), RowFormat::kCsv);
  EXPECT_EQ(rowFormatNamed("json"), RowFormat::kJsonLines);
  EXPECT_EQ(rowFormatNamed("tsv"), RowFormat::kTsv);
  EXPECT_EQ(rowFormatNamed("CSV"), std::nullopt);
}

class CsvSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::makeUniqueFolder(::testing::TempDir() + "csvsave-");
    path_ = folder_ + "/events.csv";
  }
  void TearDown() override {
    std::remove(path_.c_str());
    std::error_code ignored;
    std::filesystem::remove(folder_, ignored);
  }
  std::string folder_;
  std::string path_;
};

TEST_F(CsvSave, SavesTheSelectionOrEveryShownEvent) {
  const std::vector<TrafficRecord> shown = {eventNamed("first", ""), eventNamed("second", ""),
                                            eventNamed("third", "")};
  const std::vector<TrafficRecord> selected = {shown[2], shown[0]};
  ASSERT_TRUE(saveTrafficCsv(selected, shown, path_).written());
  const std::string saved = fileText(path_);
  EXPECT_EQ(saved, trafficRowsCsv(selected));
  EXPECT_LT(saved.find("third"), saved.find("first"));
  EXPECT_EQ(saved.find("second"), std::string::npos);

  ASSERT_TRUE(saveTrafficCsv({}, shown, path_).written());
  EXPECT_EQ(fileText(path_), trafficRowsCsv(shown));
}

TEST_F(CsvSave, NothingToSaveOrNoPlaceLeavesTheOldFile) {
  std::ofstream(path_) << "old";
  const ExportResult none = saveTrafficCsv({}, {}, path_);
  EXPECT_EQ(none.status, ExportStatus::kNothingSelected);
  EXPECT_EQ(none.message, "Select items on the list!");
  const std::vector<TrafficRecord> shown = {eventNamed("rule", "")};
  const ExportResult failed = saveTrafficCsv({}, shown, folder_ + "/missing/events.csv");
  EXPECT_EQ(failed.status, ExportStatus::kWriteFailed);
  EXPECT_TRUE(failed.message.starts_with("File Write Error : ")) << failed.message;
  EXPECT_EQ(fileText(path_), "old");
}

}  // namespace
}  // namespace qv
