#include "views/read_operation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/log_fixtures.h"
#include "logdata/time_zone_guard.h"

namespace qv {
namespace {

using test::PacketLine;
using test::TrafficLine;

constexpr std::int64_t kNow = 1078916400;  // 2004/03/10 11:00:00 UTC

std::string names(const TrafficShownList& shown) {
  std::string text;
  for (const TrafficRecord& record : shown.rows) text += record.nameAddress.str() + " ";
  return text;
}

std::vector<TrafficLine> namedEvents(int count) {
  std::vector<TrafficLine> lines(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    lines[static_cast<std::size_t>(i)].nameAddress = "e" + std::to_string(i);
    lines[static_cast<std::size_t>(i)].time += 60 * i;
    lines[static_cast<std::size_t>(i)].action = i % 2 ? "00000000" : "00000001";
  }
  return lines;
}

TEST(ReadOperation, TrafficReadFilterAndRerun) {
  const test::TimeZoneGuard zone("UTC");
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", test::trafficLog(namedEvents(4), 2));
  TrafficLogState state;
  FilterCriteria criteria;
  ReadResult result = readTrafficLog(state, path, criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::Shown);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(state.records.size(), 4u);
  EXPECT_EQ(state.newestIndex, 1);
  EXPECT_EQ(names(state.shown), "e1 e0 e3 e2 ");
  EXPECT_EQ(state.countLine, "Records : 4 / 4");

  // The Filter command runs again over the records already read.
  criteria.allow = false;
  result = filterTrafficLog(state, criteria, kNow, [](const TrafficRecord& r) { return r.nameAddress == "e2"; });
  EXPECT_EQ(result.status, ReadStatus::Shown);
  EXPECT_EQ(names(state.shown), "e0 ");
  EXPECT_EQ(state.countLine, "Records : 1 / 4");

  // An invalid field changes nothing, whether reading or filtering.
  criteria.remoteIp = "10.0.0.x";
  result = filterTrafficLog(state, criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::ValidationFailed);
  EXPECT_EQ(result.message, "Invalid Data : Remote IP : Invalid Letter \"x\"");
  result = readTrafficLog(state, folder.pathOf("missing.log"), criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::ValidationFailed);
  EXPECT_EQ(names(state.shown), "e0 ");
  EXPECT_EQ(state.records.size(), 4u);
}

TEST(ReadOperation, FailedTrafficReadsClearTheView) {
  test::TempFolder folder;
  const std::string good = folder.write("tralog.log", test::trafficLog(namedEvents(2)));
  const std::string packets = folder.write("rawlog.log", test::packetLog({}) + std::string(300, '0'));
  const std::string empty = folder.write("empty.log", test::logHeader("00000002", 0, 0));
  struct Case {
    std::string path;
    ReadStatus status;
    std::string message;
  };
  const Case cases[] = {
      {folder.pathOf("missing.log"), ReadStatus::OpenFailed, "CFile::Open Error : No such file or directory"},
      {packets, ReadStatus::InvalidFormat, "Error : Invalid file format"},
      {empty, ReadStatus::NoRecords, ""},
  };
  for (const Case& c : cases) {
    TrafficLogState state;
    ASSERT_EQ(readTrafficLog(state, good, {}, kNow).status, ReadStatus::Shown);
    const ReadResult result = readTrafficLog(state, c.path, {}, kNow);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.message, c.message);
    EXPECT_TRUE(state.records.empty());
    EXPECT_TRUE(state.shown.isNoDataPlaceholder());
    EXPECT_EQ(state.countLine, "Records : 0 / 0");
  }
}

TEST(ReadOperation, FilterWithoutRecordsClearsBeforeValidating) {
  TrafficLogState traffic;
  FilterCriteria invalid;
  invalid.time = "abc";
  const ReadResult result = filterTrafficLog(traffic, invalid, kNow);
  EXPECT_EQ(result.status, ReadStatus::NoRecords);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(traffic.shown.isNoDataPlaceholder());

  PacketLogState packets;
  EXPECT_EQ(filterPacketLog(packets, invalid, kNow).status, ReadStatus::NoRecords);
  EXPECT_TRUE(packets.shown.isNoDataPlaceholder());
  EXPECT_EQ(packets.countLine, "Records : 0 / 0");
}

TEST(ReadOperation, PacketRowsOutliveTheNextRead) {
  const test::TimeZoneGuard zone("UTC");
  test::TempFolder folder;
  PacketLine first;
  first.frame = test::ethernetFrame(60, 0x0800, 17);
  first.frame[59] = 0xAB;
  PacketLine second = first;
  second.frame = test::ethernetFrame(64, 0x0806);
  const std::string twoPackets = folder.write("two.log", test::packetLog({first, second}));
  const std::string onePacket = folder.write("one.log", test::packetLog({second}));

  PacketLogState state;
  ASSERT_EQ(readPacketLog(state, twoPackets, {}, kNow).status, ReadStatus::Shown);
  ASSERT_EQ(state.shown.size(), 2u);
  EXPECT_EQ(state.shown[1].protocol, "UDP");
  EXPECT_EQ(state.countLine, "Records : 2 / 2");
  const PacketShownList earlierRows = state.shown;  // as a viewer would keep them

  FilterCriteria onlyUdp;
  onlyUdp.tcp = false;
  onlyUdp.remoteIp = "10.0.0.5";
  ASSERT_EQ(filterPacketLog(state, onlyUdp, kNow).status, ReadStatus::Shown);
  EXPECT_EQ(state.countLine, "Records : 2 / 2");

  ASSERT_EQ(readPacketLog(state, onePacket, {}, kNow).status, ReadStatus::Shown);
  EXPECT_EQ(state.countLine, "Records : 1 / 1");
  ASSERT_EQ(earlierRows.size(), 2u);
  ASSERT_EQ(earlierRows[1].packetBytes().size(), 60u);
  EXPECT_EQ(earlierRows[1].packetBytes()[59], 0xAB);

  // An empty file clears the view without a message.
  const std::string empty = folder.write("empty.log", "");
  const ReadResult result = readPacketLog(state, empty, {}, kNow);
  EXPECT_EQ(result.status, ReadStatus::NoRecords);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(state.shown.isNoDataPlaceholder());
  EXPECT_TRUE(state.records->empty());
}

TEST(ReadOperation, ClearLeavesTheNoDataRow) {
  test::TempFolder folder;
  TrafficLogState state;
  ASSERT_EQ(readTrafficLog(state, folder.write("t.log", test::trafficLog(namedEvents(3))), {}, kNow).status,
            ReadStatus::Shown);
  clearTrafficLog(state);
  EXPECT_TRUE(state.records.empty());
  ASSERT_EQ(state.shown.size(), 1u);
  EXPECT_EQ(state.shown[0].time, "No Data");
  EXPECT_EQ(state.countLine, "Records : 0 / 0");
  EXPECT_EQ(countLineText(12, 3456789), "Records : 12 / 3456789");
}

}  // namespace
}  // namespace qv
