#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "gui/app/main_window.h"
#include "logdata/log_export.h"
#include "logdata/traffic_record.h"
#include "settings/memory_settings_store.h"

// Readable QString values in failure messages.
#ifndef QV_GUI_TEST_PRINTS_QSTRING
#define QV_GUI_TEST_PRINTS_QSTRING
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
#endif

namespace qv::gui::test {

// A main window over settings in memory, a filter list in a temporary
// folder, a file chooser that answers what the test says, a tray that is
// there or not, and messages collected instead of shown.
class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowServices services() {
    MainWindowServices services;
    services.settings = &store;
    services.filterListPath = path("filter.lst");
    services.chooseFile = [this](QWidget*, const FileDialogRequest& request) {
      ++chooserCalls;
      lastRequest = request;
      return chosenPath;
    };
    services.trayAvailable = [this] { return trayAvailable; };
    services.readInBackground = readInBackground;
    services.now = [] { return std::int64_t{1700000000}; };
    services.showMessage = [this](QWidget*, const QString& title, const QString& text) {
      messageTitles.push_back(title);
      messages.push_back(text);
    };
    return services;
  }

  std::unique_ptr<MainWindow> startWindow(StartupArguments arguments = {}) {
    auto window = std::make_unique<MainWindow>(services(), std::move(arguments));
    window->start();
    QApplication::processEvents();
    return window;
  }

  std::string path(const char* name) const { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }

  std::string writeTrafficLog(const char* name, const std::vector<TrafficRecord>& shownOrder) {
    return writeFile(name, trafficExportImage(shownOrder));
  }

  std::string writeFile(const char* name, const std::string& bytes) {
    const std::string file = path(name);
    QFile out(QString::fromStdString(file));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file;
  }

  static TrafficRecord event(const char* time, const char* remoteIp, std::uint16_t remotePort,
                             std::uint8_t flags = RecordFlag::kTcp | RecordFlag::kIncoming | RecordFlag::kBlocked) {
    TrafficRecord record;
    record.time = time;
    record.beginTime = time;
    record.endTime = time;
    record.remoteIp = remoteIp;
    record.localIp = "192.168.0.2";
    record.remotePort = remotePort;
    record.localPort = 80;
    record.occurrences = 1;
    record.ruleName = "Block_all";
    record.applicationName = "C:\\app.exe";
    record.flags = flags;
    return record;
  }

  settings::MemorySettingsStore store;
  QTemporaryDir dir;
  std::optional<std::string> chosenPath;
  int chooserCalls = 0;
  FileDialogRequest lastRequest;
  bool trayAvailable = true;
  bool readInBackground = false;
  std::vector<QString> messages;
  std::vector<QString> messageTitles;
};

}  // namespace qv::gui::test
