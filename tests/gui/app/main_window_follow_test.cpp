// Following a log the firewall keeps writing, the timeline strip, and saving
// shown events as CSV or as a capture, all driven through the main window.
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <set>

#include "../dialogs/modal_watcher.h"
#include "gui/app/log_follower.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/timeline_strip.h"
#include "gui/views/traffic_table_model.h"
#include "main_window_fixture.h"
#include "settings/main_window_settings.h"
#include "views/event_text.h"
#include "views/timeline.h"

namespace qv::gui::test {
namespace {

using namespace std::chrono_literals;

class MainWindowFollow : public MainWindowFixture {
 protected:
  // Events one minute apart, remote port 1000 + i, from 10.0.0.<i>.
  static TrafficRecord numbered(int i) {
    char time[32];
    std::snprintf(time, sizeof time, "2023/11/14 10:%02d:00", i);
    return event(time, ("10.0.0." + std::to_string(i)).c_str(), static_cast<std::uint16_t>(1000 + i));
  }
  // The log as the firewall leaves it: events first..last, newest shown first.
  void writeEvents(int first, int last) {
    std::vector<TrafficRecord> newestFirst;
    for (int i = last; i >= first; --i) newestFirst.push_back(numbered(i));
    writeTrafficLog("tralog.log", newestFirst);
  }

  static std::set<std::string> selectedIps(const MainWindow& window) {
    std::set<std::string> ips;
    for (const int row : window.trafficView()->selectedRowNumbers()) {
      ips.insert(window.trafficModel()->log().shown[static_cast<std::size_t>(row)].remoteIp.str());
    }
    return ips;
  }
  static std::set<std::string> newIps(const MainWindow& window) {
    std::set<std::string> ips;
    const TrafficLogState& log = window.trafficModel()->log();
    for (std::size_t row = 0; row < log.shown.size(); ++row) {
      if (window.trafficModel()->isMarkedNew(static_cast<int>(row))) ips.insert(log.shown[row].remoteIp.str());
    }
    return ips;
  }
  static int rowOf(const MainWindow& window, const std::string& ip) {
    const TrafficLogState& log = window.trafficModel()->log();
    for (std::size_t row = 0; row < log.shown.size(); ++row) {
      if (log.shown[row].remoteIp.str() == ip) return static_cast<int>(row);
    }
    return -1;
  }
  // Lets the window work until `condition` holds; false after five seconds.
  template <class Condition>
  static bool waitFor(Condition condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
      if (waited.elapsed() > 5000) return false;
      QTest::qWait(10);
    }
    return true;
  }
  static QString statusLine(MainWindow& window) {
    auto* bar = window.findChild<QStatusBar*>();
    return bar && bar->isVisible() ? bar->currentMessage() : QString();
  }
};

TEST_F(MainWindowFollow, KeepsSortAndSelectionMarksNewRowsAndPausesWhileTheFileIsGone) {
  readInBackground = true;  // as the desktop reads: on the worker thread
  writeEvents(1, 5);
  StartupArguments arguments;
  arguments.files = {path("tralog.log")};
  auto window = startWindow(arguments);
  ASSERT_TRUE(waitFor([&] { return window->countLineText(MainWindow::kTrafficTab) == "Records : 5 / 5"; }));

  // Sorted by remote port (second click: highest first is not assumed),
  // two events selected, follow on.
  window->trafficModel()->clickHeader(static_cast<int>(TrafficColumn::kRemotePort));
  const SortState sorted = window->trafficModel()->sortState();
  ASSERT_TRUE(sorted.isSorted());
  window->trafficView()->selectRows(std::vector<std::size_t>{static_cast<std::size_t>(rowOf(*window, "10.0.0.2")),
                                                             static_cast<std::size_t>(rowOf(*window, "10.0.0.4"))},
                                    std::nullopt);
  window->logFollower()->setMinimumInterval(0ms);
  window->logFollower()->setPollInterval(50ms);
  window->setNewRowMarkTime(60'000);
  window->followAction_->trigger();
  ASSERT_TRUE(window->isFollowing());

  // The firewall adds an event.
  writeEvents(1, 6);
  ASSERT_TRUE(waitFor([&] { return window->countLineText(MainWindow::kTrafficTab) == "Records : 6 / 6"; }));
  ASSERT_TRUE(waitFor([&] { return !window->isRereading(); }));
  EXPECT_EQ(window->trafficModel()->sortState().column(), sorted.column());
  EXPECT_EQ(window->trafficModel()->sortState().direction(), sorted.direction());
  EXPECT_EQ(selectedIps(*window), (std::set<std::string>{"10.0.0.2", "10.0.0.4"}));
  EXPECT_EQ(newIps(*window), std::set<std::string>{"10.0.0.6"});
  // The rows really are in the kept order.
  const TrafficRows rows = window->trafficModel()->log().shown.rows();
  const bool ascending = rows.front().remotePort < rows.back().remotePort;
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [ascending](const TrafficRecord& a, const TrafficRecord& b) {
    return ascending ? a.remotePort < b.remotePort : a.remotePort > b.remotePort;
  }));

