#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/criteria_commands.h"
#include "filter/quick_filter_run.h"
#include "views/traffic_columns.h"

namespace qv {
namespace {

std::string names(const std::vector<TrafficRecord>& records, const std::vector<RecordIndex>& shown) {
  std::string text;
  for (const RecordIndex index : shown) text += records.at(index).nameAddress.str();
  return text;
}

TEST(QuickFilterRun, RingOrderAndFilterList) {
  std::vector<TrafficRecord> records(6);
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].nameAddress = std::to_string(i);
    records[i].flags = i % 2 ? RecordFlag::kBlocked : RecordFlag::kAllowed;
  }
  const QuickFilter everything(FilterCriteria{}, {});
  EXPECT_EQ(names(records, runTrafficFilter(records, 2, everything)), "210543");
  EXPECT_EQ(names(records, runTrafficFilter(records, -1, everything)), "543210");
  EXPECT_EQ(names(records, runTrafficFilter(records, 9, everything)), "543210");
  EXPECT_TRUE(runTrafficFilter({}, 0, everything).empty());

  // The filter list is asked only about what the quick filter let through.
  std::string asked;
  const TrafficExclusion dropThree = [&](const TrafficRecord& record) {
    asked += record.nameAddress.str();
    return record.nameAddress == "3";
  };
  FilterCriteria blockedOnly;
  blockedOnly.allow = false;
  const std::vector<RecordIndex> shown = runTrafficFilter(records, 2, QuickFilter(blockedOnly, {}), dropThree);
  EXPECT_EQ(asked, "153");
  EXPECT_EQ(shown, (std::vector<RecordIndex>{1, 5}));
}

TEST(QuickFilterRun, PacketRunGivesRecordIndexes) {
  std::vector<PacketRecord> records(4);
  const char* protocols[] = {"TCP", "UDP", "ARP", "TCP"};
  for (std::size_t i = 0; i < records.size(); ++i) records[i].protocol = protocols[i];
  FilterCriteria onlyTcp;
  onlyTcp.udp = onlyTcp.icmp = false;
  EXPECT_EQ(runPacketFilter(records, 1, QuickFilter(onlyTcp, {})), (std::vector<RecordIndex>{0, 3, 2}));
}

TEST(QuickFilterCommands, CheckBoxGroupsAreNeverAllClear) {
  FilterCriteria criteria;
  criteria.allow = false;  // the click cleared Allow; Block is still checked
  applyCheckBoxClick(criteria, CheckBox::kAllow);
  EXPECT_TRUE(!criteria.allow && criteria.block);
  criteria.block = false;  // clearing the only checked box checks the others
  applyCheckBoxClick(criteria, CheckBox::kBlock);
  EXPECT_TRUE(criteria.allow && !criteria.block);

  criteria = {};
  criteria.tcp = criteria.udp = criteria.icmp = false;
  applyCheckBoxClick(criteria, CheckBox::kIcmp);
  EXPECT_TRUE(criteria.tcp && criteria.udp && !criteria.icmp);
  criteria.udp = false;
  criteria.icmp = true;  // checking a box while another is checked changes nothing else
  applyCheckBoxClick(criteria, CheckBox::kIcmp);
  EXPECT_TRUE(criteria.tcp && !criteria.udp && criteria.icmp && criteria.in && criteria.out);
}

TEST(QuickFilterCommands, FilterOutAndInFillOneField) {
  FilterCriteria criteria;
  EXPECT_TRUE(fillFilterField(criteria, FilterField::kRemoteIp, true, "10.1.2.3"));
  EXPECT_EQ(criteria.remoteIp, "!10.1.2.3");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::kRemoteIp, false, "10.1.2.3"));
  EXPECT_EQ(criteria.remoteIp, "10.1.2.3");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::kLocalPort, true, "8080"));
  EXPECT_EQ(criteria.localPort, "!8080");
  EXPECT_TRUE(fillFilterField(criteria, FilterField::kApplicationName, true, "C:\\a.exe"));
  EXPECT_EQ(criteria.applicationName, "!/C:\\a.exe");
  EXPECT_FALSE(fillFilterField(criteria, FilterField::kRemoteIp, true, ""));  // no selected row
  EXPECT_EQ(criteria.remoteIp, "10.1.2.3");
  EXPECT_EQ(filterFieldColumn(FilterField::kRuleName), 11);
}

}  // namespace
}  // namespace qv
