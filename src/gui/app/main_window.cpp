#include "gui/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "filter/criteria_validation.h"
#include "filter/filter_list_file.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/app/wait_cursor.h"
#include "gui/views/ansi_text.h"
#include "gui/views/stored_font.h"
#include "gui/views/timeline_strip.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "logdata/log_export.h"
#include "logdata/log_header.h"
#include "platform/config_location.h"
#include "platform/local_time.h"
#include "settings/log_paths.h"
#include "settings/main_window_settings.h"
#include "settings/settings_store.h"
#include "views/event_text.h"
#include "views/packet_columns.h"
#include "views/read_operation.h"
#include "views/traffic_columns.h"
#include "views/view_commands.h"

namespace qv::gui {
namespace {

const QString kTitle = QStringLiteral("Quorvex Log Viewer");
const QString kLogFileFilter = QStringLiteral("Log Files|*.log|Text Files|*.txt|All Files|*.*||");

// The tab a log file belongs to by its header tag; empty when it names neither.
std::optional<int> tabOfLogFile(const std::string& path) {
  QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray tag = file.read(8);
  if (tag == QByteArray::fromRawData(kTrafficLogTag.data(), 8)) return MainWindow::kTrafficTab;
  if (tag == QByteArray::fromRawData(kPacketLogTag.data(), 8)) return MainWindow::kPacketTab;
  return std::nullopt;
}

}  // namespace

QString MainWindow::fileNameOf(const std::string& path) {
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

MainWindowServices MainWindowServices::standard(settings::SettingsStore& store) {
  MainWindowServices services;
  services.settings = &store;
  services.filterListPath = platform::filterListPath();
  services.chooseFile = CFileDialogEx::standard();
  services.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
  services.now = [] { return platform::currentUnixSeconds(); };
  services.readInBackground = true;
  services.showMessage = [](QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, owner);
    box.exec();
  };
  services.openUrl = standardUrlOpener();
  return services;
}

StartupArguments parseStartupArguments(const QStringList& argumentsAfterProgram) {
  StartupArguments arguments;
  for (const QString& argument : argumentsAfterProgram) {
    if (argument == QLatin1String("-minimize")) {
      arguments.minimize = true;
    } else {
      arguments.files.push_back(QFile::encodeName(argument).toStdString());
    }
  }
  return arguments;
}

MainWindow::MainWindow(MainWindowServices services, StartupArguments arguments, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), arguments_(std::move(arguments)) {
  setWindowTitle(kTitle);
  setWindowIcon(QIcon(QStringLiteral(":/app/icons/qvlogview.svg")));
  setMinimumSize(790, 230);
  resize(790, 460);
  buildWidgets();
  buildMenus();
  buildContextMenus();
  buildTray();
  wireCommands();
  restoreSettings();
  setTimelineShown(settings::timelineShown(*services_.settings));
  if (arguments_.minimize) startMinimized_ = true;
  filterList_ = loadFilterListFile(services_.filterListPath).list;
  applyTabLayout();
}


void MainWindow::buildWidgets() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 4, 6, 2);
  layout->setSpacing(6);

  quickFilter_ = new QuickFilterPanel(central);
  connect(quickFilter_, &QuickFilterPanel::readRequested, this, &MainWindow::readCurrentLog);
  connect(quickFilter_, &QuickFilterPanel::filterRequested, this, &MainWindow::filterCurrentLog);
  layout->addWidget(quickFilter_);

  trafficModel_ = new TrafficTableModel(this);
  packetModel_ = new PacketTableModel(this);
  auto* tabs = new QTabWidget(central);
  tabs->setObjectName(QStringLiteral("logTabs"));
  tabs->setDocumentMode(true);
  trafficView_ = new LogListView(tabs);
  trafficView_->setObjectName(QStringLiteral("trafficView"));
  trafficView_->setModel(trafficModel_);
  trafficView_->setUpColumns(kTrafficColumnLayout);
  packetView_ = new LogListView(tabs);
  packetView_->setObjectName(QStringLiteral("packetView"));
  packetView_->setModel(packetModel_);
  packetView_->setUpColumns(kPacketColumnLayout);
  // Each tab: its timeline strip (hidden until View > Timeline) above its list.
  const auto page = [tabs](TimelineStrip*& strip, LogListView* view, const char* name) {
    auto* widget = new QWidget(tabs);
    auto* column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    strip = new TimelineStrip(widget);
    strip->setObjectName(QLatin1String(name));
    strip->setVisible(false);
    column->addWidget(strip);
    view->setParent(widget);
    column->addWidget(view, 1);
    return widget;
  };
  tabs->addTab(page(trafficTimeline_, trafficView_, "trafficTimeline"), tr("Traffic Log"));
  tabs->addTab(page(packetTimeline_, packetView_, "packetTimeline"), tr("Packet Log"));
  tabs_ = tabs->tabBar();
  connect(tabs, &QTabWidget::currentChanged, this, [this] {
    applyTabLayout();
    if (isFollowing()) setFollowing(true);  // the new tab's file, brought up to date
  });
  connect(trafficModel_, &QAbstractItemModel::modelReset, this, [this] { redrawTimeline(kTrafficTab); });
  connect(packetModel_, &QAbstractItemModel::modelReset, this, [this] { redrawTimeline(kPacketTab); });
  connect(trafficTimeline_, &TimelineStrip::rowsChosen, this,
          [this](const std::vector<std::size_t>& rows) { selectChosenRows(kTrafficTab, rows); });
  connect(packetTimeline_, &TimelineStrip::rowsChosen, this,
          [this](const std::vector<std::size_t>& rows) { selectChosenRows(kPacketTab, rows); });
  layout->addWidget(tabs, 1);

  for (LogListView* view : {trafficView_, packetView_}) {
    connect(view, &LogListView::fileDropped, this,
            [this](const QString& path) { readLogFile(QFile::encodeName(path).toStdString()); });
  }
  connect(trafficView_, &LogListView::headerClicked, this, [this](int column) {
    WaitCursor wait;
    trafficModel_->clickHeader(column);
  });
  connect(packetView_, &LogListView::headerClicked, this, [this](int column) {
    WaitCursor wait;
    packetModel_->clickHeader(column);
  });

  trafficCount_ = new QLabel(central);
  trafficCount_->setObjectName(QStringLiteral("trafficCountLine"));
  packetCount_ = new QLabel(central);
  packetCount_->setObjectName(QStringLiteral("packetCountLine"));
  auto* counts = new QHBoxLayout;
  counts->setContentsMargins(4, 0, 4, 0);
  counts->addWidget(trafficCount_);
  counts->addWidget(packetCount_);
  counts->addStretch();
  readProgress_ = new QProgressBar(central);
  readProgress_->setObjectName(QStringLiteral("readProgress"));
  readProgress_->setRange(0, 0);
  readProgress_->setMaximumHeight(trafficCount_->sizeHint().height());
  readProgress_->setMaximumWidth(fontMetrics().averageCharWidth() * 30);
  readProgress_->setVisible(false);
  cancelReadButton_ = new QPushButton(tr("Cancel"), central);
  cancelReadButton_->setObjectName(QStringLiteral("cancelRead"));
  cancelReadButton_->setAutoDefault(false);
  cancelReadButton_->setVisible(false);
  connect(cancelReadButton_, &QPushButton::clicked, this, &MainWindow::cancelReads);
  counts->addWidget(readProgress_);
  counts->addWidget(cancelReadButton_);
  layout->addLayout(counts);
  trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
  packetCount_->setText(QString::fromStdString(packetModel_->log().countLine));

  setCentralWidget(central);
}

