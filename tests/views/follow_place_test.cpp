#include "views/follow_place.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/log_files.h"
#include "views/read_operation.h"

namespace qv {
namespace {

constexpr std::int64_t kNow = 1078916400;

// A ring of traffic events named by their Name Address; `names[i]` sits in slot i.
std::string ringLog(const std::vector<std::string>& names, std::uint32_t newestPosition) {
  std::vector<test::TrafficFields> lines(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) lines[i].nameAddress = names[i];
  return test::trafficLog(lines, newestPosition);
}

// Reads a log the way a follow cycle does and keeps its rows' digests and names.
struct ShownRows {
  std::vector<std::uint64_t> digests;
  std::vector<std::string> names;

  std::size_t rowOf(const std::string& name) const {
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  }
};

ShownRows readRows(const std::string& path) {
  TrafficLogState state;
  readTrafficLog(state, path, {}, kNow);
  ShownRows rows{eventDigests(state.shown.isNoDataPlaceholder() ? TrafficRows() : state.shown.rows()), {}};
  if (!state.shown.isNoDataPlaceholder()) {
    for (const TrafficRecord& record : state.shown.rows()) rows.names.push_back(record.nameAddress.str());
  }
  return rows;
}

std::vector<std::string> namesOf(const ShownRows& rows, const std::vector<std::size_t>& indexes) {
  std::vector<std::string> names;
  for (const std::size_t row : indexes) names.push_back(rows.names.at(row));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FollowPlace, AppendedEventsAreNewAndThePlaceMovesWithItsEvents) {
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", ringLog({"a", "b", "c"}, 2));
  const ShownRows before = readRows(path);
  ASSERT_EQ(before.names.size(), 3u);
  folder.write("tralog.log", ringLog({"a", "b", "c", "d", "e"}, 4));
  const ShownRows after = readRows(path);
  ASSERT_EQ(after.names.size(), 5u);

  const ListPlace place{{before.rowOf("a"), before.rowOf("c")}, before.rowOf("b"), before.rowOf("c")};
  const KeptPlace kept = keepPlace(before.digests, place, after.digests);
  EXPECT_EQ(namesOf(after, kept.selectedRows), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(kept.topRow, after.rowOf("b"));
  EXPECT_EQ(kept.currentRow, after.rowOf("c"));
  EXPECT_EQ(namesOf(after, kept.newRows), (std::vector<std::string>{"d", "e"}));
}

TEST(FollowPlace, ARingThatWrapsDropsOverwrittenEventsFromThePlace) {
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", ringLog({"a", "b", "c", "d"}, 3));
  const ShownRows before = readRows(path);
  // The firewall overwrote its two oldest slots.
  folder.write("tralog.log", ringLog({"e", "f", "c", "d"}, 1));
  const ShownRows after = readRows(path);
  ASSERT_EQ(after.names.size(), 4u);

  const ListPlace place{{before.rowOf("a"), before.rowOf("d")}, before.rowOf("a"), before.rowOf("a")};
  const KeptPlace kept = keepPlace(before.digests, place, after.digests);
  EXPECT_EQ(namesOf(after, kept.selectedRows), (std::vector<std::string>{"d"}));
  EXPECT_EQ(kept.currentRow, std::nullopt);
  ASSERT_TRUE(kept.topRow.has_value());
  // The top event is gone: the view keeps the nearest neighbour that is still there.
  const std::string top = after.names[*kept.topRow];
  EXPECT_TRUE(top == "c" || top == "d") << top;
  EXPECT_EQ(namesOf(after, kept.newRows), (std::vector<std::string>{"e", "f"}));
}

TEST(FollowPlace, AFileThatShrinksOrEmptiesKeepsWhatIsLeft) {
  test::TempFolder folder;
  const std::string path = folder.write("tralog.log", ringLog({"a", "b", "c", "d"}, 3));
  const ShownRows before = readRows(path);
  folder.write("tralog.log", ringLog({"b"}, 0));
  const ShownRows after = readRows(path);
  const ListPlace place{{before.rowOf("b"), before.rowOf("c")}, before.rowOf("c"), std::nullopt};
  const KeptPlace kept = keepPlace(before.digests, place, after.digests);
  EXPECT_EQ(kept.selectedRows, std::vector<std::size_t>{0});
  EXPECT_EQ(kept.topRow, 0u);
  EXPECT_TRUE(kept.newRows.empty());

  const KeptPlace emptied = keepPlace(before.digests, place, {});
  EXPECT_TRUE(emptied.selectedRows.empty());
  EXPECT_EQ(emptied.topRow, std::nullopt);
  // Rows past the old list's end (a stale place) are ignored, not read.
  const KeptPlace stale = keepPlace(before.digests, ListPlace{{99}, 99, 99}, after.digests);
  EXPECT_TRUE(stale.selectedRows.empty());
  EXPECT_EQ(stale.topRow, std::nullopt);
}

TEST(FollowPlace, EqualEventsAreMatchedInTurn) {
  // Digests stand for events: two equal events (1), then others.
  const std::vector<std::uint64_t> before = {1, 1, 2};
  const std::vector<std::uint64_t> after = {3, 1, 1, 2, 1};
  const KeptPlace kept = keepPlace(before, ListPlace{{1}, 0, 1}, after);
  EXPECT_EQ(kept.selectedRows, std::vector<std::size_t>{2});
  EXPECT_EQ(kept.topRow, 1u);
  EXPECT_EQ(kept.currentRow, 2u);
  EXPECT_EQ(kept.newRows, (std::vector<std::size_t>{0, 4}));
  // A sort only reorders: nothing is new and the place follows.
  const std::vector<std::uint64_t> sorted = {2, 1, 1};
  const KeptPlace resorted = keepPlace(before, ListPlace{{2}, 2, std::nullopt}, sorted);
  EXPECT_EQ(resorted.selectedRows, std::vector<std::size_t>{0});
  EXPECT_TRUE(resorted.newRows.empty());
}

TEST(FollowPlace, DigestsFollowContents) {
  TrafficRecord record;
  record.time = Text("2004/03/10 10:00:00");
  record.ruleName = Text("Block_all");
  TrafficRecord same = record;
  EXPECT_EQ(eventDigest(record), eventDigest(same));
  same.remotePort = 1;
  EXPECT_NE(eventDigest(record), eventDigest(same));
  TrafficRecord moved = record;
  moved.ruleName = Text("Block_al");
  moved.applicationName = Text("l");
  EXPECT_NE(eventDigest(record), eventDigest(moved));
}

}  // namespace
}  // namespace qv
