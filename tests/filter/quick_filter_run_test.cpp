#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/criteria_commands.h"
#include "filter/quick_filter_run.h"

namespace qv {
namespace {

// Records named by their position in the file (kept in the name address).
std::vector<TrafficRecord> trafficLog(int count) {
  std::vector<TrafficRecord> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    records[static_cast<std::size_t>(i)].nameAddress = std::to_string(i);
    records[static_cast<std::size_t>(i)].flags = (i % 2 ? RecordFlag::kBlocked : RecordFlag::kAllowed);
  }
  return records;
}

std::string order(const std::vector<TrafficRecord>& shown) {
  std::string text;
  for (const TrafficRecord& record : shown) text += record.nameAddress.str() + " ";
  return text;
}

TEST(QuickFilterRun, TrafficRowsComeNewestFirstAroundTheRing) {
  const std::vector<TrafficRecord> records = trafficLog(5);
  const QuickFilter everything(FilterCriteria{}, {});
  EXPECT_EQ(order(runTrafficFilter(records, 2, everything)), "2 1 0 4 3 ");
  EXPECT_EQ(order(runTrafficFilter(records, -1, everything)), "4 3 2 1 0 ");
  EXPECT_EQ(order(runTrafficFilter(records, 4, everything)), "4 3 2 1 0 ");
  EXPECT_EQ(order(runTrafficFilter(records, 0, everything)), "0 4 3 2 1 ");
  EXPECT_EQ(order(runTrafficFilter({}, 0, everything)), "");

  FilterCriteria blockedOnly;
  blockedOnly.allow = false;
  EXPECT_EQ(order(runTrafficFilter(records, 2, QuickFilter(blockedOnly, {}))), "1 3 ");
}

TEST(QuickFilterRun, FilterListDropsPassingRecordsOnly) {
  const std::vector<TrafficRecord> records = trafficLog(6);
  std::vector<std::string> asked;
  const TrafficExclusion dropThree = [&](const TrafficRecord& record) {
    asked.push_back(record.nameAddress.str());
    return record.nameAddress == "3";
  };
  FilterCriteria blockedOnly;
  blockedOnly.allow = false;
  EXPECT_EQ(order(runTrafficFilter(records, 5, QuickFilter(blockedOnly, {}), dropThree)), "5 1 ");
  // The filter list is asked only about what the quick filter let through.
  EXPECT_EQ(asked, (std::vector<std::string>{"5", "3", "1"}));
}

TEST(QuickFilterRun, ShownTrafficRowsAreCopies) {
  std::vector<TrafficRecord> records = trafficLog(2);
  const std::vector<TrafficRecord> shown = runTrafficFilter(records, 1, QuickFilter(FilterCriteria{}, {}));
  records.clear();
  EXPECT_EQ(order(shown), "1 0 ");
}

TEST(QuickFilterRun, PacketRunGivesRecordIndexes) {
  std::vector<PacketRecord> records(4);
  records[0].protocol = "TCP";
  records[1].protocol = "UDP";
  records[2].protocol = "ARP";
  records[3].protocol = "TCP";
  FilterCriteria onlyTcp;
  onlyTcp.udp = onlyTcp.icmp = false;
  EXPECT_EQ(runPacketFilter(records, 1, QuickFilter(onlyTcp, {})), (std::vector<RecordIndex>{0, 3, 2}));
  EXPECT_EQ(runPacketFilter(records, 9, QuickFilter(onlyTcp, {})), (std::vector<RecordIndex>{3, 2, 0}));
}

TEST(QuickFilterCommands, CheckBoxGroupsAreNeverAllClear) {
  FilterCriteria criteria;
  criteria.allow = false;  // the click cleared Allow; Block is still checked
  applyCheckBoxClick(criteria, CheckBox::Allow);
  EXPECT_FALSE(criteria.allow);
  EXPECT_TRUE(criteria.block);
  criteria.block = false;  // clearing the only checked box checks the rest
  applyCheckBoxClick(criteria, CheckBox::Block);
  EXPECT_TRUE(criteria.allow);
  EXPECT_FALSE(criteria.block);

  criteria = {};
  criteria.tcp = criteria.udp = false;
  criteria.icmp = false;
  applyCheckBoxClick(criteria, CheckBox::Icmp);
  EXPECT_TRUE(criteria.tcp && criteria.udp);
  EXPECT_FALSE(criteria.icmp);
  criteria.udp = false;
  criteria.icmp = true;  // checking a box leaves the others as they are while one is checked
  applyCheckBoxClick(criteria, CheckBox::Icmp);
  EXPECT_TRUE(criteria.tcp && criteria.icmp);
  EXPECT_FALSE(criteria.udp);
  EXPECT_TRUE(criteria.allow && criteria.block && criteria.in && criteria.out);
}

TEST(QuickFilterCommands, FilterOutAndInFillOneField) {
  FilterCriteria criteria;
  criteria.remoteIp = "192.";
  EXPECT_TRUE(fillFilterField(criteria, FilterField::RemoteIp, true, "10.1.2.3"));
  EXPECT_EQ(criteria.remoteIp, "!10.1.2.3");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::RemoteIp, false, "10.1.2.3"));
  EXPECT_EQ(criteria.remoteIp, "10.1.2.3");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::LocalPort, true, "8080"));
  EXPECT_EQ(criteria.localPort, "!8080");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::ApplicationName, true, "C:\\a.exe"));
  EXPECT_EQ(criteria.applicationName, "!/C:\\a.exe");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::RuleName, false, "Allow_web"));
  EXPECT_EQ(criteria.ruleName, "Allow_web");
  // No selected row, or an empty cell: nothing changes.
  EXPECT_FALSE(fillFilterField(criteria, FilterField::RemoteIp, true, ""));
  EXPECT_EQ(criteria.remoteIp, "10.1.2.3");
  EXPECT_EQ(filterFieldColumn(FilterField::RemotePort), 6);
  EXPECT_EQ(filterFieldColumn(FilterField::RuleName), 11);
}

}  // namespace
}  // namespace qv
