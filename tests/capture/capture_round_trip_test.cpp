#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture_export.h"
#include "capture/capture_files.h"
#include "capture/capture_import.h"
#include "logdata/log_fixtures.h"
#include "logdata/packet_log_reader.h"
#include "logdata/traffic_record.h"
#include "support/bundled_data.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const fs::path kPcapFolder = QV_SHARED_DATA_DIR "/pcap";

PacketLog importAndRead(const fs::path& capture, const CaptureImportOptions& options = {}) {
  const CaptureImport imported = packetLogFromCapture(capture.string(), options);
  EXPECT_EQ(imported.status, CaptureImportStatus::kImported) << capture << ": " << imported.message;
  return parsePacketLog(test::readBufferOf(imported.logBytes));
}

std::vector<fs::path> bundledEthernetCaptures() {
  std::vector<fs::path> captures;
  if (!fs::is_directory(kPcapFolder)) return captures;
  for (const fs::directory_entry& entry : fs::directory_iterator(kPcapFolder)) {
    if (entry.path().extension() == ".pcap" && test::readCaptureFile(entry.path()).linkType == DLT_EN10MB) {
      captures.push_back(entry.path());
    }
  }
  return captures;
}

TEST(CaptureRoundTrip, EveryBundledCaptureComesBackWithTheSameFramesAndTimes) {
  const std::vector<fs::path> captures = bundledEthernetCaptures();
  QV_REQUIRE_BUNDLED_DATA(!captures.empty(), "Ethernet captures in " << kPcapFolder);
  test::TemporaryFolder folder("round_trip");
  for (const fs::path& capture : captures) {
    SCOPED_TRACE(capture.filename().string());
    const test::CaptureContent original = test::readCaptureFile(capture);
    const PacketLog log = importAndRead(capture);
    ASSERT_EQ(log.status, original.frames.empty() ? LogParseStatus::kNoRecords : LogParseStatus::kOk);
    ASSERT_EQ(log.records.size(), original.frames.size());
    if (!log.records.empty()) {
      EXPECT_EQ(log.newestIndex, static_cast<std::int32_t>(log.records.size() - 1));
    }

    const fs::path out = folder / capture.filename().string();
    const CaptureExport exported = exportCaptureFile(log.records, out.string());
    ASSERT_TRUE(exported.ok) << exported.message;
    EXPECT_EQ(exported.framesWithoutTime, 0U);
    const test::CaptureContent back = test::readCaptureFile(out);
    EXPECT_TRUE(back.error.empty()) << back.error;
    ASSERT_EQ(back.frames.size(), original.frames.size());
    for (std::size_t i = 0; i < back.frames.size(); ++i) {
      EXPECT_EQ(back.frames[i].bytes, original.frames[i].bytes) << "frame " << i;
      EXPECT_EQ(back.frames[i].time, original.frames[i].time) << "frame " << i;
    }
  }
}

struct ExpectedRecord {
  std::size_t index;
  std::string_view protocol;
  std::string_view localIp;
  std::uint16_t localPort;
  std::string_view remoteIp;
  std::uint16_t remotePort;
  std::uint8_t flags;
  std::uint8_t tcpFlags;
};

constexpr std::uint8_t kOutAllowed = RecordFlag::kOutgoing | RecordFlag::kAllowed;
constexpr std::uint8_t kInAllowed = RecordFlag::kIncoming | RecordFlag::kAllowed;

void expectRecords(const PacketLog& log, const std::vector<ExpectedRecord>& expected) {
  for (const ExpectedRecord& want : expected) {
    SCOPED_TRACE("record " + std::to_string(want.index));
    ASSERT_LT(want.index, log.records.size());
    const PacketRecord& record = log.records[want.index];
    EXPECT_EQ(record.protocol, want.protocol);
    EXPECT_EQ(record.localIp, want.localIp);
    EXPECT_EQ(record.localPort, want.localPort);
    EXPECT_EQ(record.remoteIp, want.remoteIp);
    EXPECT_EQ(record.remotePort, want.remotePort);
    EXPECT_EQ(record.flags, want.flags);
    EXPECT_EQ(record.tcpFlags, want.tcpFlags);
  }
}

