// Start-up, minimizing into the tray and the settings that survive a restart.
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTest>

#include "gui/app/quick_filter_panel.h"
#include "gui/views/log_list_view.h"
#include "gui/views/traffic_table_model.h"
#include "main_window_fixture.h"
#include "settings/settings_codecs.h"

namespace qv::gui::test {
namespace {

class MainWindowLifecycle : public MainWindowFixture {
 protected:
  std::unique_ptr<MainWindow> windowWithEvents() {
    const std::string log = writeTrafficLog("tralog.log", {event("2023/11/14 10:00:03", "10.0.0.5", 80),
                                                           event("2023/11/14 10:00:02", "10.0.0.6", 81)});
    StartupArguments arguments;
    arguments.files = {log};
    return startWindow(arguments);
  }

  void putNumber(const char* name, std::uint32_t value) {
    store.putValue(name, {settings::ValueType::kNumber32,
                          {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                           static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}});
  }
};

TEST_F(MainWindowLifecycle, MinimizingHidesIntoTheTrayAndClearsBothViews) {
  auto window = windowWithEvents();
  window->setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_TRUE(window->isInTray());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 0 / 0");
  EXPECT_EQ(window->countLineText(MainWindow::kPacketTab), "Records : 0 / 0");

  window->openFromTray();
  EXPECT_FALSE(window->isInTray());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowLifecycle, ClearDataZeroKeepsTheRecordsThroughTheTray) {
  putNumber("ClearData", 0);
  auto window = windowWithEvents();
  window->setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_TRUE(window->isInTray());
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 2 / 2");
}

TEST_F(MainWindowLifecycle, WithoutATrayMinimizingKeepsTheWindowReachableAndItsRecords) {
  trayAvailable = false;
  auto window = windowWithEvents();
  window->setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_FALSE(window->isInTray());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 2 / 2");

  // Started minimized without a tray: minimized, never hidden.
  StartupArguments minimize;
  minimize.minimize = true;
  auto second = startWindow(minimize);
  QTest::qWait(50);
  EXPECT_FALSE(second->isInTray());
  EXPECT_TRUE(second->isVisible());
}

TEST_F(MainWindowLifecycle, MinimizeArgumentStartsInTheTray) {
  EXPECT_TRUE(parseStartupArguments({"-minimize"}).minimize);
  EXPECT_FALSE(parseStartupArguments({"-Minimize"}).minimize);
  EXPECT_FALSE(parseStartupArguments({"--minimize"}).minimize);
  StartupArguments minimize;
  minimize.minimize = true;
  auto window = startWindow(minimize);
  QTest::qWait(50);
  EXPECT_TRUE(window->isInTray());
  EXPECT_FALSE(window->isVisible());
  window->openTabFromTray(MainWindow::kPacketTab);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->currentTab(), MainWindow::kPacketTab);
}

TEST_F(MainWindowLifecycle, SettingsSurviveARestart) {
  {
    auto window = startWindow();
    window->showNormal();
    window->setGeometry(120, 90, 900, 500);
    QApplication::processEvents();
    QuickFilterPanel* filter = window->quickFilter();
    filter->timeField()->setText("24");
    filter->field(FilterField::kRemoteIp)->setText("!10.");
    filter->field(FilterField::kApplicationName)->setText(QString(300, QLatin1Char('a')));
    filter->checkBox(CheckBox::kUdp)->setChecked(false);
    window->trafficView()->setColumnWidth(5, 222);
    window->trafficView()->horizontalHeader()->moveSection(4, 0);
    window->packetView()->setColumnWidth(9, 77);
    window->trafficView()->setFontHeight(16);
    window->close();
  }
  EXPECT_EQ(store.storedValue("TimeStr")->bytes, (std::vector<std::uint8_t>{'2', '4', 0}));

  auto window = startWindow();
  EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window->geometry(), QRect(120, 90, 900, 500));
  QuickFilterPanel* filter = window->quickFilter();
  EXPECT_EQ(filter->timeField()->text(), "24");
  EXPECT_EQ(filter->field(FilterField::kRemoteIp)->text(), "!10.");
  // The longest name a field takes is one that reads back.
  EXPECT_EQ(filter->field(FilterField::kApplicationName)->text(), QString(259, QLatin1Char('a')));
  EXPECT_FALSE(filter->checkBox(CheckBox::kUdp)->isChecked());
  EXPECT_TRUE(filter->checkBox(CheckBox::kTcp)->isChecked());
  EXPECT_EQ(window->trafficView()->columnWidth(5), 222);
  EXPECT_EQ(window->trafficView()->columnOrder().front(), 4);
  EXPECT_EQ(window->packetView()->columnWidth(9), 77);
  EXPECT_EQ(window->trafficView()->fontHeight(), 16);
  EXPECT_EQ(window->packetView()->fontHeight(), 16);
}

TEST_F(MainWindowLifecycle, StoredColoursApplyAndMaximizedIsRestored) {
  putNumber("ColorBk", 0x000000);
  putNumber("ColorTxt", 0xE6E6E6);
  putNumber("ViewStyle", 0x1A);  // application and protocol icons, gridlines, no hot-tracking
  putNumber("WindowMax", 1);
  auto window = startWindow();
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
  for (LogListView* view : {window->trafficView(), window->packetView()}) {
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(view->palette().color(QPalette::Text), QColor(0xE6, 0xE6, 0xE6));
    EXPECT_TRUE(view->showGrid());
    EXPECT_FALSE(view->viewStyle().hotTracking);
  }
  EXPECT_TRUE(window->trafficModel()->iconFlags().protocol);
  EXPECT_FALSE(window->trafficModel()->iconFlags().ruleName);
  window->close();
  EXPECT_EQ(store.storedValue("WindowMax")->bytes, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

// The standard white-on-black pair, stored by the Options dialog, stands for
// the desktop's own colours: on a dark theme the lists stay dark.
TEST_F(MainWindowLifecycle, StandardColoursFollowTheDesktopTheme) {
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(220, 220, 220));
  QApplication::setPalette(dark);
  putNumber("ColorBk", 0xFFFFFF);
  putNumber("ColorTxt", 0x000000);
  auto window = startWindow();
  for (LogListView* view : {window->trafficView(), window->packetView()}) {
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(30, 30, 30));
    EXPECT_EQ(view->palette().color(QPalette::Text), QColor(220, 220, 220));
  }
  window->close();
  putNumber("ColorBk", 0xEBFFFF);  // the light preset is a choice and is kept
  auto chosen = startWindow();
  EXPECT_EQ(chosen->trafficView()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xEB));
  QApplication::setPalette(light);
}

TEST_F(MainWindowLifecycle, FontSizeIsTheCurrentTabsAndTabsHandTheirFontOver) {
  auto window = startWindow();
  window->trafficView()->setFontHeight(14);
  window->selectTab(MainWindow::kPacketTab);
  EXPECT_EQ(window->packetView()->fontHeight(), 14);
  window->packetView()->setFontHeight(18);
  window->close();
  EXPECT_EQ(store.storedValue("FontSize")->bytes, (std::vector<std::uint8_t>{18, 0, 0, 0}));
}

}  // namespace
}  // namespace qv::gui::test
