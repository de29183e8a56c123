// The main window driven as a user drives it: reading, filtering, sorting,
// the Filter Out/In, copy, save and filter-list commands, the tab rules.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QTabWidget>
#include <QTest>

#include "filter/filter_list_file.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "main_window_fixture.h"
#include "views/event_text.h"
#include "views/read_operation.h"

namespace qv::gui::test {
namespace {

class MainWindowCommands : public MainWindowFixture {
 protected:
  // Three events, newest first: remote ports 80, 443 and 80 again.
  std::unique_ptr<MainWindow> windowWithThreeEvents() {
    const std::string log = writeTrafficLog("tralog.log", {event("2023/11/14 10:00:03", "10.0.0.5", 80),
                                                           event("2023/11/14 10:00:02", "10.0.0.10", 443),
                                                           event("2023/11/14 10:00:01", "9.1.1.1", 80)});
    StartupArguments arguments;
    arguments.files = {log};
    return startWindow(arguments);
  }

  static void clickHeader(LogListView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 4, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  static QString cell(const MainWindow& window, int row, int column) {
    const auto* model = window.trafficModel();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
};

TEST_F(MainWindowCommands, FirstRunOpensMaximizedWithEveryBoxCheckedAndNothingRead) {
  auto window = startWindow();
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window->windowTitle(), "Quorvex Log Viewer");
  for (int box = 0; box < 7; ++box) EXPECT_TRUE(window->quickFilter()->checkBox(static_cast<CheckBox>(box))->isChecked());
  EXPECT_TRUE(window->quickFilter()->timeField()->text().isEmpty());
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 0 / 0");
  EXPECT_EQ(window->trafficModel()->rowCount(), 1);
  EXPECT_GE(window->minimumWidth(), 790);
  EXPECT_GE(window->minimumHeight(), 230);
  EXPECT_EQ(window->quickFilter()->field(FilterField::kApplicationName)->maxLength(), 259);
  EXPECT_EQ(window->quickFilter()->field(FilterField::kRuleName)->maxLength(), 259);
}

TEST_F(MainWindowCommands, ReadsFiltersAndReportsBadFieldsWithoutTouchingTheView) {
  auto window = windowWithThreeEvents();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");
  EXPECT_EQ(window->windowTitle(), "tralog.log - Quorvex Log Viewer");
  EXPECT_EQ(cell(*window, 0, 4), "10.0.0.5");

  clickHeader(window->trafficView(), 6);
  ASSERT_TRUE(window->trafficModel()->sortState().isSorted());
  window->quickFilter()->timeField()->setText("1a");
  window->filterCurrentLog();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Invalid Data : Time : Invalid Letter \"a\"");
  EXPECT_EQ(messageTitles[0], "Quorvex Log Viewer");
  EXPECT_TRUE(window->trafficModel()->sortState().isSorted());
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");

  window->quickFilter()->timeField()->clear();
  window->quickFilter()->field(FilterField::kRemotePort)->setText("80");
  QTest::keyClick(window->quickFilter()->field(FilterField::kRemotePort), Qt::Key_Return);
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 2 / 3");
  EXPECT_FALSE(window->trafficModel()->sortState().isSorted());

  // Reading with a bad field reads nothing and keeps the rows.
  window->quickFilter()->field(FilterField::kLocalIp)->setText("10,0");
  window->readCurrentLog();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "Invalid Data : Local IP : Invalid Letter \",\"");
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 2 / 3");

  // Escape does nothing.
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowCommands, ReadingAMissingFileClearsTheViewWithItsMessage) {
  auto window = windowWithThreeEvents();
  window->readLogFile(path("missing.log"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith("CFile::Open Error : ")) << messages[0].toStdString();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 0 / 0");
  EXPECT_EQ(cell(*window, 0, 0), "No Data");
}

TEST_F(MainWindowCommands, BackgroundReadsSwapInWholeAndCancelledOnesChangeNothing) {
  readInBackground = true;
  auto window = windowWithThreeEvents();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isReading(); }, 10000));
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");

  const std::string other = writeTrafficLog("other.log", {event("2023/11/14 11:00:00", "10.9.9.9", 53)});
  window->readLogFile(other);
  EXPECT_TRUE(window->isReading());
  window->cancelReads();
  EXPECT_FALSE(window->isReading());
  QTest::qWait(300);  // the worker ends meanwhile; what it read is dropped
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");
  EXPECT_EQ(cell(*window, 0, 4), "10.0.0.5");
  EXPECT_EQ(window->windowTitle(), "tralog.log - Quorvex Log Viewer");

  window->readLogFile(other);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isReading(); }, 10000));
  QApplication::processEvents();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 1 / 1");
  EXPECT_EQ(window->windowTitle(), "other.log - Quorvex Log Viewer");
}

