#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/filter_list_dialog_model.h"

namespace qv {
namespace {

using namespace RecordFlag;

std::vector<std::string> rowTexts(const FilterEntry& entry) {
  std::vector<std::string> texts;
  for (int column = 0; column < static_cast<int>(kFilterListColumns.size()); ++column) {
    texts.push_back(filterListCellText(entry, static_cast<FilterListColumn>(column)));
  }
  return texts;
}

TEST(FilterListDialog, CellTexts) {
  EXPECT_EQ(rowTexts(blankFilterEntry()),
            (std::vector<std::string>{"Both", "Both", "All", "All", "All", "All", "All", "All/App", "All/Rule"}));

  FilterEntry entry;
  entry.flags = kAllowed | kIncoming | kUdp;
  entry.remoteIp = "10.0.0.5";
  entry.localIp = "192.168.0.2";
  entry.remotePort = 65535;
  entry.localPort = 0;
  entry.applicationName = "C:\\app.exe";
  entry.ruleName = "rule";
  EXPECT_EQ(rowTexts(entry), (std::vector<std::string>{"Allow", "Incoming", "UDP", "10.0.0.5", "65535", "192.168.0.2",
                                                       "0", "C:\\app.exe", "rule"}));
  entry.flags = kBlocked | kOutgoing | kIcmp;
  entry.setPortMarker("LPTN");
  EXPECT_EQ(rowTexts(entry)[0], "Block");
  EXPECT_EQ(rowTexts(entry)[1], "Outgoing");
  EXPECT_EQ(rowTexts(entry)[2], "ICMP");
  EXPECT_EQ(rowTexts(entry)[6], "All");
  entry.flags = kTcp | kUdp;  // TCP and UDP read as all protocols; no action bit reads as Block
  EXPECT_EQ(rowTexts(entry)[0], "Block");
  EXPECT_EQ(rowTexts(entry)[1], "Unknown");
  EXPECT_EQ(rowTexts(entry)[2], "All");
  entry.flags = kIcmp | kTcp;
  EXPECT_EQ(rowTexts(entry)[2], "ICMP");
  entry.flags = 0;
  EXPECT_EQ(rowTexts(entry)[2], "TCP");

  EXPECT_EQ(kFilterListColumns[3].title, "Remote IP  ");
  EXPECT_EQ(kFilterListColumns[5].title, "Local IP  ");
}

TEST(FilterListDialog, ButtonsWorkOnACopyUntilOk) {
  FilterList list;
  TrafficRecord event;
  event.flags = kTcp | kIncoming | kBlocked;
  event.remoteIp = "10.0.0.5";
  addToFilterList(list, &event, AddToFilterListCommand::kRemoteIp);
  addToFilterList(list, &event, AddToFilterListCommand::kPattern);
  const FilterList original = list;

  {
    FilterListDialogModel dialog(list);
    EXPECT_TRUE(dialog.removeAll());
    EXPECT_EQ(dialog.rowCount(), 0u);
    EXPECT_FALSE(dialog.removeAll());
    // Cancel: the dialog is dropped without applyTo.
  }
  EXPECT_EQ(list, original);

  FilterListDialogModel dialog(list);
  EXPECT_FALSE(dialog.remove(std::nullopt));
  EXPECT_FALSE(dialog.remove(2));
  EXPECT_EQ(dialog.fieldsToEdit(std::nullopt), std::nullopt);
  EXPECT_EQ(dialog.fieldsToEdit(5), std::nullopt);
  EXPECT_FALSE(dialog.replace(std::nullopt, EditFilterFields{}));

  dialog.add(EditFilterFields{});
  ASSERT_EQ(dialog.rowCount(), 3u);
  EXPECT_EQ(dialog.cellText(2, FilterListColumn::kRuleName), "All/Rule");

  // Editing the pattern of an event of unknown direction widens it to Both.
  TrafficRecord unknown = event;
  unknown.flags = kTcp | kBlocked;
  FilterList single;
  addToFilterList(single, &unknown, AddToFilterListCommand::kPattern);
  FilterListDialogModel other(single);
  const auto fields = other.fieldsToEdit(0);
  ASSERT_TRUE(fields.has_value());
  EXPECT_TRUE(other.replace(0, *fields));
  EXPECT_EQ(other.entries()[0].flags, kTcp | kBlocked | kDirectionMask);

  auto edit = dialog.fieldsToEdit(0);
  ASSERT_TRUE(edit.has_value());
  EXPECT_EQ(edit->remoteAddress, "10.0.0.5");
  edit->remoteAddress = "10.0.0.6";
  EXPECT_TRUE(dialog.replace(0, *edit));
  EXPECT_TRUE(dialog.remove(1));
  ASSERT_EQ(dialog.rowCount(), 2u);
  EXPECT_EQ(list, original);

  dialog.applyTo(list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].remoteIp, "10.0.0.6");
  EXPECT_EQ(list[1], buildFilterEntry(EditFilterFields{}));
}

}  // namespace
}  // namespace qv
