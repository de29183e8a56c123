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

// Records over one shared buffer, each covering the given bytes.
std::vector<PacketRecord> recordsOver(const std::vector<std::string>& recordBytes) {
  auto buffer = std::make_shared<ReadBuffer>();
  std::string content = "header line stand-in\r\n";
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (const std::string& bytes : recordBytes) {
    spans.emplace_back(content.size(), bytes.size());
    content += bytes;
  }
  buffer->bytes.assign(content.begin(), content.end());
  buffer->bytes.push_back('\0');
  buffer->fileLength = content.size();
  std::vector<PacketRecord> records;
  for (const auto& [start, length] : spans) {
    PacketRecord record;
    record.buffer = buffer;
    record.recordStart = start;
    record.recordLength = static_cast<std::uint32_t>(length);
    records.push_back(record);
  }
  return records;
}

TEST(ExportPacket, CopiesRecordBytesUnchangedLastToFirst) {
  const std::string first = "00000010\tfirst\0\r\n\t\xFF\r\n"s;
  const std::string second = "0000000C\tsecond\x01\x02\r\n"s;
  const std::string third = "0000000B\tthird\x7F\x80\r\n"s;
  const std::vector<PacketRecord> selected = recordsOver({first, second, third});
  const std::string image = packetExportImage(selected);
  EXPECT_EQ(image, "00000003\tFFFFFFFF\t00000000\t00000003\t00000000\t0000000000000003\tFFFFFFFF\r\n"s + third + second +
                       first);
}

TEST(ExportPacket, WritesTheFileAndReportsFailures) {
  const std::vector<PacketRecord> selected = recordsOver({"00000008\tabc\r\n"});
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