TEST_F(MainWindowCommands, HeaderClicksSortAndShowTheirArrow) {
  auto window = windowWithThreeEvents();
  auto* model = window->trafficModel();
  clickHeader(window->trafficView(), 0);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Time \u25BC"));
  EXPECT_EQ(cell(*window, 0, 0), "2023/11/14 10:00:03");
  clickHeader(window->trafficView(), 0);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Time \u25B2"));
  EXPECT_EQ(cell(*window, 0, 0), "2023/11/14 10:00:01");
  clickHeader(window->trafficView(), 4);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Time");
  EXPECT_EQ(cell(*window, 0, 4), "9.1.1.1");
  EXPECT_EQ(cell(*window, 2, 4), "10.0.0.10");
}

TEST_F(MainWindowCommands, FilterOutAndInFillTheFieldFromTheSelectedEvent) {
  auto window = windowWithThreeEvents();
  QLineEdit* remoteIp = window->quickFilter()->field(FilterField::kRemoteIp);
  window->filterOutActions_[0]->trigger();
  EXPECT_TRUE(remoteIp->text().isEmpty());  // nothing selected: nothing changes

  window->trafficView()->selectRow(1);
  window->filterOutActions_[0]->trigger();
  EXPECT_EQ(remoteIp->text(), "!10.0.0.10");
  window->filterInActions_[0]->trigger();
  EXPECT_EQ(remoteIp->text(), "10.0.0.10");
  window->filterOutActions_[4]->trigger();
  EXPECT_EQ(window->quickFilter()->field(FilterField::kApplicationName)->text(), "!/C:\\app.exe");
  window->filterInActions_[5]->trigger();
  EXPECT_EQ(window->quickFilter()->field(FilterField::kRuleName)->text(), "Block_all");
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");  // not run yet
}

TEST_F(MainWindowCommands, CopiesTheCoreTextsOfTheSelectedEvent) {
  auto window = windowWithThreeEvents();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("previous");
  window->copyEventAction_->trigger();
  EXPECT_EQ(clipboard->text(), "");

  window->trafficView()->selectRow(2);
  window->trafficView()->setFocus();
  QTest::keyClick(window->trafficView(), Qt::Key_C, Qt::ControlModifier);
  const TrafficRecord& third = window->trafficModel()->log().shown[2];
  EXPECT_EQ(clipboard->text(), QString::fromStdString(trafficEventText(third)));
  window->copyRemoteIpAction_->trigger();
  EXPECT_EQ(clipboard->text(), "9.1.1.1");
  window->copyRuleNameAction_->trigger();
  EXPECT_EQ(clipboard->text(), "Block_all");
}