int MainWindow::currentTab() const { return tabs_->currentIndex() == kPacketTab ? kPacketTab : kTrafficTab; }

void MainWindow::selectTab(int tab) { tabs_->setCurrentIndex(tab == kPacketTab ? kPacketTab : kTrafficTab); }

LogListView* MainWindow::currentView() const { return currentTab() == kPacketTab ? packetView_ : trafficView_; }

QString MainWindow::countLineText(int tab) const {
  return (tab == kPacketTab ? packetCount_ : trafficCount_)->text();
}

void MainWindow::showMessage(const QString& text) {
  if (services_.showMessage) services_.showMessage(this, kTitle, text);
}

std::string MainWindow::logPath(int tab) const {
  if (pathOverride_[static_cast<std::size_t>(tab)]) return *pathOverride_[static_cast<std::size_t>(tab)];
  const settings::LogPaths paths = settings::logPathsForReading(*services_.settings);
  return tab == kPacketTab ? paths.packetLog : paths.trafficLog;
}

void MainWindow::readCurrentLog() {
  const int tab = currentTab();
  runRead(tab, logPath(tab));
}

void MainWindow::readLogFile(const std::string& path) { runRead(currentTab(), path); }

void MainWindow::filterCurrentLog() {
  const int tab = currentTab();
  const FilterCriteria criteria = quickFilter_->criteria();
  const bool hasRecords =
      tab == kTrafficTab ? !trafficModel_->log().records->empty() : !packetModel_->log().records->empty();
  // An invalid field leaves the view as it is, sort order included.
  if (hasRecords) {
    if (const std::optional<std::string> message = validateCriteria(criteria)) {
      showMessage(decodeAnsi(*message));
      return;
    }
  }
  WaitCursor wait;
  if (tab == kTrafficTab) {
    FilterHitCounts counts;
    const ReadResult result = trafficModel_->update([&](TrafficLogState& log) {
      return filterTrafficLog(log, criteria, services_.now(), countingExclusionFor(filterList_, counts));
    });
    if (result.status == ReadStatus::kShown) hitCounts_ = std::move(counts);
    trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
  } else {
    packetModel_->update([&](PacketLogState& log) { return filterPacketLog(log, criteria, services_.now()); });
    packetCount_->setText(QString::fromStdString(packetModel_->log().countLine));
  }
}