  // The ring wraps: the oldest two events are overwritten by two new ones.
  writeEvents(3, 8);
  ASSERT_TRUE(waitFor([&] { return newIps(*window).contains("10.0.0.7"); }));
  ASSERT_TRUE(waitFor([&] { return !window->isRereading(); }));
  EXPECT_EQ(newIps(*window), (std::set<std::string>{"10.0.0.6", "10.0.0.7", "10.0.0.8"}));
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), QStringLiteral("Records : 6 / 6"));
  EXPECT_EQ(selectedIps(*window), std::set<std::string>{"10.0.0.4"});  // 10.0.0.2 is gone
  EXPECT_TRUE(window->trafficModel()->sortState().isSorted());
  EXPECT_TRUE(messages.empty());

  // The file goes away: the list keeps its rows and the status bar says why.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(path("tralog.log"))));
  ASSERT_TRUE(waitFor([&] { return statusLine(*window).startsWith(QStringLiteral("Follow paused")); }))
      << statusLine(*window).toStdString();
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), QStringLiteral("Records : 6 / 6"));

  // It comes back with one more event: following resumes.
  writeEvents(3, 9);
  ASSERT_TRUE(waitFor([&] { return window->countLineText(MainWindow::kTrafficTab) == "Records : 7 / 7"; }));
  ASSERT_TRUE(waitFor([&] { return !window->isRereading(); }));
  EXPECT_TRUE(statusLine(*window).isEmpty()) << statusLine(*window).toStdString();
  EXPECT_TRUE(newIps(*window).contains("10.0.0.9"));
  // Once their time is up the marks go.
  window->setNewRowMarkTime(1);
  writeEvents(3, 10);
  ASSERT_TRUE(waitFor([&] { return window->countLineText(MainWindow::kTrafficTab) == "Records : 8 / 8"; }));
  EXPECT_TRUE(waitFor([&] { return newIps(*window).empty(); }));
  EXPECT_EQ(selectedIps(*window), std::set<std::string>{"10.0.0.4"});
  EXPECT_TRUE(messages.empty());

  window->followAction_->trigger();
  EXPECT_FALSE(window->isFollowing());
}

TEST_F(MainWindowFollow, ReadNowOfAnUnreadableFileSaysSoAndKeepsTheList) {
  writeEvents(1, 3);
  StartupArguments arguments;
  arguments.files = {path("tralog.log")};
  auto window = startWindow(arguments);
  ASSERT_EQ(window->countLineText(MainWindow::kTrafficTab), QStringLiteral("Records : 3 / 3"));
  writeFile("tralog.log", "not a log");
  window->readNowAction_->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(window->countLineText(MainWindow::kTrafficTab), QStringLiteral("Records : 3 / 3"));
}

