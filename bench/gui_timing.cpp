// Times the desktop window over a large log against the core alone:
//   gui_timing core   TRAFFIC PACKETS   the core read and sort, as qvlog does them
//   gui_timing window TRAFFIC PACKETS   the same through the main window, each up to
//                                       its view repainted
//   gui_timing follow TRAFFIC PACKETS   one follow cycle: the firewall adds one event
//                                       to TRAFFIC (a copy), the window reads it again
//                                       keeping a selection and scroll position
// Prints one line per step ("name seconds") and the peak resident memory.
// Runs on the offscreen platform; see bench/gui_bench.sh.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "gui/app/main_window.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "logdata/log_export.h"
#include "settings/memory_settings_store.h"
#include "views/packet_sort.h"
#include "views/read_operation.h"
#include "views/traffic_sort.h"

namespace {

long peakResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

void report(const char* name, const QElapsedTimer& timer) {
  std::printf("%s %.3f\n", name, static_cast<double>(timer.nsecsElapsed()) / 1e9);
  std::fflush(stdout);
}

// Paints the view now, as the screen would show it.
void repaint(qv::gui::LogListView* view) {
  view->viewport()->repaint();
  QApplication::processEvents();
}

int runCore(const std::string& traffic, const std::string& packets) {
  QElapsedTimer timer;
  timer.start();
  qv::TrafficLogState trafficLog;
  qv::readTrafficLog(trafficLog, traffic, {}, 0);
  report("traffic_read", timer);
  timer.restart();
  qv::SortState trafficSort;
  qv::clickTrafficHeader(trafficSort, trafficLog.shown, 5);
  report("traffic_sort", timer);

  timer.restart();
  qv::PacketLogState packetLog;
  qv::readPacketLog(packetLog, packets, {}, 0);
  report("packet_read", timer);
  timer.restart();
  qv::SortState packetSort;
  qv::clickPacketHeader(packetSort, packetLog.shown, 4);
  report("packet_sort", timer);
  std::printf("peak_kb %ld\n", peakResidentKilobytes());
  return 0;
}

// A window as users get it (reads on the worker thread), with throw-away
// settings and filter list; messages go to stderr.
qv::gui::MainWindowServices benchServices(qv::settings::MemorySettingsStore& store, const QTemporaryDir& folder) {
  qv::gui::MainWindowServices services;
  services.settings = &store;
  services.filterListPath = (folder.path() + "/filter.lst").toStdString();
  services.trayAvailable = [] { return false; };
  services.now = [] { return std::int64_t{0}; };
  services.readInBackground = true;
  services.showMessage = [](QWidget*, const QString&, const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  };
  return services;
}

int runWindow(const std::string& traffic, const std::string& packets) {
  QTemporaryDir folder;
  qv::settings::MemorySettingsStore store;
  const qv::gui::MainWindowServices services = benchServices(store, folder);
  qv::gui::MainWindow window(services, {});
  window.resize(1280, 900);
  window.start();
  QApplication::processEvents();

  struct Log {
    const char* name;
    int tab;
    std::string path;
    int sortColumn;
  };
  const Log logs[] = {{"traffic", qv::gui::MainWindow::kTrafficTab, traffic, 5},
                      {"packet", qv::gui::MainWindow::kPacketTab, packets, 4}};
  for (const Log& log : logs) {
    window.selectTab(log.tab);
    qv::gui::LogListView* view = log.tab == qv::gui::MainWindow::kTrafficTab ? window.trafficView() : window.packetView();
    QElapsedTimer timer;
    timer.start();
    window.readLogFile(log.path);
    // The window keeps painting while the worker reads.
    int paintsWhileReading = 0;
    while (window.isReading()) {
      QTest::qWait(20);
      repaint(view);
      ++paintsWhileReading;
    }
    repaint(view);
    report((std::string(log.name) + "_read_to_rows").c_str(), timer);
    std::printf("%s_paints_while_reading %d\n", log.name, paintsWhileReading);

    // What the view costs when a model is replaced, without any core work.
    timer.restart();
    if (log.tab == qv::gui::MainWindow::kTrafficTab) {
      window.trafficModel()->update([](qv::TrafficLogState&) {});
    } else {
      window.packetModel()->update([](qv::PacketLogState&) {});
    }
    repaint(view);
    report((std::string(log.name) + "_reset_to_repaint").c_str(), timer);

    timer.restart();
    emit view->horizontalHeader()->sectionClicked(log.sortColumn);
    repaint(view);
    report((std::string(log.name) + "_sort_to_repaint").c_str(), timer);

    timer.restart();
    view->scrollToBottom();
    repaint(view);
    view->scrollToTop();
    repaint(view);
    report((std::string(log.name) + "_scroll_end_and_back").c_str(), timer);
  }
  std::printf("peak_kb %ld\n", peakResidentKilobytes());
  return 0;
}

// The follow cycle against the core's read of the same file. The window has
// followed the log before (its previous digests are kept), has three events
// selected and is scrolled to the middle; then one event is appended.
int runFollow(const std::string& traffic) {
  QTemporaryDir folder;
  const std::string followed = (folder.path() + "/tralog.log").toStdString();
  qv::TrafficLogState original;
  qv::readTrafficLog(original, traffic, {}, 0);
  const qv::TrafficRows shownRows = original.shown.rows();
  std::vector<qv::TrafficRecord> rows(shownRows.begin(), shownRows.end());
  const auto write = [&followed](const std::vector<qv::TrafficRecord>& shown) {
    std::ofstream(followed, std::ios::binary | std::ios::trunc) << qv::trafficExportImage(shown);
  };
  write(rows);

  qv::settings::MemorySettingsStore store;
  const qv::gui::MainWindowServices services = benchServices(store, folder);
  qv::gui::MainWindow window(services, {});
  window.resize(1280, 900);
  window.start();
  window.readLogFile(followed);
  while (window.isReading()) QTest::qWait(20);
  qv::gui::LogListView* view = window.trafficView();
  const std::size_t middle = rows.size() / 2;
  view->selectRows(std::vector<std::size_t>{10, middle, rows.size() - 1}, middle);
  view->scrollTo(window.trafficModel()->index(static_cast<int>(middle), 0), QAbstractItemView::PositionAtTop);
  // The first place-keeping read after a plain read digests the old rows too.
  window.readNow();
  while (window.isRereading()) QTest::qWait(5);

  qv::TrafficRecord added = rows.front();
  added.remoteIp = qv::Text("203.0.113.77");
  rows.insert(rows.begin(), added);
  write(rows);

  // The core's read of the same file, its records freed before the cycle.
  QElapsedTimer timer;
  timer.start();
  {
    qv::TrafficLogState core;
    qv::readTrafficLog(core, followed, {}, 0);
    report("follow_core_read", timer);
  }

  timer.restart();
  window.readNow();
  int paintsWhileReading = 0;
  while (window.isRereading()) {
    QTest::qWait(20);
    view->viewport()->repaint();
    ++paintsWhileReading;
  }
  repaint(view);
  report("follow_cycle", timer);
  std::printf("follow_paints_while_reading %d\n", paintsWhileReading);
  std::printf("follow_selected_kept %zu\n", view->selectedRowNumbers().size());
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4 || (std::strcmp(argv[1], "core") != 0 && std::strcmp(argv[1], "window") != 0 &&
                    std::strcmp(argv[1], "follow") != 0)) {
    std::fprintf(stderr, "usage: gui_timing core|window|follow TRAFFIC_LOG PACKET_LOG\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (std::strcmp(argv[1], "core") == 0) return runCore(argv[2], argv[3]);
  if (std::strcmp(argv[1], "follow") == 0) return runFollow(argv[2]);
  return runWindow(argv[2], argv[3]);
}
