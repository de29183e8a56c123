// The commands of the main window that open windows of their own: Options,
// Filter List, Statistics, the port reports, About, whois and the packet
// viewer with its search.
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>

#include "gui/app/about_box.h"
#include "gui/app/main_window.h"
#include "gui/filter/filter_list_dialog.h"
#include "gui/filter/filter_list_saving.h"
#include "gui/settings/options_dialog.h"
#include "gui/viewer/packet_viewer_slot.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/statistics_dialog.h"
#include "gui/views/traffic_table_model.h"
#include "gui/whois/whois_dialog.h"
#include "platform/autostart.h"
#include "settings/whois_settings.h"
#include "views/view_commands.h"

namespace qv::gui {

void MainWindow::wireCommands() {
  connect(optionsAction_, &QAction::triggered, this, &MainWindow::openOptions);
  connect(filterListAction_, &QAction::triggered, this, &MainWindow::openFilterList);
  connect(statisticsAction_, &QAction::triggered, this, &MainWindow::showStatistics);
  connect(portReportAction_, &QAction::triggered, this, &MainWindow::searchPortReport);
  connect(aboutAction_, &QAction::triggered, this, [this] { showAboutBox(this); });
  connect(whoisAction_, &QAction::triggered, this, &MainWindow::showWhois);
  connect(openPacketViewerAction_, &QAction::triggered, this, &MainWindow::openPacketViewer);
  connect(searchInPacketsAction_, &QAction::triggered, this, &MainWindow::searchInPackets);

  viewerSlot_ = new PacketViewerSlot(packetView_, *services_.settings, services_.chooseFile);
  // The viewer shows rows of the list as they were: any refresh (read,
  // filter, sort, clear) closes it before the rows change.
  // A re-read of a followed log is the exception: the viewer holds copies
  // that keep the old buffer alive, and a window that closes by itself every
  // second would be of no use.
  connect(packetModel_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    if (!keepingViewerOpen_) viewerSlot_->close();
  });

  for (QAction* command : {filterListAction_, statisticsAction_, optionsAction_, aboutAction_, openPacketViewerAction_,
                           searchInPacketsAction_, whoisAction_, portReportAction_}) {
    setCommandAvailable(command, true);
  }
#ifndef QV_HAVE_CAPTURE
  // Built without libpcap: there is no capture writer to save through.
  setCommandAvailable(saveCaptureAction_, false);
#endif
}

void MainWindow::openOptions() {
  OptionsDialog dialog(*services_.settings, viewOptions_, services_.chooseFile, &platform::updateStartupEntry, this);
  if (dialog.exec() == QDialog::Accepted) applyViewOptions(dialog.viewOptions());
}

void MainWindow::openFilterList() {
  FilterListDialog dialog(filterList_, hitCounts_.countsFor(filterList_), this);
  if (dialog.exec() != QDialog::Accepted) return;
  hitCounts_ = FilterHitCounts(filterList_.entries(), dialog.hitCounts());
  storeFilterListNow(this, filterList_, services_.filterListPath);
}

void MainWindow::showStatistics() {
  StatisticsDialog dialog(shownTrafficEvents(trafficModel_->log()), this);
  dialog.exec();
}

void MainWindow::searchPortReport() {
  showPortReport(this, selectedTrafficEvent(), services_.openUrl ? services_.openUrl : standardUrlOpener());
}

void MainWindow::showWhois() {
  const int tab = currentTab();
  const std::vector<int> rows = selectedEventRows(tab);
  std::string query;
  if (!rows.empty()) {
    const auto row = static_cast<std::size_t>(rows.front());
    query = tab == kTrafficTab ? trafficModel_->log().shown[row].remoteIp.str()
                               : packetModel_->log().shown[row].remoteIp.str();
  }
  WhoisDialog dialog(std::move(query), settings::readWhoisServers(*services_.settings), this);
  dialog.exec();
}

void MainWindow::openPacketViewer() {
  const std::vector<int> rows = selectedEventRows(kPacketTab);
  const std::vector<RowIndex> selected(rows.begin(), rows.end());
  viewerSlot_->openOnSelection(packetModel_->log().shown, selected);
}

void MainWindow::searchInPackets() {
  const std::vector<int> rows = selectedEventRows(kPacketTab);
  std::optional<RowIndex> from;
  if (!rows.empty()) from = static_cast<RowIndex>(rows.front());
  const std::optional<RowIndex> found = viewerSlot_->searchInPackets(packetModel_->log().shown, from, lastSearch_);
  if (!found) return;
  // The found row joins the selection and becomes the current one.
  packetView_->setFocus();
  const QModelIndex index = packetModel_->index(static_cast<int>(*found), 0);
  packetView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  packetView_->scrollTo(index);
}

}  // namespace qv::gui
