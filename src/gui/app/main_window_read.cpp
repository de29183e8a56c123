#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "filter/criteria_validation.h"
#include "gui/app/main_window.h"
#include "gui/app/main_window_log_read.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/app/wait_cursor.h"
#include "gui/views/ansi_text.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "views/read_operation.h"
#include "views/view_commands.h"

namespace qv::gui {

MainWindow::~MainWindow() {
  // A read still running owns only its own copies; let it end before the
  // process does.
  for (const QPointer<QThread>& thread : readThreads_) {
    if (thread) thread->wait();
  }
}

void MainWindow::runRead(int tab, const std::string& path) {
  const FilterCriteria criteria = quickFilter_->criteria();
  // An invalid field stops everything before anything is read.
  if (const std::optional<std::string> message = validateCriteria(criteria)) {
    showMessage(decodeAnsi(*message));
    return;
  }
  const std::int64_t now = services_.now();
  auto read = std::make_shared<LogRead>();
  if (tab == kTrafficTab) read->filterList = filterList_;
  auto work = [read, tab, path, criteria, now] {
    if (tab == kTrafficTab) {
      read->result = readTrafficLog(read->traffic, path, criteria, now,
                                    countingExclusionFor(read->filterList, read->hitCounts));
    } else {
      read->result = readPacketLog(read->packet, path, criteria, now);
    }
  };
  const std::uint64_t generation = ++readGeneration_[static_cast<std::size_t>(tab)];
  if (!services_.readInBackground) {
    {
      WaitCursor wait;
      work();
    }
    finishRead(tab, generation, path, *read);
    return;
  }

  // A newer read of the same log replaces an older one still running.
  std::erase_if(activeReads_, [tab](const auto& active) { return active.first == tab; });
  activeReads_.emplace_back(tab, generation);
  QThread* thread = QThread::create(std::move(work));
  readThreads_.emplace_back(thread);
  connect(thread, &QThread::finished, this, [this, thread, tab, generation, path, read] {
    std::erase_if(readThreads_, [thread](const QPointer<QThread>& known) { return known == thread || !known; });
    thread->deleteLater();
    std::erase(activeReads_, std::make_pair(tab, generation));
    updateBusyState();
    finishRead(tab, generation, path, *read);
  });
  updateBusyState();
  thread->start();
}

void MainWindow::finishRead(int tab, std::uint64_t generation, const std::string& path, LogRead& read) {
  if (generation != readGeneration_[static_cast<std::size_t>(tab)]) return;  // cancelled or replaced
  if (tab == kTrafficTab) {
    trafficModel_->replaceLog(std::move(read.traffic));
    if (read.result.status == ReadStatus::kShown) hitCounts_ = std::move(read.hitCounts);
    trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
  } else {
    packetModel_->replaceLog(std::move(read.packet));
    packetCount_->setText(QString::fromStdString(packetModel_->log().countLine));
  }
  shownFile_[static_cast<std::size_t>(tab)] = fileNameOf(path);
  readPath_[static_cast<std::size_t>(tab)] = path;
  updateTitle();
  if (tab == currentTab() && isFollowing()) followCurrentTab();
  if (!read.result.message.empty()) showMessage(decodeAnsi(read.result.message));
}

void MainWindow::cancelReads() {
  for (const auto& [tab, generation] : activeReads_) ++readGeneration_[static_cast<std::size_t>(tab)];
  activeReads_.clear();
  updateBusyState();
}

void MainWindow::updateBusyState() {
  if (!busyDelay_) {
    busyDelay_ = new QTimer(this);
    busyDelay_->setSingleShot(true);
    busyDelay_->setInterval(500);
    connect(busyDelay_, &QTimer::timeout, this, [this] {
      readProgress_->setVisible(isReading());
      cancelReadButton_->setVisible(isReading());
    });
  }
  if (isReading()) {
    setCursor(Qt::BusyCursor);
    // Short reads finish before anything flickers.
    if (!readProgress_->isVisible() && !busyDelay_->isActive()) busyDelay_->start();
    return;
  }
  busyDelay_->stop();
  unsetCursor();
  readProgress_->setVisible(false);
  cancelReadButton_->setVisible(false);
}

}  // namespace qv::gui
