#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

#include <algorithm>

#include "gui/app/main_window.h"
#include "gui/app/quick_filter_panel.h"
#include "gui/views/log_list_view.h"

namespace qv::gui {
namespace {

// A context-menu item that runs a menu-bar command under its own label and
// is enabled exactly when that command is.
QAction* addMirror(QMenu* menu, const QString& text, QAction* command) {
  QAction* item = menu->addAction(text);
  item->setEnabled(command->isEnabled());
  QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
  QObject::connect(command, &QAction::enabledChanged, item, &QAction::setEnabled);
  return item;
}

constexpr FilterField kFilterFields[] = {FilterField::kRemoteIp,  FilterField::kRemotePort,
                                         FilterField::kLocalIp,   FilterField::kLocalPort,
                                         FilterField::kApplicationName, FilterField::kRuleName};
constexpr const char* kFilterFieldLabels[] = {"Remote &IP",  "Remote &Port",       "&Local IP",
                                              "Local Por&t", "&Application Name", "&Rule Name"};

}  // namespace

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  openAction_ = file->addAction(tr("&Open..."), this, &MainWindow::chooseAndOpenLogFiles);
  openAction_->setShortcut(QKeySequence::Open);
  file->addSeparator();
  saveAction_ = file->addAction(tr("&Save to File"), this, &MainWindow::saveSelection);
  saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveCsvAction_ = file->addAction(tr("Save as &CSV..."), this, &MainWindow::saveSelectionAsCsv);
  saveCaptureAction_ = file->addAction(tr("Save as &Capture..."), this, &MainWindow::saveSelectionAsCapture);
  file->addSeparator();
  exitAction_ = file->addAction(tr("&Exit"), this, &MainWindow::exitProgram);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  copyEventAction_ = edit->addAction(tr("Copy the &whole Event"), this, &MainWindow::copyEventText);
  copyEventAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  copyRemoteIpAction_ = edit->addAction(tr("Copy Remote &IP"), this, [this] { copyField(CopiedField::kRemoteIp); });
  copyNameAddressAction_ =
      edit->addAction(tr("Copy &Name Address"), this, [this] { copyField(CopiedField::kNameAddress); });
  copyApplicationNameAction_ =
      edit->addAction(tr("Copy &Application Name"), this, [this] { copyField(CopiedField::kApplicationName); });
  copyRuleNameAction_ = edit->addAction(tr("Copy &Rule Name"), this, [this] { copyField(CopiedField::kRuleName); });
  edit->addSeparator();
  searchInPacketsAction_ = edit->addAction(tr("&Search in Packets..."));

  QMenu* actions = menuBar()->addMenu(tr("&Actions"));
  analyzeAction_ = actions->addAction(tr("&Analyze Event Pattern"), this, &MainWindow::analyzeEventPattern);
  actions->addSeparator();
  whoisAction_ = actions->addAction(tr("&Whois Remote IP..."));
  portReportAction_ = actions->addAction(tr("Search ISC &Port Reports..."));
  statisticsAction_ = actions->addAction(tr("&Statistics..."));

  QMenu* filter = menuBar()->addMenu(tr("F&ilter"));
  filterListAction_ = filter->addAction(tr("Filter &List..."));
  addToFilterListMenu_ = filter->addMenu(tr("&Add to Filter List"));
  for (std::size_t i = 0; i < kAddToFilterListItems.size(); ++i) {
    const AddToFilterListItem& item = kAddToFilterListItems[i];
    if (item.command == AddToFilterListCommand::kPattern) addToFilterListMenu_->addSeparator();
    const AddToFilterListCommand command = item.command;
    addToFilterListActions_[i] =
        addToFilterListMenu_->addAction(QString::fromLatin1(item.label.data(), static_cast<qsizetype>(item.label.size())),
                                        this, [this, command] { addToFilterList(command); });
  }
  filter->addSeparator();
  QMenu* filterOut = filter->addMenu(tr("Filter &Out"));
  QMenu* filterIn = filter->addMenu(tr("Filter &In"));
  for (std::size_t i = 0; i < std::size(kFilterFields); ++i) {
    const FilterField field = kFilterFields[i];
    filterOutActions_[i] = filterOut->addAction(tr(kFilterFieldLabels[i]), this, [this, field] { fillFilterField(field, true); });
    filterInActions_[i] = filterIn->addAction(tr(kFilterFieldLabels[i]), this, [this, field] { fillFilterField(field, false); });
  }

  optionsAction_ = menuBar()->addAction(tr("&Options..."));

  buildViewMenu();

  QMenu* font = menuBar()->addMenu(tr("Fo&nt"));
  changeFontFaceAction_ = font->addAction(tr("&Change Font Face..."), this, &MainWindow::changeFontFace);
  font->addSeparator();
  largerFontAction_ = font->addAction(tr("&Larger"), this, [this] { changeFontHeight(+1); });
  smallerFontAction_ = font->addAction(tr("&Smaller"), this, [this] { changeFontHeight(-1); });

  aboutAction_ = menuBar()->addAction(tr("A&bout..."));

  // The packet viewer's own key; it has no menu-bar item.
  openPacketViewerAction_ = new QAction(tr("&Open Packet Viewer"), this);
  openPacketViewerAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  addAction(openPacketViewerAction_);
  connect(packetView_, &QAbstractItemView::doubleClicked, openPacketViewerAction_, &QAction::trigger);

  unavailable_ = {filterListAction_,       statisticsAction_,     optionsAction_, aboutAction_,
                  openPacketViewerAction_, searchInPacketsAction_, whoisAction_,  portReportAction_};
}

