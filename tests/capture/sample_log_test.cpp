#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "capture/capture_files.h"
#include "logdata/log_file.h"
#include "logdata/packet_log_reader.h"
#include "support/bundled_data.h"
#include "support/run_program.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = QV_SOURCE_DIR "/samples/rawlog.log";

// The bundled packet log shows each protocol the decoder knows, from real traffic.
TEST(SamplePacketLog, HoldsEveryKindOfPacketTheViewerDecodes) {
  const FileReadResult file = readWholeFile(kSample.string());
  ASSERT_TRUE(file.opened) << file.errorText;
  const PacketLog log = parsePacketLog(file.buffer);
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  ASSERT_EQ(log.records.size(), 98U);
  std::set<std::string_view> protocols;
  bool dhcp = false, tftp = false, echo = false, unreachable = false, syn = false;
  for (const PacketRecord& record : log.records) {
    protocols.insert(record.protocol);
    dhcp |= record.protocol == "UDP" && record.localPort == 67;
    tftp |= record.protocol == "UDP" && record.remotePort == 69;
    echo |= record.protocol == "ICMP" && record.localPort == 8;
    unreachable |= record.protocol == "ICMP" && record.localPort == 3;
    syn |= record.protocol == "TCP" && record.tcpFlags == 0x02;
  }
  EXPECT_EQ(protocols, (std::set<std::string_view>{"ARP", "ICMP", "IGMP", "TCP", "UDP"}));
  EXPECT_TRUE(dhcp && tftp && echo && unreachable && syn);
}

#ifdef QV_MERGECAP_PATH
TEST(SamplePacketLog, IsWhatTheScriptBuildsFromTheCaptures) {
  const fs::path captures = QV_SHARED_DATA_DIR "/pcap";
  QV_REQUIRE_BUNDLED_DATA(fs::is_directory(captures), "captures in " << captures);
  test::TemporaryFolder folder("sample_rebuild");
  const std::string rebuilt = (folder / "rawlog.log").string();
  const auto script = test::runProgram("/usr/bin/env", {"QVLOG=" QVLOG_PATH, "QV_PCAP_DIR=" + captures.string(), "bash",
                                                        QV_SOURCE_DIR "/samples/make_rawlog.sh", rebuilt});
  ASSERT_EQ(script.exitCode, 0) << script.err;
  EXPECT_TRUE(test::readFileBytes(rebuilt) == test::readFileBytes(kSample)) << "samples/rawlog.log is out of date";
}
#endif

}  // namespace
}  // namespace qv