TEST(CaptureRoundTrip, ImportedRecordsReadBackWithTheirEndsProtocolsAndFlags) {
  QV_REQUIRE_BUNDLED_DATA(fs::is_directory(kPcapFolder), "captures in " << kPcapFolder);
  // A whois query from a private address: SYN out, SYN/ACK in, FIN/ACK out.
  const PacketLog whois = importAndRead(kPcapFolder / "whois.pcap");
  ASSERT_EQ(whois.records.size(), 11U);
  expectRecords(whois, {{0, "TCP", "10.0.2.15", 44188, "192.0.47.59", 43, kOutAllowed, 0x02},
                        {1, "TCP", "10.0.2.15", 44188, "192.0.47.59", 43, kInAllowed, 0x12},
                        {9, "TCP", "10.0.2.15", 44188, "192.0.47.59", 43, kOutAllowed, 0x11}});
  EXPECT_EQ(storedTimeValue(whois.records[0]), timeValueFromCaptureTime({1507397119, 66204000}));

  // With the DHCP server's address as the host: ICMP echo out (type 8 code 0),
  // ARP without addresses or direction, the relay's DHCP request in.
  CaptureImportOptions serverHost;
  serverHost.localNetworks = {*parseIpv4Network("10.40.2.3")};
  serverHost.action = PacketAction::kBlocked;
  const PacketLog dhcp = importAndRead(kPcapFolder / "dhcp-rfc4388.pcap", serverHost);
  ASSERT_EQ(dhcp.records.size(), 54U);
  const std::uint8_t inBlocked = RecordFlag::kIncoming | RecordFlag::kBlocked;
  const std::uint8_t outBlocked = RecordFlag::kOutgoing | RecordFlag::kBlocked;
  expectRecords(dhcp, {{0, "UDP", "10.40.2.3", 67, "10.30.1.1", 67, inBlocked, 0},
                       {1, "ICMP", "10.40.2.3", 8, "10.30.4.4", 0, outBlocked, 0},
                       {5, "ICMP", "10.40.2.3", 3, "10.40.1.1", 1, inBlocked, 0},
                       {6, "ARP", "0.0.0.0", 0, "0.0.0.0", 0, RecordFlag::kBlocked, 0}});

  const PacketLog igmp = importAndRead(kPcapFolder / "IGMP_V2.pcap");
  expectRecords(igmp, {{1, "IGMP", "192.168.1.64", 0, "239.255.255.250", 0, kOutAllowed, 0}});
  const PacketLog tftp = importAndRead(kPcapFolder / "tftp.pcap");
  expectRecords(tftp, {{0, "UDP", "192.168.1.2", 44935, "192.168.1.1", 69, kOutAllowed, 0}});
}

TEST(CaptureRoundTrip, TheLastRecordIsReadWhateverItsSize) {
  // The smallest possible record, alone and after a large one.
  test::TemporaryFolder folder("last_record");
  test::writeCaptureFile(folder / "tiny.pcap", DLT_EN10MB, {{{1, 0}, {}}});
  test::writeCaptureFile(folder / "two.pcap", DLT_EN10MB,
                         {{{1, 0}, std::vector<std::uint8_t>(1500, 0x30)}, {{2, 0}, {0x30}}});
  EXPECT_EQ(importAndRead(folder / "tiny.pcap").records.size(), 1U);
  const PacketLog two = importAndRead(folder / "two.pcap");
  ASSERT_EQ(two.records.size(), 2U);
  EXPECT_EQ(two.records[1].packetBytes().size(), 1U);
}

}  // namespace
}  // namespace qv