void MainWindow::openLogFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const int tab = tabOfLogFile(path).value_or(currentTab());
    pathOverride_[static_cast<std::size_t>(tab)] = path;
    selectTab(tab);
    runRead(tab, path);
  }
}

void MainWindow::chooseAndOpenLogFiles() {
  if (!services_.chooseFile) return;
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kOpen;
  request.filter = kLogFileFilter;
  request.defaultExtension = QStringLiteral("log");
  request.initialPath = QFileInfo(QFile::decodeName(QByteArray::fromStdString(logPath(currentTab())))).absolutePath();
  const std::optional<std::string> path = services_.chooseFile(this, request);
  if (path) openLogFiles({*path});
}

void MainWindow::updateTitle() {
  const QString& file = shownFile_[static_cast<std::size_t>(currentTab())];
  setWindowTitle(file.isEmpty() ? kTitle : file + QStringLiteral(" - ") + kTitle);
}

std::vector<int> MainWindow::selectedEventRows(int tab) const {
  const bool placeholder = tab == kTrafficTab ? trafficModel_->log().shown.isNoDataPlaceholder()
                                              : packetModel_->log().shown.isNoDataPlaceholder();
  if (placeholder) return {};
  return (tab == kTrafficTab ? trafficView_ : packetView_)->selectedRowNumbers();
}

const TrafficRecord* MainWindow::selectedTrafficEvent() const {
  const std::vector<int> rows = selectedEventRows(kTrafficTab);
  if (rows.empty()) return nullptr;
  return &trafficModel_->log().shown[static_cast<std::size_t>(rows.front())];
}

std::string MainWindow::selectedCellText(int tab, int column) const {
  const std::vector<int> rows = selectedEventRows(tab);
  if (rows.empty()) return {};
  const auto row = static_cast<std::size_t>(rows.front());
  if (tab == kTrafficTab) return trafficCellText(trafficModel_->log().shown[row], static_cast<TrafficColumn>(column));
  return packetCellText(packetModel_->log().shown[row], static_cast<PacketColumn>(column));
}

