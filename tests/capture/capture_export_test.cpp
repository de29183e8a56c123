#include "capture/capture_export.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/capture_files.h"
#include "capture/packet_log_writer.h"
#include "capture/test_frames.h"

namespace qv {
namespace {


// Records over a log image made by the writer, each knowing only where it
// starts, so the export can be checked on its own.
class LogImage {
 public:
  void add(const std::string& timeDigits, const test::Frame& frame) {
    PacketLogEntry entry;
    entry.frame = frame;
    const std::size_t start = bytes_.size();
    appendPacketLogRecord(bytes_, entry);
    bytes_.replace(start + 9, 16, timeDigits.substr(0, 16));
    PacketRecord record;
    record.recordStart = start;
    records_.push_back(record);
  }

  // The shared buffer of the first `fileLength` bytes (all by default).
  std::vector<PacketRecord> records(std::size_t fileLength = std::string::npos) const {
    const SharedReadBuffer buffer = readBufferOf(std::string_view(bytes_).substr(0, fileLength));
    std::vector<PacketRecord> result = records_;
    for (PacketRecord& record : result) record.buffer = buffer;
    return result;
  }

  std::size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
  std::vector<PacketRecord> records_;
};

const test::Frame kUdpFrame = test::ipv4Frame({10, 0, 0, 1}, {8, 8, 8, 8}, 17, test::udpDatagram(5353, 53, {9, 9}));

TEST(CaptureExport, WritesEachRecordsFrameWithItsStoredTime) {
  LogImage log;
  log.add("01C3D0DD14C3D707", kUdpFrame);  // 2004-01-02 03:04:05.1234567 UTC
  log.add("019DB1DED53E8000", {});          // the epoch, and no frame bytes
  log.add("FFFFFFFFFFFFFFFF", kUdpFrame);   // past what a capture can hold
  log.add("01C3D0DD14B1008Z", kUdpFrame);   // no time at all
  test::TemporaryFolder folder("export_fields");
  const CaptureExport exported = exportCaptureFile(log.records(), (folder / "out.pcap").string());
  ASSERT_TRUE(exported.ok) << exported.message;
  EXPECT_EQ(exported.frameCount, 4U);
  EXPECT_EQ(exported.framesWithoutTime, 2U);
  EXPECT_EQ(exported.framesCutShort, 0U);

  const test::CaptureContent capture = test::readCaptureFile(folder / "out.pcap");
  EXPECT_TRUE(capture.error.empty()) << capture.error;
  EXPECT_EQ(capture.linkType, DLT_EN10MB);
  ASSERT_EQ(capture.frames.size(), 4U);
  EXPECT_EQ(capture.frames[0].time, (CaptureTime{1073012645, 123456000}));
  EXPECT_EQ(capture.frames[0].bytes, kUdpFrame);
  EXPECT_EQ(capture.frames[0].originalLength, kUdpFrame.size());
  EXPECT_EQ(capture.frames[1].time, (CaptureTime{0, 0}));
  EXPECT_TRUE(capture.frames[1].bytes.empty());
  EXPECT_EQ(capture.frames[2].time, (CaptureTime{0, 0}));
  EXPECT_EQ(capture.frames[3].time, (CaptureTime{0, 0}));
  EXPECT_EQ(capture.frames[3].bytes, kUdpFrame);
  EXPECT_EQ(test::readFileBytes(folder / "out.pcap"), exported.captureBytes);
}

TEST(CaptureExport, AFrameCutByTheEndOfTheLogKeepsItsStatedLength) {
  LogImage log;
  log.add("01C3D0DD14B10080", kUdpFrame);
  log.add("01C3D0DD14B10080", kUdpFrame);
  // The log ends 10 bytes into the second frame; the second record's time is whole.
  const std::vector<PacketRecord> records = log.records(log.size() - 2 - kUdpFrame.size() + 10);
  const CaptureExport exported = captureFromPackets(records);
  ASSERT_TRUE(exported.ok);
  EXPECT_EQ(exported.framesCutShort, 1U);
  test::TemporaryFolder folder("export_cut");
  ASSERT_TRUE(exportCaptureFile(records, (folder / "cut.pcap").string()).ok);
  const test::CaptureContent capture = test::readCaptureFile(folder / "cut.pcap");
  ASSERT_EQ(capture.frames.size(), 2U);
  EXPECT_EQ(capture.frames[1].bytes, test::Frame(kUdpFrame.begin(), kUdpFrame.begin() + 10));
  EXPECT_EQ(capture.frames[1].originalLength, kUdpFrame.size());
  EXPECT_EQ(capture.frames[1].time, (CaptureTime{1073012645, 0}));
}

TEST(CaptureExport, RecordsWithoutABufferAndEmptySelections) {
  const std::vector<PacketRecord> placeholder = {noDataPacketRecord()};
  const CaptureExport exported = captureFromPackets(placeholder);
  ASSERT_TRUE(exported.ok);
  EXPECT_EQ(exported.framesWithoutTime, 1U);
  EXPECT_FALSE(storedTimeValue(placeholder[0]).has_value());

  const CaptureExport none = captureFromPackets(std::span<const PacketRecord>());
  ASSERT_TRUE(none.ok);
  EXPECT_EQ(none.captureBytes.size(), 24U) << "just the file header";
}

}  // namespace
}  // namespace qv
