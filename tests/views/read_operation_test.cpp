#include "views/read_operation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/log_files.h"
#include "support/system_texts.h"

namespace qv {
namespace {

constexpr std::int64_t kNow = 1078916400;  // 2004/03/10 11:00:00 UTC

std::string names(const TrafficShownList& shown) {
  std::string text;
  for (const TrafficRecord& record : shown.rows()) text += record.nameAddress.str() + " ";
  return text;
}

// Events e0, e1, ... alternately blocked and allowed.
std::string namedEvents(int count, std::uint32_t newestPosition) {
  std::vector<test::TrafficFields> lines(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    lines[i].nameAddress = "e" + std::to_string(i);
    lines[i].action = i % 2 ? "00000000" : "00000001";
  }
  return test::trafficLog(lines, newestPosition);
}

TEST(ReadOperation, TrafficReadFilterAndRerun) {
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", namedEvents(4, 2));
  TrafficLogState state;
  FilterCriteria criteria;
  ReadResult result = readTrafficLog(state, path, criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::kShown);
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(names(state.shown), "e1 e0 e3 e2 ");
  EXPECT_EQ(state.countLine, "Records : 4 / 4");

  // The Filter command runs again over the records already read.
  criteria.allow = false;
  result = filterTrafficLog(state, criteria, kNow, [](const TrafficRecord& r) { return r.nameAddress == "e2"; });
  EXPECT_EQ(result.status, ReadStatus::kShown);
  EXPECT_EQ(names(state.shown), "e0 ");
  EXPECT_EQ(state.countLine, "Records : 1 / 4");

  // An invalid field changes nothing, whether reading or filtering.
  criteria.remoteIp = "10.0.0.x";
  result = filterTrafficLog(state, criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::kValidationFailed);
  EXPECT_EQ(result.message, "Invalid Data : Remote IP : Invalid Letter \"x\"");
  result = readTrafficLog(state, folder.pathOf("missing.log"), criteria, kNow);
  EXPECT_EQ(result.status, ReadStatus::kValidationFailed);
  EXPECT_EQ(names(state.shown), "e0 ");
  EXPECT_EQ(state.records->size(), 4u);
}

TEST(ReadOperation, FailedReadsAndClearLeaveTheNoDataRow) {
  test::TempFolder folder;
  const std::string good = folder.write("tralog.log", namedEvents(2, 0));
  TrafficLogState state;
  ASSERT_EQ(readTrafficLog(state, good, {}, kNow).status, ReadStatus::kShown);
  const ReadResult result = readTrafficLog(state, folder.pathOf("missing.log"), {}, kNow);
  EXPECT_EQ(result.status, ReadStatus::kOpenFailed);
  EXPECT_EQ(result.message, "CFile::Open Error : " + test::noSuchFileText());
  EXPECT_TRUE(state.records->empty());
  ASSERT_EQ(state.shown.size(), 1u);
  EXPECT_EQ(state.shown[0].time, "No Data");
  EXPECT_EQ(state.countLine, "Records : 0 / 0");

  ASSERT_EQ(readTrafficLog(state, good, {}, kNow).status, ReadStatus::kShown);
  clearTrafficLog(state);
  EXPECT_TRUE(state.records->empty() && state.shown.isNoDataPlaceholder());

  // Without records the Filter command clears the view before it looks at the fields.
  FilterCriteria invalid;
  invalid.time = "abc";
  EXPECT_EQ(filterTrafficLog(state, invalid, kNow).status, ReadStatus::kNoRecords);
  PacketLogState packets;
  EXPECT_EQ(filterPacketLog(packets, invalid, kNow).status, ReadStatus::kNoRecords);
  EXPECT_TRUE(packets.shown.isNoDataPlaceholder());
  EXPECT_EQ(packets.countLine, "Records : 0 / 0");
}

TEST(ReadOperation, PacketRowsOutliveTheNextRead) {
  test::TempFolder folder;
  std::vector<std::uint8_t> udp = test::frameOf(60, 0x0800, {0x45, 0, 0, 0, 0, 0, 0, 0, 0, 17});
  udp[59] = 0xAB;
  const std::string arp = test::packetRecord(test::frameOf(64, 0x0806));
  const std::string twoPackets = folder.write("two.log", test::packetLog({test::packetRecord(udp), arp}));
  const std::string onePacket = folder.write("one.log", test::packetLog({arp}));

  PacketLogState state;
  ASSERT_EQ(readPacketLog(state, twoPackets, {}, kNow).status, ReadStatus::kShown);
  ASSERT_EQ(state.shown.size(), 2u);
  EXPECT_EQ(state.shown[1].protocol, "UDP");
  const PacketShownList earlierRows = state.shown;  // as an open packet viewer keeps them

  FilterCriteria noUdp;
  noUdp.udp = false;
  ASSERT_EQ(filterPacketLog(state, noUdp, kNow).status, ReadStatus::kShown);
  EXPECT_EQ(state.countLine, "Records : 1 / 2");

  ASSERT_EQ(readPacketLog(state, onePacket, {}, kNow).status, ReadStatus::kShown);
  EXPECT_EQ(state.countLine, "Records : 1 / 1");
  ASSERT_EQ(earlierRows[1].packetBytes().size(), 60u);
  EXPECT_EQ(earlierRows[1].packetBytes()[59], 0xAB);

  const ReadResult result = readPacketLog(state, folder.write("empty.log", ""), {}, kNow);
  EXPECT_EQ(result.status, ReadStatus::kNoRecords);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(state.shown.isNoDataPlaceholder());
  EXPECT_TRUE(state.records->empty());
}

}  // namespace
}  // namespace qv
