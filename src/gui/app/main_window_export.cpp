// Saving shown events for other programs: "Save as CSV..." from either list
// and "Save as Capture..." from the packet list. Both save the selected
// events, or every shown event when none is selected.
#include <QAction>

#include <algorithm>

#include "gui/app/main_window.h"
#include "gui/app/wait_cursor.h"
#include "gui/views/ansi_text.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "logdata/log_export.h"
#include "views/csv_save.h"
#include "views/view_commands.h"
#ifdef QV_HAVE_CAPTURE
#include "capture/capture_export.h"
#endif

namespace qv::gui {
namespace {

QString nothingToSaveText() {
  return QString::fromLatin1(kExportNothingSelected.data(), static_cast<qsizetype>(kExportNothingSelected.size()));
}

}  // namespace

void MainWindow::saveSelectionAsCsv() {
  const int tab = currentTab();
  const std::vector<int> rows = selectedEventRows(tab);
  const bool anyShown = tab == kTrafficTab ? !shownTrafficEvents(trafficModel_->log()).empty()
                                           : !packetModel_->log().shown.isNoDataPlaceholder() &&
                                                 !packetModel_->log().shown.empty();
  if (rows.empty() && !anyShown) {
    showMessage(nothingToSaveText());
    return;
  }
  if (!services_.chooseFile) return;
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kSave;
  request.filter = QStringLiteral("CSV Files|*.csv|All Files|*.*||");
  request.defaultExtension = QStringLiteral("csv");
  const std::optional<std::string> path = services_.chooseFile(this, request);
  if (!path) return;
  ExportResult result;
  {
    WaitCursor wait;
    if (tab == kTrafficTab) {
      const TrafficLogState& log = trafficModel_->log();
      std::vector<RecordIndex> selected;
      selected.reserve(rows.size());
      for (const int row : rows) selected.push_back(log.shown.order()[static_cast<std::size_t>(row)]);
      result = saveTrafficCsv(TrafficRows(*log.shown.records(), selected), shownTrafficEvents(log), *path);
    } else {
      const PacketLogState& log = packetModel_->log();
      std::vector<PacketRecord> selected;
      selected.reserve(rows.size());
      for (const int row : rows) selected.push_back(log.shown[static_cast<std::size_t>(row)]);
      // Every shown event is copied only when it is what gets saved.
      const std::vector<PacketRecord> shown = rows.empty() ? shownPacketEvents(log) : std::vector<PacketRecord>{};
      result = savePacketCsv(selected, shown, *path);
    }
  }
  if (!result.written()) showMessage(decodeAnsi(result.message));
}

void MainWindow::saveSelectionAsCapture() {
#ifdef QV_HAVE_CAPTURE
  const PacketShownList& shown = packetModel_->log().shown;
  // The order `qvlog export-pcap` writes: the firewall's own (oldest first)
  // unless a header click sorted the list.
  std::vector<RowIndex> order = captureRowOrder(shown, packetModel_->sortState().isSorted());
  const std::vector<int> selected = selectedEventRows(kPacketTab);
  if (!selected.empty()) {
    std::vector<bool> chosen(shown.size(), false);
    for (const int row : selected) chosen[static_cast<std::size_t>(row)] = true;
    std::erase_if(order, [&chosen](RowIndex row) { return !chosen[row]; });
  }
  if (order.empty()) {
    showMessage(nothingToSaveText());
    return;
  }
  if (!services_.chooseFile) return;
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kSave;
  request.filter = QStringLiteral("Capture Files|*.pcap|All Files|*.*||");
  request.defaultExtension = QStringLiteral("pcap");
  const std::optional<std::string> path = services_.chooseFile(this, request);
  if (!path) return;
  CaptureExport exported;
  {
    WaitCursor wait;
    const PacketSequence packets{order.size(),
                                 [&shown, &order](std::size_t i) -> const PacketRecord& { return shown[order[i]]; }};
    exported = exportCaptureFile(packets, *path);
  }
  if (!exported.ok) showMessage(decodeAnsi(exported.message));
#endif
}

}  // namespace qv::gui
