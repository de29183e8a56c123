#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "logdata/log_export.h"
#include "logdata/log_fixtures.h"
#include "logdata/packet_record.h"
#include "support/system_texts.h"

namespace qv {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// Records over one shared buffer, one at the start of each of the given
// texts (whose record-length fields state their lengths).
std::vector<PacketRecord> recordsOver(const std::vector<std::string>& recordBytes) {
  std::string content = "header line stand-in\r\n";
  std::vector<std::size_t> starts;
  for (const std::string& bytes : recordBytes) {
    starts.push_back(content.size());
    content += bytes;
  }
  const SharedReadBuffer buffer = readBufferOf(content);
  std::vector<PacketRecord> records;
  for (const std::size_t start : starts) {
    PacketRecord record;
    record.buffer = buffer;
    record.recordStart = start;
    records.push_back(record);
  }
  return records;
}

TEST(ExportPacket, CopiesRecordBytesUnchangedLastToFirst) {
  const std::string first = "00000015\tfirst\0\r\n\t\xFF\r\n"s;
  const std::string second = "00000013\tsecond\x01\x02\r\n"s;
  const std::string third = "00000012\tthird\x7F\x80\r\n"s;
  const std::vector<PacketRecord> selected = recordsOver({first, second, third});
  const std::string image = packetExportImage(selected);
  EXPECT_EQ(image, "00000003\tFFFFFFFF\t00000000\t00000003\t00000000\t0000000000000003\tFFFFFFFF\r\n"s + third + second +
                       first);
}

TEST(ExportPacket, WritesTheFileAndReportsFailures) {
  const std::vector<PacketRecord> selected = recordsOver({"0000000E\tabc\r\n"});
  const fs::path path = fs::temp_directory_path() / ("qv_export_packet_" + std::to_string(::getpid()) + ".log");
  ExportResult result = exportPacketSelection(selected, path.string());
  ASSERT_TRUE(result.written()) << result.message;
  EXPECT_EQ(test::readFileBytes(path), packetExportImage(selected));
  fs::remove(path);

  result = exportPacketSelection(selected, fs::temp_directory_path().string());  // a folder
  EXPECT_EQ(result.status, ExportStatus::kOpenFailed);
  EXPECT_EQ(result.message, "File Open Error : " + test::isAFolderText());
}

}  // namespace
}  // namespace qv
