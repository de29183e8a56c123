#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "log_fixtures.h"
#include "logdata/image_offset.h"
#include "logdata/packet_log_reader.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> span) { return {span.begin(), span.end()}; }

TEST(PacketRecordParts, OffsetsKeepEveryValueAnImageCanHold) {
  for (const std::uint64_t value : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0xFFFFFFFF},
                                    std::uint64_t{0x1'0000'0005}, kLargestReadImage, kLargestReadImage + 1}) {
    const ImageOffset offset = value;
    EXPECT_EQ(std::uint64_t{offset}, value);
  }
  EXPECT_THROW(ImageOffset(kLargestReadImage + 2), std::out_of_range);
}

// A frame holding CRs and NULs, whose record states it whole or longer.
TEST(PacketRecordParts, RecordsOfFramesAloneReadBackAsTheFrame) {
  const std::vector<std::uint8_t> frame = {0x00, 0x0D, 0x0A, 0x09, 0xFF, 0x00, 0x30};
  const std::string text = packetRecordTextOfFrame(frame, 7);
  const PacketRecord whole = parsePacketRecord(readBufferOf(text + "\r\n"), 0);
  EXPECT_EQ(bytesOf(whole.packetBytes()), frame);
  EXPECT_EQ(whole.recordLength(), text.size() + 2);
  EXPECT_EQ(whole.recordBytes().size(), text.size() + 2);
  EXPECT_EQ(whole.applicationName, "");
  EXPECT_EQ(whole.remoteIp, "0.0.0.0");

  PacketRecord claimed;
  claimed.buffer = readBufferOf(packetRecordTextOfFrame(frame, 100));
  EXPECT_EQ(claimed.packetLength(), 100u);
  EXPECT_EQ(bytesOf(claimed.packetBytes()), frame);  // cut short by the end of the data
  EXPECT_THROW(parsePacketRecord(claimed.buffer, claimed.buffer->fileLength), std::out_of_range);
  EXPECT_TRUE(noDataPacketRecord().packetBytes().empty());
}

// Records find their frames again from their own text: on the sample log and
// damaged ones, each record's parts are those the scan stepped over, so the
// next record (or fragment) starts just past its frame.
TEST(PacketRecordParts, EachRecordEndsWhereTheScanWentOn) {
  const fs::path corpus = fs::path(QV_SOURCE_DIR) / "fuzz" / "corpus" / "log_readers_fuzz";
  std::size_t checked = 0;
  for (const fs::path& path : {fs::path(QV_SOURCE_DIR) / "samples" / "rawlog.log", corpus / "packet_records"}) {
    const std::string content = test::readFileBytes(path);
    for (std::size_t cut = content.size(); cut > content.size() / 2; cut -= 1 + cut / 7) {
      const SharedReadBuffer buffer = readBufferOf(std::string_view(content).substr(0, cut));
      const PacketLog log = parsePacketLog(buffer);
      for (std::size_t i = 0; i < log.records.size(); ++i) {
        const PacketRecord& record = log.records[i];
        const PacketRecordLayout parts = record.layout();
        EXPECT_LE(record.recordStart + parts.text.size(), cut);
        EXPECT_GE(parts.packetOffset, record.recordStart);
        if (i + 1 < log.records.size()) {
          const std::uint64_t next = log.records[i + 1].recordStart;
          EXPECT_LE(parts.next(), next) << path << " cut at " << cut << ", record " << i;
          // Only fragment lines, which never start with '0', lie between.
          if (parts.next() < next) {
            EXPECT_NE(content[parts.next()], '0');
          }
        }
        EXPECT_EQ(parsePacketRecord(buffer, record.recordStart).applicationName, record.applicationName);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100u);
}

}  // namespace
}  // namespace qv
