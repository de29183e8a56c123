// Following a log while the firewall writes it: the View menu's "Follow" and
// F5 read the selected tab's log again on a worker thread and keep the
// user's place (sort, selection, scroll position) by the events' contents.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "filter/criteria_validation.h"
#include "gui/app/log_follower.h"
#include "gui/app/main_window.h"
#include "gui/app/main_window_log_read.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/views/ansi_text.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "views/packet_sort.h"
#include "views/traffic_sort.h"
#include "views/view_commands.h"

namespace qv::gui {
namespace {

constexpr int kDefaultNewRowMarkMilliseconds = 4000;

}  // namespace

void MainWindow::buildViewMenu() {
  QMenu* view = menuBar()->addMenu(tr("&View"));
  followAction_ = view->addAction(tr("Fo&llow"));
  followAction_->setCheckable(true);
  connect(followAction_, &QAction::toggled, this, &MainWindow::setFollowing);
  readNowAction_ = view->addAction(tr("&Read Now"), this, &MainWindow::readNow);
  readNowAction_->setShortcut(QKeySequence(Qt::Key_F5));
  view->addSeparator();
  timelineAction_ = view->addAction(tr("&Timeline"));
  timelineAction_->setCheckable(true);
  connect(timelineAction_, &QAction::toggled, this, &MainWindow::setTimelineShown);

  follower_ = new LogFollower(this);
  connect(follower_, &LogFollower::reread, this, [this] { runPlaceKeepingRead(currentTab(), true); });
  connect(follower_, &LogFollower::paused, this, &MainWindow::showFollowStatus);
  connect(follower_, &LogFollower::resumed, this, [this] { showFollowStatus({}); });

  newRowMarkTimer_ = new QTimer(this);
  newRowMarkTimer_->setSingleShot(true);
  newRowMarkTimer_->setInterval(kDefaultNewRowMarkMilliseconds);
  connect(newRowMarkTimer_, &QTimer::timeout, this, [this] {
    trafficModel_->clearNewRowMarks();
    packetModel_->clearNewRowMarks();
  });

  // Any other change of the rows (read, filter run, analysis, sort) leaves
  // the digests of the last place-keeping read behind.
  connect(trafficModel_, &QAbstractItemModel::modelReset, this, [this] {
    digestsCurrent_[kTrafficTab] = false;
    ++rowsVersion_[kTrafficTab];
  });
  connect(packetModel_, &QAbstractItemModel::modelReset, this, [this] {
    digestsCurrent_[kPacketTab] = false;
    ++rowsVersion_[kPacketTab];
  });
}

void MainWindow::setNewRowMarkTime(int milliseconds) { newRowMarkTimer_->setInterval(milliseconds); }

bool MainWindow::isFollowing() const { return followAction_ && followAction_->isChecked(); }

void MainWindow::setFollowing(bool on) {
  if (followAction_->isChecked() != on) {
    followAction_->setChecked(on);  // comes back here through toggled()
    return;
  }
  if (!on) {
    follower_->stop();
    showFollowStatus({});
    return;
  }
  followCurrentTab();
  // What the list shows may be old: catch up at once.
  runPlaceKeepingRead(currentTab(), true);
}

std::string MainWindow::followedPath(int tab) const {
  const std::string& read = readPath_[static_cast<std::size_t>(tab)];
  return read.empty() ? logPath(tab) : read;
}

void MainWindow::followCurrentTab() {
  if (!followAction_->isChecked()) return;
  const QString path = QFile::decodeName(QByteArray::fromStdString(followedPath(currentTab())));
  if (follower_->isFollowing() && follower_->path() == path) return;
  showFollowStatus({});
  follower_->follow(path);
}

void MainWindow::showFollowStatus(const QString& text) {
  if (text.isEmpty()) {
    // No status bar is made just to stay empty.
    if (QStatusBar* bar = findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly)) {
      bar->clearMessage();
      bar->hide();
    }
    return;
  }
  statusBar()->show();
  statusBar()->showMessage(text);
}

void MainWindow::readNow() { runPlaceKeepingRead(currentTab(), false); }