TEST_F(MainWindowFollow, ClickingATimelineBarSelectsItsEventsAndTheStripIsRemembered) {
  auto window = startWindow();
  window->readLogFile(QV_SOURCE_DIR "/samples/tralog.log");
  ASSERT_GT(window->trafficModel()->rowCount(), 3);
  EXPECT_FALSE(window->timelineStrip(MainWindow::kTrafficTab)->isVisible());
  window->timelineAction_->trigger();
  TimelineStrip* strip = window->timelineStrip(MainWindow::kTrafficTab);
  ASSERT_TRUE(strip->isVisible());
  QApplication::processEvents();

  const Timeline& timeline = strip->timeline();
  ASSERT_FALSE(timeline.empty());
  // The fullest bar, so that it is surely wide and tall enough to hit.
  std::size_t bucket = 0;
  for (std::size_t i = 0; i < timeline.buckets.size(); ++i) {
    if (timeline.buckets[i].total() > timeline.buckets[bucket].total()) bucket = i;
  }
  const std::vector<std::size_t> expected = timelineRows(timeline, bucket, bucket);
  const auto clickBar = [&] {
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->barArea(bucket).center().toPoint());
    std::vector<std::string> events;
    for (const int row : window->trafficView()->selectedRowNumbers()) {
      events.push_back(trafficEventText(window->trafficModel()->log().shown[static_cast<std::size_t>(row)]));
    }
    std::sort(events.begin(), events.end());
    return events;
  };
  const std::vector<std::string> chosen = clickBar();
  const std::vector<int> selected = window->trafficView()->selectedRowNumbers();
  EXPECT_EQ(std::vector<std::size_t>(selected.begin(), selected.end()), expected);
  EXPECT_EQ(window->trafficView()->currentIndex().row(), static_cast<int>(expected.front()));
  saveScreenshot(*window, QStringLiteral("main-window-timeline"));

  // After a sort the same bar still stands for the same events, wherever
  // their rows went.
  window->trafficModel()->clickHeader(static_cast<int>(TrafficColumn::kRemoteIp));
  window->trafficModel()->clickHeader(static_cast<int>(TrafficColumn::kRemoteIp));
  EXPECT_EQ(clickBar(), chosen);
  EXPECT_TRUE(settings::timelineShown(store));
  window.reset();
  auto again = startWindow();
  EXPECT_TRUE(again->timelineAction_->isChecked());
}

TEST_F(MainWindowFollow, SavesTheSelectionOrEveryShownEventAsCsv) {
  writeEvents(1, 3);
  StartupArguments arguments;
  arguments.files = {path("tralog.log")};
  auto window = startWindow(arguments);
  const auto lines = [](const std::string& file) {
    QFile in(QString::fromStdString(file));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  };

  chosenPath = path("all.csv");
  window->saveCsvAction_->trigger();
  EXPECT_EQ(lastRequest.defaultExtension, "csv");
  QStringList all = lines(*chosenPath);
  ASSERT_EQ(all.size(), 4);  // the column titles, then the rows as shown
  EXPECT_TRUE(all[0].contains(QStringLiteral("Remote IP")));
  EXPECT_TRUE(all[1].contains(QStringLiteral("10.0.0.3")));
  EXPECT_TRUE(all[3].contains(QStringLiteral("10.0.0.1")));

  window->trafficView()->selectRows(std::vector<std::size_t>{1}, 1);
  chosenPath = path("one.csv");
  window->saveCsvAction_->trigger();
  QStringList one = lines(*chosenPath);
  ASSERT_EQ(one.size(), 2);
  EXPECT_TRUE(one[1].contains(QStringLiteral("10.0.0.2")));

  chosenPath = path("missing/folder/x.csv");
  window->saveCsvAction_->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messageTitles[0], "Quorvex Log Viewer");
}

#ifdef QV_HAVE_CAPTURE
TEST_F(MainWindowFollow, SavesSelectedPacketsAsACaptureFile) {
  auto window = startWindow();
  window->selectTab(MainWindow::kPacketTab);
  window->readLogFile(QV_SOURCE_DIR "/samples/rawlog.log");
  const int shown = window->packetModel()->rowCount();
  ASSERT_GT(shown, 3);
  EXPECT_TRUE(window->saveCaptureAction_->isEnabled());

  // Reads back the classic capture header and counts the frames.
  const auto framesIn = [](const std::string& file) {
    QFile in(QString::fromStdString(file));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    if (bytes.size() < 24) return -1;
    std::uint32_t magic = 0;
    std::memcpy(&magic, bytes.constData(), 4);
    EXPECT_EQ(magic, 0xA1B2C3D4u);
    int frames = 0;
    for (qsizetype at = 24; at + 16 <= bytes.size(); ++frames) {
      std::uint32_t captured = 0;
      std::memcpy(&captured, bytes.constData() + at + 8, 4);
      at += 16 + static_cast<qsizetype>(captured);
      if (at > bytes.size()) return -1;
    }
    return frames;
  };

  chosenPath = path("all.pcap");
  window->saveCaptureAction_->trigger();
  EXPECT_EQ(framesIn(*chosenPath), shown);

  window->packetView()->selectRows(std::vector<std::size_t>{0, 2}, 0);
  chosenPath = path("two.pcap");
  window->saveCaptureAction_->trigger();
  EXPECT_EQ(framesIn(*chosenPath), 2);
  EXPECT_TRUE(messages.empty());

  window->selectTab(MainWindow::kTrafficTab);
  EXPECT_FALSE(window->saveCaptureAction_->isEnabled());
}
#endif

}  // namespace
}  // namespace qv::gui::test
