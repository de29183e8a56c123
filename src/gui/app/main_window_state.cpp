#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

#include "filter/filter_list_file.h"
#include "gui/app/main_window.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/viewer/packet_viewer_slot.h"
#include "gui/views/stored_font.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "settings/main_window_settings.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"

namespace qv::gui {
namespace {

// A stored 0x00BBGGRR colour; a value with a non-zero top byte stands for
// the palette's own colour.
std::optional<QColor> storedColor(std::uint32_t value) {
  if ((value >> 24) != 0) return std::nullopt;
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

ListViewStyle listStyle(bool gridlines, bool hotTracking, std::uint32_t background, std::uint32_t text) {
  if (settings::usesDesktopColors(background, text)) return {gridlines, hotTracking, std::nullopt, std::nullopt};
  return {gridlines, hotTracking, storedColor(background), storedColor(text)};
}

template <std::size_t kCount>
void restoreColumns(LogListView* view, const std::array<std::optional<std::int32_t>, kCount>& widths,
                    const std::optional<std::array<std::int32_t, kCount>>& order) {
  for (std::size_t column = 0; column < kCount; ++column) {
    if (widths[column]) view->setColumnWidth(static_cast<int>(column), *widths[column]);
  }
  if (order) view->setColumnOrder(std::vector<int>(order->begin(), order->end()));
}

template <std::size_t kCount>
void copyColumns(const std::vector<int>& values, std::array<std::int32_t, kCount>& out) {
  for (std::size_t i = 0; i < kCount && i < values.size(); ++i) out[i] = values[i];
}

}  // namespace

void MainWindow::restoreSettings() {
  FilterCriteria criteria;
  const std::optional<settings::MainWindowStoredState> stored = settings::readMainWindowSettings(*services_.settings);
  if (!stored) {
    // The first run: every box checked, the window maximized.
    maximized_ = true;
    quickFilter_->setCriteria(criteria);
    return;
  }
  const auto text = [](const std::optional<std::string>& value, std::string& field) {
    if (value) field = *value;
  };
  text(stored->time, criteria.time);
  text(stored->remoteIp, criteria.remoteIp);
  text(stored->remotePort, criteria.remotePort);
  text(stored->localIp, criteria.localIp);
  text(stored->localPort, criteria.localPort);
  text(stored->appName, criteria.applicationName);
  text(stored->ruleName, criteria.ruleName);
  if (stored->checks) {
    const settings::QuickFilterChecks& checks = *stored->checks;
    criteria.allow = checks.allow;
    criteria.block = checks.block;
    criteria.in = checks.incoming;
    criteria.out = checks.outgoing;
    criteria.tcp = checks.tcp;
    criteria.udp = checks.udp;
    criteria.icmp = checks.icmp;
  }
  quickFilter_->setCriteria(criteria);

  restoreColumns(trafficView_, stored->trafficColumnWidths, stored->trafficColumnOrder);
  restoreColumns(packetView_, stored->packetColumnWidths, stored->packetColumnOrder);

  if (stored->fontFace) {
    trafficView_->setViewFont(fontFromDescription(*stored->fontFace, trafficView_->font()));
    packetView_->setViewFont(trafficView_->font());
  }
  if (stored->fontSize) {
    trafficView_->setFontHeight(*stored->fontSize);
    packetView_->setFontHeight(*stored->fontSize);
  }
  if (stored->windowRect && stored->windowRect->width() > 0 && stored->windowRect->height() > 0) {
    const settings::WindowRect& rect = *stored->windowRect;
    normalGeometry_ = QRect(rect.left, rect.top, rect.width(), rect.height());
    setGeometry(normalGeometry_);
  }
  maximized_ = stored->maximized.value_or(false);
  startMinimized_ = stored->startMinimized.value_or(false);
  if (stored->viewStyle) {
    const settings::ViewStyle& style = *stored->viewStyle;
    viewOptions_.style = style;
    trafficModel_->setIconFlags({style.appNameIcons, style.protocolIcons, style.ruleNameIcons});
    packetModel_->setIconFlags({style.appNameIcons, style.protocolIcons, false});
  }
  if (const std::optional<settings::ListAppearance> appearance = settings::startupListAppearance(*stored)) {
    viewOptions_.style.gridlines = appearance->gridlines;
    viewOptions_.style.hotTracking = appearance->hotTracking;
    viewOptions_.backgroundColor = appearance->backgroundColor;
    viewOptions_.textColor = appearance->textColor;
    const ListViewStyle style =
        listStyle(appearance->gridlines, appearance->hotTracking, appearance->backgroundColor, appearance->textColor);
    trafficView_->applyStyle(style);
    packetView_->applyStyle(style);
  }
}

void MainWindow::applyViewOptions(const settings::ViewOptions& options) {
  viewOptions_ = options;
  const settings::ViewStyle& style = options.style;
  trafficModel_->setIconFlags({style.appNameIcons, style.protocolIcons, style.ruleNameIcons});
  packetModel_->setIconFlags({style.appNameIcons, style.protocolIcons, false});
  const ListViewStyle viewStyle =
      listStyle(style.gridlines, style.hotTracking, options.backgroundColor, options.textColor);
  for (LogListView* view : {trafficView_, packetView_}) {
    view->applyStyle(viewStyle);
    view->viewport()->update();
  }
}

void MainWindow::start() {
  if (maximized_) {
    showMaximized();
  } else {
    show();
  }
  initialised_ = true;
  if (startMinimized_) QTimer::singleShot(10, this, &MainWindow::goToTray);
  if (!arguments_.files.empty()) {
    const std::vector<std::string> files = std::move(arguments_.files);
    arguments_.files.clear();
    openLogFiles(files);
  }
}

void MainWindow::storeSettings() {
  if (settingsStored_) return;
  settingsStored_ = true;
  // The packet viewer stores its own placement as it closes.
  viewerSlot_->close();

  settings::MainWindowClosingState state;
  const FilterCriteria criteria = quickFilter_->criteria();
  state.checks = {criteria.allow, criteria.block, criteria.in, criteria.out, criteria.tcp, criteria.udp, criteria.icmp};
  copyColumns(trafficView_->columnWidths(), state.trafficColumnWidths);
  copyColumns(packetView_->columnWidths(), state.packetColumnWidths);
  copyColumns(trafficView_->columnOrder(), state.trafficColumnOrder);
  copyColumns(packetView_->columnOrder(), state.packetColumnOrder);
  state.fontSize = currentView()->fontHeight();
  // A window that was never shown normal stores the placement Qt keeps for it.
  QRect normal = normalGeometry_.isValid() ? normalGeometry_ : normalGeometry();
  if (!normal.isValid()) normal = geometry();
  state.normalRect = {normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
  state.maximized = maximized_;
  state.texts = {criteria.time,     criteria.remoteIp,        criteria.remotePort, criteria.localIp,
                 criteria.localPort, criteria.applicationName, criteria.ruleName};
  settings::writeMainWindowSettings(*services_.settings, state);

  // The folder may not exist yet when the settings could not be written.
  const QString listPath = QFile::decodeName(QByteArray::fromStdString(services_.filterListPath));
  QDir().mkpath(QFileInfo(listPath).absolutePath());
  storeFilterListFile(filterList_, services_.filterListPath);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  storeSettings();
  trayIcon_->hide();
  event->accept();
  emit exitRequested();
}

void MainWindow::exitProgram() {
  trayIcon_->hide();
  inTray_ = false;
  close();
}

void MainWindow::clearBothViews() {
  trafficModel_->update([](TrafficLogState& log) { clearTrafficLog(log); });
  packetModel_->update([](PacketLogState& log) { clearPacketLog(log); });
  trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
  packetCount_->setText(QString::fromStdString(packetModel_->log().countLine));
}

void MainWindow::goToTray() {
  // Without a tray the icon could never bring the window back: it stays a
  // normal minimized window instead.
  if (!services_.trayAvailable || !services_.trayAvailable()) {
    showMinimized();
    return;
  }
  inTray_ = true;
  trayIcon_->show();
  hide();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !initialised_) return;
  if (windowState() & Qt::WindowMinimized) {
    if (inTray_ || !services_.trayAvailable || !services_.trayAvailable()) return;
    if (settings::clearDataOnMinimize(*services_.settings)) clearBothViews();
    inTray_ = true;
    trayIcon_->show();
    // Hidden once the minimize has finished.
    QTimer::singleShot(0, this, [this] {
      if (inTray_) hide();
    });
    return;
  }
  inTray_ = false;
  maximized_ = (windowState() & Qt::WindowMaximized) != 0;
  if (!maximized_) recordNormalGeometry();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  recordNormalGeometry();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  recordNormalGeometry();
}

void MainWindow::recordNormalGeometry() {
  if (!initialised_ || maximized_ || inTray_ || !isVisible()) return;
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  const QRect rect = geometry();
  if (rect.left() == 0 || rect.top() == 0 || rect.width() < minimumWidth() || rect.height() < minimumHeight()) return;
  normalGeometry_ = rect;
}

void MainWindow::openFromTray() {
  inTray_ = false;
  trayIcon_->hide();
  if (maximized_) {
    showMaximized();
  } else {
    showNormal();
  }
  raise();
  activateWindow();
  quickFilter_->readButton()->setFocus();
}

void MainWindow::openTabFromTray(int tab) {
  openFromTray();
  selectTab(tab);
  readCurrentLog();
}

}  // namespace qv::gui
