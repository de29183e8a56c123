#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include <vector>

#include "filter/add_to_filter_list.h"
#include "gui/app/about_box.h"
#include "gui/filter/edit_filter_dialog.h"
#include "gui/filter/filter_list_dialog.h"
#include "gui/settings/options_dialog.h"
#include "gui/views/statistics_dialog.h"
#include "modal_watcher.h"
#include "settings/memory_settings_store.h"

namespace qv::gui {
namespace {

using namespace RecordFlag;

// Shows the window at the size it opens with; every label and button must
// show its whole text. With QV_SCREENSHOT_DIR set the window is also saved there.
void checkLayout(QWidget& window, const QString& name) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(test::clippedTexts(window), QStringList()) << name.toStdString();
  test::saveScreenshot(window, name);
}

TEST(DialogLayout, EveryDialogShowsItsTextsWhole) {
  settings::MemorySettingsStore store;
  OptionsDialog options(store, settings::ViewOptions{{}, 0xE4DDD1, 0}, {}, {});
  checkLayout(options, QStringLiteral("options"));

  FilterList list;
  std::vector<TrafficRecord> shown;
  for (std::uint16_t port : {135, 139, 445, 53, 1434, 23, 80, 8080, 3389, 22, 21, 25}) {
    TrafficRecord record;
    record.flags = kBlocked | kIncoming | (port == 53 || port == 1434 ? kUdp : kTcp);
    record.localPort = port;
    record.remotePort = 4000;
    record.occurrences = port % 97 + 1;
    record.remoteIp = "203.0.113.7";
    record.localIp = "192.168.0.2";
    record.applicationName = "C:\\Windows\\System32\\svchost.exe";
    record.ruleName = "Block incoming";
    shown.push_back(record);
  }
  addToFilterList(list, &shown[0], AddToFilterListCommand::kPattern);
  addToFilterList(list, &shown[3], AddToFilterListCommand::kRemoteIp);
  addToFilterList(list, &shown[5], AddToFilterListCommand::kApplicationName);
  FilterListDialog filterList(list, {12, std::nullopt, 3});
  checkLayout(filterList, QStringLiteral("filter_list"));

  EditFilterDialog editFilter(editFilterFieldsFromEntry(list[0]));
  checkLayout(editFilter, QStringLiteral("edit_filter"));

  StatisticsDialog statistics(shown);
  checkLayout(statistics, QStringLiteral("statistics"));
  StatisticsDialog noStatistics(std::vector<TrafficRecord>{});
  checkLayout(noStatistics, QStringLiteral("statistics_empty"));

  QMessageBox about;
  prepareAboutBox(about, vendorLibraryStatus("/usr/lib/qvlogview/libvendtab.so"));
  checkLayout(about, QStringLiteral("about"));
}

}  // namespace
}  // namespace qv::gui
