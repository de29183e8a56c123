// The View menu's "Timeline": a strip above each list that draws its shown
// events over time; a click or drag on it selects those events in the list.
#include <QAction>

#include "gui/app/main_window.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/timeline_strip.h"
#include "gui/views/traffic_table_model.h"
#include "settings/main_window_settings.h"
#include "views/timeline.h"
#include "views/view_commands.h"

namespace qv::gui {

void MainWindow::setTimelineShown(bool shown) {
  if (timelineAction_->isChecked() != shown) {
    timelineAction_->setChecked(shown);  // comes back here through toggled()
    return;
  }
  trafficTimeline_->setVisible(shown);
  packetTimeline_->setVisible(shown);
  if (shown) {
    redrawTimeline(kTrafficTab);
    redrawTimeline(kPacketTab);
  }
  if (shown != settings::timelineShown(*services_.settings)) settings::writeTimelineShown(*services_.settings, shown);
}

void MainWindow::redrawTimeline(int tab) {
  TimelineStrip* strip = timelineStrip(tab);
  // A hidden strip is drawn from scratch when it is shown.
  if (!timelineAction_ || !timelineAction_->isChecked()) return;
  if (tab == kTrafficTab) {
    strip->setPoints(timelinePointsOf(shownTrafficEvents(trafficModel_->log())));
  } else {
    strip->setPoints(timelinePointsOf(packetModel_->log().shown));
  }
}

void MainWindow::selectChosenRows(int tab, const std::vector<std::size_t>& rows) {
  if (rows.empty()) return;
  LogListView* view = tab == kTrafficTab ? trafficView_ : packetView_;
  view->selectRows(rows, rows.front());
  const QModelIndex first = view->model()->index(static_cast<int>(rows.front()), 0);
  view->scrollTo(first, QAbstractItemView::PositionAtTop);
  view->setFocus();
}

}  // namespace qv::gui