void MainWindow::runPlaceKeepingRead(int tab, bool quiet) {
  const auto slot = static_cast<std::size_t>(tab);
  // A read the user started is on its way; it shows the file as it is now.
  if (std::any_of(activeReads_.begin(), activeReads_.end(), [tab](const auto& active) { return active.first == tab; })) {
    return;
  }
  if (placeKeepingRead_[slot] != 0) {
    readAgain_[slot] = true;
    return;
  }
  PlaceKeepingRead request;
  request.tab = tab;
  request.path = followedPath(tab);
  request.criteria = quickFilter_->criteria();
  request.sortedBy = tab == kTrafficTab ? trafficModel_->sortState() : packetModel_->sortState();
  request.quiet = quiet;
  request.place = placeIn(tab);
  request.rowsVersion = rowsVersion_[slot];
  if (digestsCurrent_[slot]) request.before = shownDigests_[slot];
  if (const std::optional<std::string> message = validateCriteria(request.criteria)) {
    if (quiet) {
      showFollowStatus(tr("Follow paused: %1").arg(decodeAnsi(*message)));
    } else {
      showMessage(decodeAnsi(*message));
    }
    return;
  }

  const std::int64_t now = services_.now();
  auto read = std::make_shared<LogRead>();
  if (tab == kTrafficTab) read->filterList = filterList_;
  // Reading, filtering, sorting and digesting a million events all happen
  // here, off the user-interface thread.
  auto work = [read, request, now] {
    const SortState& sort = request.sortedBy;
    if (request.tab == kTrafficTab) {
      read->result = readTrafficLog(read->traffic, request.path, request.criteria, now,
                                    countingExclusionFor(read->filterList, read->hitCounts));
      if (sort.isSorted() && !read->traffic.shown.isNoDataPlaceholder()) {
        sortTrafficRows(read->traffic.shown, sort.column(), sort.direction());
      }
      read->digests = eventDigests(shownTrafficEvents(read->traffic));
    } else {
      read->result = readPacketLog(read->packet, request.path, request.criteria, now);
      if (sort.isSorted() && !read->packet.shown.isNoDataPlaceholder()) {
        sortPacketRows(read->packet.shown, sort.column(), sort.direction());
      }
      read->digests = eventDigests(read->packet.shown);
    }
    if (request.before) read->kept = keepPlace(*request.before, request.place, read->digests);
  };
  const std::uint64_t generation = ++readGeneration_[slot];
  placeKeepingRead_[slot] = generation;
  if (!services_.readInBackground) {
    work();
    finishPlaceKeepingRead(request, generation, *read);
    return;
  }
  // No busy bar or Cancel button: these reads come by themselves and are
  // meant to go unnoticed.
  QThread* thread = QThread::create(std::move(work));
  readThreads_.emplace_back(thread);
  connect(thread, &QThread::finished, this, [this, thread, request, generation, read] {
    std::erase_if(readThreads_, [thread](const QPointer<QThread>& known) { return known == thread || !known; });
    thread->deleteLater();
    finishPlaceKeepingRead(request, generation, *read);
  });
  thread->start();
}