TEST_F(MainWindowCommands, SavesTheSelectionAndReadsItBack) {
  auto window = windowWithThreeEvents();
  chosenPath = path("saved.log");
  window->saveAction_->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Select items on the list!");
  EXPECT_EQ(chooserCalls, 0);

  window->trafficView()->selectRow(0);
  window->trafficView()->selectionModel()->select(window->trafficModel()->index(2, 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(window->trafficView(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(chooserCalls, 1);
  EXPECT_EQ(lastRequest.mode, FileDialogRequest::Mode::kSave);
  EXPECT_EQ(lastRequest.defaultExtension, "log");
  EXPECT_EQ(messages.size(), 1u);

  TrafficLogState readBack;
  ASSERT_EQ(readTrafficLog(readBack, *chosenPath, FilterCriteria{}, 0).status, ReadStatus::kShown);
  ASSERT_EQ(readBack.shown.size(), 2u);
  EXPECT_EQ(readBack.shown[0], window->trafficModel()->log().shown[0]);
  EXPECT_EQ(readBack.shown[1], window->trafficModel()->log().shown[2]);

  // A cleared view's "No Data" row is never saved.
  window->readLogFile(path("missing.log"));
  window->trafficView()->selectRow(0);
  window->saveAction_->trigger();
  EXPECT_EQ(messages.back(), "Select items on the list!");
  EXPECT_EQ(chooserCalls, 1);
}

TEST_F(MainWindowCommands, AddToFilterListHidesTheEventFromTheNextRunAndIsStored) {
  {
    auto window = windowWithThreeEvents();
    window->addToFilterListActions_[0]->trigger();
    EXPECT_TRUE(window->filterList().empty());
    window->trafficView()->selectRow(1);
    window->addToFilterListActions_[0]->trigger();  // Remote IP 10.0.0.10
    ASSERT_EQ(window->filterList().size(), 1u);
    EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 3 / 3");
    window->filterCurrentLog();
    EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 2 / 3");
    window->close();
  }
  EXPECT_EQ(loadFilterListFile(path("filter.lst")).list.size(), 1u);
  auto restarted = windowWithThreeEvents();
  EXPECT_EQ(restarted->filterList().size(), 1u);
  EXPECT_EQ(restarted->countLineText(MainWindow::kTrafficTab), "Records : 2 / 3");
}

TEST_F(MainWindowCommands, AnalyzeEventPatternMergesTheShownRows) {
  auto window = startWindow();
  window->analyzeAction_->trigger();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 0 / 0");

  const std::string log = writeTrafficLog("same.log", {event("2023/11/14 10:00:03", "10.0.0.5", 80),
                                                       event("2023/11/14 10:00:01", "10.0.0.5", 80)});
  window->readLogFile(log);
  window->analyzeAction_->trigger();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 1 / 2");
  EXPECT_EQ(cell(*window, 0, 9), "2");
}

TEST_F(MainWindowCommands, TheTabDecidesWhichCommandsAreEnabled) {
  auto window = windowWithThreeEvents();
  const std::vector<QAction*> trafficOnly = {window->copyRuleNameAction_, window->analyzeAction_,
                                             window->addPatternAction_, window->filterOutActions_[5],
                                             window->filterInActions_[5], window->addToFilterListActions_[6]};
  const std::vector<QAction*> trafficWindows = {window->filterListAction_, window->statisticsAction_,
                                                window->portReportAction_};
  const std::vector<QAction*> packetWindows = {window->searchInPacketsAction_, window->openPacketViewerAction_};
  const std::vector<QAction*> everyTab = {window->optionsAction_, window->aboutAction_, window->whoisAction_};
  const auto expectEnabled = [](const std::vector<QAction*>& actions, bool enabled) {
    for (QAction* action : actions) EXPECT_EQ(action->isEnabled(), enabled) << action->text().toStdString();
  };
  expectEnabled(trafficOnly, true);
  expectEnabled(trafficWindows, true);
  expectEnabled(packetWindows, false);
  expectEnabled(everyTab, true);
  EXPECT_TRUE(window->quickFilter()->field(FilterField::kRuleName)->isEnabled());

  window->selectTab(MainWindow::kPacketTab);
  expectEnabled(trafficOnly, false);
  expectEnabled(trafficWindows, false);
  expectEnabled(packetWindows, true);
  expectEnabled(everyTab, true);
  EXPECT_FALSE(window->quickFilter()->field(FilterField::kRuleName)->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Quorvex Log Viewer");

  // A command taken away is disabled whatever the tab.
  window->setCommandAvailable(window->searchInPacketsAction_, false);
  EXPECT_FALSE(window->searchInPacketsAction_->isEnabled());
  window->setCommandAvailable(window->searchInPacketsAction_, true);
  EXPECT_TRUE(window->searchInPacketsAction_->isEnabled());
  window->selectTab(MainWindow::kTrafficTab);
  EXPECT_FALSE(window->searchInPacketsAction_->isEnabled());
  // The context menus run the same commands.
  bool routed = false;
  for (QAction* item : window->trafficContextMenu()->actions()) {
    if (item->text() == "Copy &Rule Name") routed = item->isEnabled();
  }
  EXPECT_TRUE(routed);
}

TEST_F(MainWindowCommands, PacketLogsGoToTheirTabByTheirHeader) {
  StartupArguments arguments;
  arguments.files = {QV_SOURCE_DIR "/samples/rawlog.log"};
  auto window = startWindow(arguments);
  EXPECT_EQ(window->currentTab(), MainWindow::kPacketTab);
  const int rows = window->packetModel()->rowCount();
  ASSERT_GT(rows, 1);
  EXPECT_EQ(window->countLineText(MainWindow::kPacketTab),
            QStringLiteral("Records : %1 / %1").arg(rows));
  EXPECT_EQ(window->windowTitle(), "rawlog.log - Quorvex Log Viewer");
  window->quickFilter()->checkBox(CheckBox::kUdp)->setChecked(false);
  window->quickFilter()->checkBox(CheckBox::kIcmp)->setChecked(false);
  window->filterCurrentLog();
  for (int row = 0; row < window->packetModel()->rowCount(); ++row) {
    const QString protocol = window->packetModel()->data(window->packetModel()->index(row, 3), Qt::DisplayRole).toString();
    EXPECT_NE(protocol, "UDP");
    EXPECT_NE(protocol, "ICMP");
  }
}

TEST_F(MainWindowCommands, AFileDroppedOnAListIsReadAsTheLogOfTheSelectedTab) {
  auto window = windowWithThreeEvents();
  const std::string other = writeTrafficLog("dropped.log", {event("2023/11/14 11:00:00", "10.9.9.9", 53)});
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
  QWidget* target = window->trafficView()->viewport();
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 1 / 1");
  EXPECT_EQ(cell(*window, 0, 4), "10.9.9.9");
  EXPECT_EQ(window->windowTitle(), "dropped.log - Quorvex Log Viewer");
}

TEST_F(MainWindowCommands, ACheckBoxGroupIsNeverLeftAllClear) {
  auto window = startWindow();
  QCheckBox* allow = window->quickFilter()->checkBox(CheckBox::kAllow);
  QCheckBox* block = window->quickFilter()->checkBox(CheckBox::kBlock);
  QTest::mouseClick(allow, Qt::LeftButton);
  EXPECT_FALSE(allow->isChecked());
  QTest::mouseClick(block, Qt::LeftButton);
  EXPECT_TRUE(allow->isChecked());
  EXPECT_FALSE(block->isChecked());
}

}  // namespace
}  // namespace qv::gui::test
