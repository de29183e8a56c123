#include <gtest/gtest.h>

#include <set>
#include <string>

#include "logdata/log_file.h"
#include "logdata/packet_log_reader.h"
#include "logdata/ring_order.h"
#include "logdata/traffic_log_reader.h"
#include "time_zone_guard.h"

namespace qv {
namespace {

const std::string kSamples = std::string(QV_SOURCE_DIR) + "/samples/";

TEST(Samples, TrafficLogReadsNewestFirstAcrossTheRing) {
  const test::TimeZoneGuard zone("Europe/Berlin");
  const FileReadResult file = readWholeFile(kSamples + "tralog.log");
  ASSERT_TRUE(file.opened) << file.errorText;
  const TrafficLog log = parseTrafficLog(file.buffer->content());
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  ASSERT_GE(log.records.size(), 100u);
  EXPECT_GT(log.newestIndex, 0);
  // Ring order is time order, newest first, even across the wrap and the
  // daylight-saving change the sample spans.
  std::string previous = "9999";
  std::set<std::uint8_t> kinds;
  forEachInRingOrder(log.records.size(), log.newestIndex, [&](std::size_t index) {
    const TrafficRecord& record = log.records[index];
    EXPECT_LE(record.time.str(), previous) << index;
    previous = record.time.str();
    kinds.insert(record.flags);
  });
  EXPECT_GE(kinds.size(), 10u);  // protocols, directions and actions all mixed
}

TEST(Samples, PacketLogFramesAreWhole) {
  const FileReadResult file = readWholeFile(kSamples + "rawlog.log");
  ASSERT_TRUE(file.opened) << file.errorText;
  const PacketLog log = parsePacketLog(file.buffer);
  ASSERT_EQ(log.status, LogParseStatus::kOk);
  ASSERT_FALSE(log.records.empty());
  std::set<std::string_view> protocols;
  for (const PacketRecord& record : log.records) {
    EXPECT_EQ(record.packetBytes().size(), record.packetLength());
    EXPECT_EQ(record.recordBytes().size(), record.recordLength());
    protocols.insert(record.protocol);
  }
  EXPECT_GE(protocols.size(), 2u);
}

}  // namespace
}  // namespace qv
