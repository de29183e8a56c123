#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/counted_filter_list_model.h"
#include "filter/filter_hit_counts.h"
#include "filter/quick_filter_run.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord event(const char* remoteIp, std::uint16_t localPort) {
  TrafficRecord record;
  record.flags = kTcp | kIncoming | kBlocked;
  record.remoteIp = remoteIp;
  record.localIp = "192.168.0.2";
  record.localPort = localPort;
  record.applicationName = "app.exe";
  record.ruleName = "rule";
  record.time = "2026/01/01 00:00:00";
  return record;
}

TEST(FilterHitCounts, ARunCountsEachDroppedEventOnceForTheFirstEntryThatMatches) {
  const std::vector<TrafficRecord> records{event("10.0.0.1", 80), event("10.0.0.1", 135), event("10.0.0.2", 135),
                                           event("10.0.0.3", 22), event("10.0.0.2", 80)};
  FilterList list;
  addToFilterList(list, &records[0], AddToFilterListCommand::kRemoteIp);   // hides 10.0.0.1
  addToFilterList(list, &records[1], AddToFilterListCommand::kLocalPort);  // hides port 135
  addToFilterList(list, &records[3], AddToFilterListCommand::kLocalPort);  // port 22, but filtered out below
  list.append(list[1]);                                                   // a duplicate never gets a hit

  FilterCriteria criteria;
  criteria.remoteIp = "!10.0.0.3";
  const QuickFilter quick(criteria, {});
  const FilterListIndex index(list);
  FilterHitCounts counts(list);
  const std::vector<RecordIndex> shown = runTrafficFilter(records, 4, quick, countingExclusion(index, counts));

  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(records[shown[0]].remoteIp, "10.0.0.2");
  // 10.0.0.1 port 135 matches both of the first two entries: it counts for the first.
  EXPECT_EQ(counts.countsFor(list), (std::vector<FilterHitCount>{2, 1, 0, 0}));

  // A second run starts from zero; its result is the same as without counting.
  FilterHitCounts again;
  EXPECT_EQ(runTrafficFilter(records, 4, quick, countingExclusionFor(list, again)), shown);
  EXPECT_EQ(again.countsFor(list), counts.countsFor(list));
  EXPECT_FALSE(countingExclusionFor(FilterList(), again));
  EXPECT_TRUE(again.countsFor(FilterList()).empty());
}

TEST(FilterHitCounts, CountsFollowTheEntriesTheyWereCountedFor) {
  const TrafficRecord a = event("10.0.0.1", 80);
  const TrafficRecord b = event("10.0.0.2", 81);
  FilterList list;
  addToFilterList(list, &a, AddToFilterListCommand::kRemoteIp);
  addToFilterList(list, &b, AddToFilterListCommand::kRemoteIp);
  FilterHitCounts counts(list);
  EXPECT_TRUE(counts.countExcluded(b));
  EXPECT_FALSE(counts.countExcluded(event("10.0.0.9", 80)));

  // An entry appended after the run has no count yet; the others keep theirs.
  FilterList grown = list;
  addToFilterList(grown, &a, AddToFilterListCommand::kLocalPort);
  EXPECT_EQ(counts.countsFor(grown), (std::vector<FilterHitCount>{0, 1, std::nullopt}));

  // A list whose entries moved (the first removed) must not show the old
  // position's count against another entry.
  const FilterList shifted(std::vector<FilterEntry>{list[1]});
  EXPECT_EQ(counts.countsFor(shifted), (std::vector<FilterHitCount>{std::nullopt}));

  // Carried counts: the Filter List dialog hands back its rows' counts.
  const FilterHitCounts carried(shifted.entries(), {1});
  EXPECT_EQ(carried.countsFor(shifted), (std::vector<FilterHitCount>{1}));
  EXPECT_EQ(FilterHitCounts().countsFor(list), (std::vector<FilterHitCount>{std::nullopt, std::nullopt}));
}


TEST(FilterHitCounts, TheFilterListDialogKeepsEachCountWithItsRow) {
  FilterList list;
  for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.3"}) {
    const TrafficRecord record = event(address, 80);
    addToFilterList(list, &record, AddToFilterListCommand::kRemoteIp);
  }
  CountedFilterListModel model(list, {5, 7, 9});

  EXPECT_TRUE(model.remove(0));
  EXPECT_EQ(model.hitCounts(), (std::vector<FilterHitCount>{7, 9}));

  // Saving an edit without a change keeps the count; a real change drops it.
  EXPECT_TRUE(model.replace(0, *model.fieldsToEdit(0)));
  EXPECT_EQ(model.hitCount(0), FilterHitCount{7});
  EditFilterFields changed = *model.fieldsToEdit(1);
  changed.localPort = "22";
  EXPECT_TRUE(model.replace(1, changed));
  EXPECT_EQ(model.hitCount(1), std::nullopt);

  // Saved again, a direction-less entry widens to any direction: recount.
  FilterEntry directionless = list[2];
  directionless.flags = kTcp | kBlocked;
  CountedFilterListModel widened(FilterList(std::vector<FilterEntry>{directionless}), {2});
  EXPECT_TRUE(widened.replace(0, *widened.fieldsToEdit(0)));
  EXPECT_EQ(widened.hitCount(0), std::nullopt);

  model.add(EditFilterFields{});
  EXPECT_EQ(model.hitCounts(), (std::vector<FilterHitCount>{7, std::nullopt, std::nullopt}));
  EXPECT_FALSE(model.remove(std::nullopt));
  EXPECT_FALSE(model.replace(3, changed));
  EXPECT_EQ(model.rowCount(), 3u);

  // After OK the main window keeps the rows' counts with the new list.
  FilterList written;
  model.applyTo(written);
  EXPECT_EQ(FilterHitCounts(written.entries(), model.hitCounts()).countsFor(written), model.hitCounts());

  EXPECT_TRUE(model.removeAll());
  EXPECT_TRUE(model.hitCounts().empty());
  EXPECT_FALSE(model.removeAll());
}

}  // namespace
}  // namespace qv