void MainWindow::saveSelection() {
  const int tab = currentTab();
  const std::vector<int> rows = selectedEventRows(tab);
  if (rows.empty()) {
    showMessage(QString::fromLatin1(kExportNothingSelected.data(), static_cast<qsizetype>(kExportNothingSelected.size())));
    return;
  }
  if (!services_.chooseFile) return;
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kSave;
  request.filter = kLogFileFilter;
  request.defaultExtension = QStringLiteral("log");
  const std::optional<std::string> path = services_.chooseFile(this, request);
  if (!path) return;
  ExportResult result;
  {
    WaitCursor wait;
    if (tab == kTrafficTab) {
      const TrafficShownList& shown = trafficModel_->log().shown;
      std::vector<RecordIndex> selected;
      selected.reserve(rows.size());
      for (const int row : rows) selected.push_back(shown.order()[static_cast<std::size_t>(row)]);
      result = exportTrafficSelection(TrafficRows(*shown.records(), selected), *path);
    } else {
      std::vector<PacketRecord> selected;
      selected.reserve(rows.size());
      for (const int row : rows) selected.push_back(packetModel_->log().shown[static_cast<std::size_t>(row)]);
      result = exportPacketSelection(selected, *path);
    }
  }
  if (!result.written()) showMessage(decodeAnsi(result.message));
}

void MainWindow::copyEventText() {
  std::string text;
  if (currentTab() == kTrafficTab) {
    if (const TrafficRecord* event = selectedTrafficEvent()) text = trafficEventText(*event);
  } else {
    const std::vector<int> rows = selectedEventRows(kPacketTab);
    if (!rows.empty()) text = packetEventText(packetModel_->log().shown[static_cast<std::size_t>(rows.front())]);
  }
  QGuiApplication::clipboard()->setText(decodeAnsi(text));
}

void MainWindow::copyField(CopiedField field) {
  const int tab = field == CopiedField::kRuleName ? kTrafficTab : currentTab();
  int column = 0;
  switch (field) {
    case CopiedField::kRemoteIp: column = static_cast<int>(TrafficColumn::kRemoteIp); break;
    case CopiedField::kNameAddress: column = static_cast<int>(TrafficColumn::kNameAddress); break;
    case CopiedField::kApplicationName: column = static_cast<int>(TrafficColumn::kApplicationName); break;
    case CopiedField::kRuleName: column = static_cast<int>(TrafficColumn::kRuleName); break;
  }
  QGuiApplication::clipboard()->setText(decodeAnsi(selectedCellText(tab, column)));
}

void MainWindow::analyzeEventPattern() {
  WaitCursor wait;
  trafficModel_->update([](TrafficLogState& log) { analyzeTrafficView(log); });
  trafficCount_->setText(QString::fromStdString(trafficModel_->log().countLine));
}

void MainWindow::addToFilterList(AddToFilterListCommand command) {
  qv::addToFilterList(filterList_, selectedTrafficEvent(), command);
}

void MainWindow::fillFilterField(FilterField field, bool filterOut) {
  FilterCriteria criteria = quickFilter_->criteria();
  const int tab = field == FilterField::kRuleName ? kTrafficTab : currentTab();
  const std::string text = selectedCellText(tab, filterFieldColumn(field));
  if (qv::fillFilterField(criteria, field, filterOut, text)) quickFilter_->setCriteria(criteria);
}

void MainWindow::changeFontHeight(int step) {
  LogListView* view = currentView();
  view->setFontHeight(view->fontHeight() + step);
}

void MainWindow::changeFontFace() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, trafficView_->font(), this, tr("Font"),
                                          QFontDialog::ScalableFonts);
  if (!chosen) return;
  trafficView_->setViewFont(font);
  packetView_->setViewFont(trafficView_->font());
  settings::writeFontFace(*services_.settings, descriptionOfFont(trafficView_->font(), trafficView_->fontHeight()));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      filterCurrentLog();
      event->accept();
      return;
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QMainWindow::keyPressEvent(event);
  }
}

}  // namespace qv::gui