void MainWindow::buildContextMenus() {
  addPatternAction_ = new QAction(tr("Add this pattern to &Filter List"), this);
  connect(addPatternAction_, &QAction::triggered, this, [this] { addToFilterList(AddToFilterListCommand::kPattern); });

  trafficContextMenu_ = new QMenu(this);
  trafficContextMenu_->addAction(addPatternAction_);
  trafficContextMenu_->addSeparator();
  addMirror(trafficContextMenu_, tr("Copy the whole &Event"), copyEventAction_);
  addMirror(trafficContextMenu_, tr("Copy Remote &IP"), copyRemoteIpAction_);
  addMirror(trafficContextMenu_, tr("Copy &Name Address"), copyNameAddressAction_);
  addMirror(trafficContextMenu_, tr("Copy &Application Name"), copyApplicationNameAction_);
  addMirror(trafficContextMenu_, tr("Copy &Rule Name"), copyRuleNameAction_);
  trafficContextMenu_->addSeparator();
  addMirror(trafficContextMenu_, tr("&Whois Remote IP"), whoisAction_);
  addMirror(trafficContextMenu_, tr("Search ISC &Port Reports"), portReportAction_);
  addMirror(trafficContextMenu_, tr("&Statistics"), statisticsAction_);
  trafficContextMenu_->addSeparator();
  addMirror(trafficContextMenu_, tr("Sa&ve to File"), saveAction_);
  addMirror(trafficContextMenu_, tr("Save as &CSV..."), saveCsvAction_);
  trafficView_->setContextMenu(trafficContextMenu_);

  packetContextMenu_ = new QMenu(this);
  packetContextMenu_->addAction(openPacketViewerAction_);
  packetContextMenu_->addSeparator();
  addMirror(packetContextMenu_, tr("Copy the whole &Event"), copyEventAction_);
  addMirror(packetContextMenu_, tr("Copy Remote &IP"), copyRemoteIpAction_);
  addMirror(packetContextMenu_, tr("Copy &Name Address"), copyNameAddressAction_);
  addMirror(packetContextMenu_, tr("Copy &Application Name"), copyApplicationNameAction_);
  packetContextMenu_->addSeparator();
  addMirror(packetContextMenu_, tr("&Whois Remote IP"), whoisAction_);
  packetContextMenu_->addSeparator();
  addMirror(packetContextMenu_, tr("&Search in Packets"), searchInPacketsAction_);
  packetContextMenu_->addSeparator();
  addMirror(packetContextMenu_, tr("Save to &File"), saveAction_);
  addMirror(packetContextMenu_, tr("Save as &CSV..."), saveCsvAction_);
  addMirror(packetContextMenu_, tr("Save as &Capture..."), saveCaptureAction_);
  packetView_->setContextMenu(packetContextMenu_);
}

void MainWindow::buildTray() {
  trayMenu_ = new QMenu(this);
  QAction* openWindow = trayMenu_->addAction(tr("&Open Window"), this, &MainWindow::openFromTray);
  trayMenu_->setDefaultAction(openWindow);
  trayMenu_->addSeparator();
  trayMenu_->addAction(tr("&Traffic Log"), this, [this] { openTabFromTray(kTrafficTab); });
  trayMenu_->addAction(tr("&Packet Log"), this, [this] { openTabFromTray(kPacketTab); });
  trayMenu_->addSeparator();
  addMirror(trayMenu_, tr("&About..."), aboutAction_);
  trayMenu_->addSeparator();
  trayMenu_->addAction(tr("E&xit Program"), this, &MainWindow::exitProgram);

  trayIcon_ = new QSystemTrayIcon(windowIcon(), this);
  trayIcon_->setToolTip(QStringLiteral("Quorvex Log Viewer"));
  trayIcon_->setContextMenu(trayMenu_);
  connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) openFromTray();
  });
}

void MainWindow::setCommandAvailable(QAction* action, bool available) {
  const auto found = std::find(unavailable_.begin(), unavailable_.end(), action);
  if (available && found != unavailable_.end()) unavailable_.erase(found);
  if (!available && found == unavailable_.end()) unavailable_.push_back(action);
  updateCommandStates();
}

void MainWindow::applyTabLayout() {
  const bool traffic = currentTab() == kTrafficTab;
  // The shown view takes the font of the one that was shown before.
  if (traffic) {
    trafficView_->setViewFont(packetView_->font());
  } else {
    packetView_->setViewFont(trafficView_->font());
  }
  quickFilter_->setRuleNameEnabled(traffic);
  trafficCount_->setVisible(traffic);
  packetCount_->setVisible(!traffic);
  updateCommandStates();
  updateTitle();
}

void MainWindow::updateCommandStates() {
  const bool traffic = currentTab() == kTrafficTab;
  const auto enable = [this](QAction* action, bool byTab) {
    const bool available = std::find(unavailable_.begin(), unavailable_.end(), action) == unavailable_.end();
    action->setEnabled(byTab && available);
  };
  for (QAction* action : {copyRuleNameAction_, analyzeAction_, portReportAction_, statisticsAction_, filterListAction_,
                          addPatternAction_, filterOutActions_[5], filterInActions_[5]}) {
    enable(action, traffic);
  }
  for (QAction* action : addToFilterListActions_) enable(action, traffic);
  addToFilterListMenu_->menuAction()->setEnabled(traffic);
  enable(searchInPacketsAction_, !traffic);
  enable(saveCaptureAction_, !traffic);
  enable(openPacketViewerAction_, !traffic);
  for (QAction* action : {optionsAction_, aboutAction_, whoisAction_}) enable(action, true);
}

}  // namespace qv::gui