void MainWindow::finishPlaceKeepingRead(const PlaceKeepingRead& request, std::uint64_t generation, LogRead& read) {
  const int tab = request.tab;
  const auto slot = static_cast<std::size_t>(tab);
  if (placeKeepingRead_[slot] == generation) placeKeepingRead_[slot] = 0;
  const auto readAgainIfAsked = [this, tab, slot, &request] {
    if (!readAgain_[slot]) return;
    readAgain_[slot] = false;
    runPlaceKeepingRead(tab, request.quiet);
  };
  if (generation != readGeneration_[slot]) {  // a read the user started replaced it
    readAgain_[slot] = false;
    return;
  }
  const ReadStatus status = read.result.status;
  if (status != ReadStatus::kShown && status != ReadStatus::kNoRecords) {
    // The list keeps what it shows: a ring being rewritten or a file that
    // went away is no reason to lose the user's place.
    const QString message = decodeAnsi(read.result.message);
    if (request.quiet) {
      showFollowStatus(tr("Follow paused: %1").arg(message));
    } else {
      showMessage(message);
    }
    readAgainIfAsked();
    return;
  }
  // The user filtered or sorted differently while the worker read: these
  // rows are not what the list should show; read once more as it is now.
  const SortState sortedBy = tab == kTrafficTab ? trafficModel_->sortState() : packetModel_->sortState();
  const bool sortedAlike = sortedBy.column() == request.sortedBy.column() &&
                           (!sortedBy.isSorted() || sortedBy.direction() == request.sortedBy.direction());
  if (!sortedAlike || request.criteria != quickFilter_->criteria()) {
    readAgain_[slot] = true;
    readAgainIfAsked();
    return;
  }

  if (!digestsCurrent_[slot] || !shownDigests_[slot]) {
    shownDigests_[slot] = std::make_shared<const std::vector<std::uint64_t>>(
        tab == kTrafficTab ? eventDigests(shownTrafficEvents(trafficModel_->log()))
                           : eventDigests(packetModel_->log().shown));
    digestsCurrent_[slot] = true;
  }
  const std::vector<std::uint64_t>& before = *shownDigests_[slot];
  const ListPlace place = placeIn(tab);
  const bool wasAtTop = place.topRow.value_or(0) == 0;
  const int horizontal = (tab == kTrafficTab ? trafficView_ : packetView_)->horizontalScrollBar()->value();
  // The worker's answer holds unless the rows or the user's place changed meanwhile.
  const bool placeAsStarted = place.selectedRows == request.place.selectedRows &&
                              place.topRow == request.place.topRow && place.currentRow == request.place.currentRow;
  KeptPlace kept = read.kept && request.rowsVersion == rowsVersion_[slot] && placeAsStarted
                       ? std::move(*read.kept)
                       : keepPlace(before, place, read.digests);
  // Before the first events everything would be new; that marks nothing.
  const bool markNew = !before.empty();
  const bool freshRows = markNew && !kept.newRows.empty();
  // Rows marked by an earlier re-read stay marked until their time is up.
  const std::vector<std::size_t>& marked =
      tab == kTrafficTab ? trafficModel_->rowsMarkedNew() : packetModel_->rowsMarkedNew();
  if (!marked.empty()) {
    std::unordered_set<std::uint64_t> stillNew;
    for (const std::size_t row : marked) {
      if (row < before.size()) stillNew.insert(before[row]);
    }
    for (std::size_t row = 0; row < read.digests.size(); ++row) {
      if (stillNew.contains(read.digests[row])) kept.newRows.push_back(row);
    }
    std::sort(kept.newRows.begin(), kept.newRows.end());
    kept.newRows.erase(std::unique(kept.newRows.begin(), kept.newRows.end()), kept.newRows.end());
  }

  // The rows replaced are freed on a pool thread: a million records take
  // a while to free.
  const auto freeLater = [](auto old) {
    QThreadPool::globalInstance()->start([held = std::make_shared<decltype(old)>(std::move(old))]() mutable { held.reset(); });
  };
  if (tab == kTrafficTab) {
    freeLater(trafficModel_->replaceLog(std::move(read.traffic), sortedBy));
    if (status == ReadStatus::kShown) hitCounts_ = std::move(read.hitCounts);
    trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
  } else {
    keepingViewerOpen_ = true;
    freeLater(packetModel_->replaceLog(std::move(read.packet), sortedBy));
    keepingViewerOpen_ = false;
    packetCount_->setText(QString::fromStdString(packetModel_->log().countLine));
  }
  shownDigests_[slot] = std::make_shared<const std::vector<std::uint64_t>>(std::move(read.digests));
  digestsCurrent_[slot] = true;
  shownFile_[slot] = fileNameOf(request.path);
  readPath_[slot] = request.path;
  updateTitle();
  restorePlace(tab, kept, wasAtTop, horizontal);
  if (markNew && !kept.newRows.empty()) {
    if (tab == kTrafficTab) {
      trafficModel_->markNewRows(kept.newRows);
    } else {
      packetModel_->markNewRows(kept.newRows);
    }
    if (freshRows) newRowMarkTimer_->start();
  }
  // A pause the last failed read reported is over; one the follower reports
  // (the file is gone) stays until the file is back.
  if (!follower_->isPaused()) showFollowStatus({});
  readAgainIfAsked();
}

ListPlace MainWindow::placeIn(int tab) const {
  ListPlace place;
  const bool placeholder = tab == kTrafficTab ? trafficModel_->log().shown.isNoDataPlaceholder()
                                              : packetModel_->log().shown.isNoDataPlaceholder();
  if (placeholder) return place;
  const std::vector<int> selected = selectedEventRows(tab);
  place.selectedRows.assign(selected.begin(), selected.end());
  const LogListView* view = tab == kTrafficTab ? trafficView_ : packetView_;
  if (const int top = view->rowAt(0); top >= 0) place.topRow = static_cast<std::size_t>(top);
  if (const QModelIndex current = view->currentIndex(); current.isValid()) {
    place.currentRow = static_cast<std::size_t>(current.row());
  }
  return place;
}

void MainWindow::restorePlace(int tab, const KeptPlace& kept, bool wasAtTop, int horizontal) {
  LogListView* view = tab == kTrafficTab ? trafficView_ : packetView_;
  QAbstractItemModel* model = view->model();
  view->selectRows(kept.selectedRows, kept.currentRow);
  // A user at the top of the list watches the newest events come in; anyone
  // else keeps the event they looked at.
  if (wasAtTop) {
    view->scrollToTop();
  } else if (kept.topRow) {
    view->scrollTo(model->index(static_cast<int>(*kept.topRow), 0), QAbstractItemView::PositionAtTop);
  }
  view->horizontalScrollBar()->setValue(horizontal);
}

}  // namespace qv::gui
