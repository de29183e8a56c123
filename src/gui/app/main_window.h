#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/criteria_commands.h"
#include "filter/filter_hit_counts.h"
#include "filter/filter_list.h"
#include "gui/settings/file_dialog_ex.h"
#include "gui/viewer/search_dialog.h"
#include "gui/views/port_report_opener.h"
#include "settings/options_model.h"
#include "logdata/traffic_record.h"
#include "views/follow_place.h"
#include "views/sort_state.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class QStackedWidget;
class QSystemTrayIcon;
class QTabBar;

namespace qv::settings {
class SettingsStore;
}

namespace qv::gui {

class LogFollower;
class LogListView;
class PacketTableModel;
class PacketViewerSlot;
class QuickFilterPanel;
class TimelineStrip;
class TrafficTableModel;

// What the main window needs from outside, so that tests can hand it their own.
struct MainWindowServices {
  settings::SettingsStore* settings = nullptr;  // required; outlives the window
  std::string filterListPath;
  FileChooser chooseFile;
  std::function<bool()> trayAvailable;
  std::function<std::int64_t()> now;  // seconds since 1970, for time windows
  // Reads run on a worker thread and their result is swapped in whole; tests
  // may read in place.
  bool readInBackground = false;
  // A message box with OK; `title` is the application's title or "Error".
  std::function<void(QWidget* owner, const QString& title, const QString& text)> showMessage;
  // Opens the port-report pages; the user's browser unless a test hands in its own.
  UrlOpener openUrl;

  // The desktop's own: the user's settings, the real tray, clock and dialogs.
  static MainWindowServices standard(settings::SettingsStore& store);
};

// The command line after the program name: "-minimize" (exactly) and the
// log files to read at start.
struct StartupArguments {
  bool minimize = false;
  std::vector<std::string> files;
};
StartupArguments parseStartupArguments(const QStringList& argumentsAfterProgram);

// The viewer's window: the quick-filter row, the "Traffic Log" / "Packet
// Log" tabs with one list each, the count line, the menus and the tray icon.
// It holds both logs (through the list models), runs every command of the
// menus on the view of the selected tab, and restores and stores its
// settings at start and close.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  enum Tab { kTrafficTab = 0, kPacketTab = 1 };

  MainWindow(MainWindowServices services, StartupArguments arguments, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Shows the window as the stored settings say and reads the files named on
  // the command line; a window started minimized goes to the tray shortly after.
  void start();

  // "Read": the log of the selected tab. `path` overrides the log's path.
  void readCurrentLog();
  void readLogFile(const std::string& path);
  // "Filter" and Enter.
  void filterCurrentLog();
  // Reads each file into the tab its header names; the path then stands in
  // for the stored one until the program ends.
  void openLogFiles(const std::vector<std::string>& paths);

  // F5: reads the selected tab's log again keeping the user's place (sort,
  // selection, scroll position) and marking the rows that are new.
  void readNow();
  // "Follow": while on, the selected tab's log is read again (as readNow())
  // whenever its file changes.
  void setFollowing(bool on);
  bool isFollowing() const;
  // "Timeline": the strips above both lists, remembered in the settings.
  void setTimelineShown(bool shown);

  // Drops the reads still running: their results are never shown and the
  // views keep what they show.
  void cancelReads();
  bool isReading() const { return !activeReads_.empty(); }
  // A place-keeping read (Follow, F5) is on its way.
  bool isRereading() const { return placeKeepingRead_[0] != 0 || placeKeepingRead_[1] != 0; }

  int currentTab() const;
  void selectTab(int tab);

  LogListView* trafficView() const { return trafficView_; }
  LogListView* packetView() const { return packetView_; }
  TrafficTableModel* trafficModel() const { return trafficModel_; }
  PacketTableModel* packetModel() const { return packetModel_; }
  QuickFilterPanel* quickFilter() const { return quickFilter_; }
  const FilterList& filterList() const { return filterList_; }
  QString countLineText(int tab) const;
  bool isInTray() const { return inTray_; }
  QSystemTrayIcon* trayIcon() const { return trayIcon_; }
  QMenu* trafficContextMenu() const { return trafficContextMenu_; }
  QMenu* packetContextMenu() const { return packetContextMenu_; }
  QMenu* trayMenu() const { return trayMenu_; }
  // How many events each filter-list entry hid in the last filter run.
  const FilterHitCounts& filterHitCounts() const { return hitCounts_; }
  // The list options the Options dialog opens with.
  const settings::ViewOptions& viewOptions() const { return viewOptions_; }
  // The packet list's one viewer.
  PacketViewerSlot* packetViewerSlot() const { return viewerSlot_; }
  LogFollower* logFollower() const { return follower_; }
  TimelineStrip* timelineStrip(int tab) const { return tab == kPacketTab ? packetTimeline_ : trafficTimeline_; }
  // How long rows stay marked new after a re-read; tests shorten it.
  void setNewRowMarkTime(int milliseconds);

  // The shutdown chain: the settings of the closing window, then filter.lst.
  // Runs once, however the window closes.
  void storeSettings();

  // Tray commands.
  void openFromTray();
  void openTabFromTray(int tab);
  void exitProgram();

  // Menu commands; each stays usable whether or not it has its window yet.
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveCsvAction_ = nullptr;      // "Save as CSV...": the selection, or every shown event
  QAction* saveCaptureAction_ = nullptr;  // "Save as Capture...": packets as a capture file
  QAction* followAction_ = nullptr;       // View > Follow (checkable)
  QAction* readNowAction_ = nullptr;      // F5
  QAction* timelineAction_ = nullptr;     // View > Timeline (checkable)
  QAction* exitAction_ = nullptr;
  QAction* copyEventAction_ = nullptr;
  QAction* copyRemoteIpAction_ = nullptr;
  QAction* copyNameAddressAction_ = nullptr;
  QAction* copyApplicationNameAction_ = nullptr;
  QAction* copyRuleNameAction_ = nullptr;
  QAction* analyzeAction_ = nullptr;
  QAction* largerFontAction_ = nullptr;
  QAction* smallerFontAction_ = nullptr;
  QAction* changeFontFaceAction_ = nullptr;
  QAction* addPatternAction_ = nullptr;  // context menu: "Add this pattern to Filter List"
  std::array<QAction*, 7> addToFilterListActions_{};  // in the submenu's order
  std::array<QAction*, 6> filterOutActions_{};        // by FilterField
  std::array<QAction*, 6> filterInActions_{};
  QMenu* addToFilterListMenu_ = nullptr;

  // Commands that open windows of their own; the tab rules enable each once it is wired.
  // The Filter List dialog over filterList().
  QAction* filterListAction_ = nullptr;
  // The port statistics dialog of the traffic view's shown rows.
  QAction* statisticsAction_ = nullptr;
  // The Options dialog; on OK its style goes to both views.
  QAction* optionsAction_ = nullptr;
  // The About box (menu bar and tray).
  QAction* aboutAction_ = nullptr;
  // The packet viewer on the selection (double-click, Ctrl+W).
  QAction* openPacketViewerAction_ = nullptr;
  // The byte search over the shown packets.
  QAction* searchInPacketsAction_ = nullptr;
  // The whois dialog for the selected event's remote address.
  QAction* whoisAction_ = nullptr;
  // The port-report web page of the selected traffic event.
  QAction* portReportAction_ = nullptr;

  // Marks a later window's command as wired: from then on the tab rules enable it.
  void setCommandAvailable(QAction* action, bool available);

 signals:
  // The window has closed (close button, "&Exit", "E&xit Program") and stored its settings.
  void exitRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildWidgets();
  void buildMenus();
  void buildContextMenus();
  void buildTray();
  void wireCommands();
  void applyTabLayout();
  void updateCommandStates();
  void restoreSettings();
  void updateTitle();

  void showMessage(const QString& text);
  struct LogRead;
  // A re-read that keeps the place: the file's path, the sort the worker
  // applies, whether a failure is told in a message box (F5) or in the status
  // bar (Follow).
  struct PlaceKeepingRead {
    int tab = kTrafficTab;
    std::string path;
    FilterCriteria criteria;
    SortState sortedBy;
    bool quiet = true;
    // The place and the shown rows' digests as the read started, so that the
    // worker can carry the place over; no digests when they were stale.
    ListPlace place;
    std::shared_ptr<const std::vector<std::uint64_t>> before;
    std::uint64_t rowsVersion = 0;
  };
  void runPlaceKeepingRead(int tab, bool quiet);
  void finishPlaceKeepingRead(const PlaceKeepingRead& request, std::uint64_t generation, LogRead& read);
  ListPlace placeIn(int tab) const;
  void restorePlace(int tab, const KeptPlace& kept, bool wasAtTop, int horizontalScroll);
  std::string followedPath(int tab) const;
  void followCurrentTab();
  void showFollowStatus(const QString& text);
  void buildViewMenu();
  void redrawTimeline(int tab);
  void selectChosenRows(int tab, const std::vector<std::size_t>& rows);
  void runRead(int tab, const std::string& path);
  void finishRead(int tab, std::uint64_t generation, const std::string& path, LogRead& read);
  void updateBusyState();
  static QString fileNameOf(const std::string& path);
  std::string logPath(int tab) const;
  void clearBothViews();
  void goToTray();
  void recordNormalGeometry();

  LogListView* currentView() const;
  // The selected event of a view, never the "No Data" row.
  const TrafficRecord* selectedTrafficEvent() const;
  std::string selectedCellText(int tab, int column) const;
  std::vector<int> selectedEventRows(int tab) const;

  void saveSelection();
  void saveSelectionAsCsv();
  void saveSelectionAsCapture();
  void copyEventText();
  enum class CopiedField { kRemoteIp, kNameAddress, kApplicationName, kRuleName };
  void copyField(CopiedField field);
  void analyzeEventPattern();
  void addToFilterList(AddToFilterListCommand command);
  void fillFilterField(FilterField field, bool filterOut);
  void changeFontHeight(int step);
  void changeFontFace();
  void chooseAndOpenLogFiles();
  void openOptions();
  void applyViewOptions(const settings::ViewOptions& options);
  void openFilterList();
  void showStatistics();
  void searchPortReport();
  void showWhois();
  void openPacketViewer();
  void searchInPackets();

  MainWindowServices services_;
  StartupArguments arguments_;
  QuickFilterPanel* quickFilter_ = nullptr;
  QTabBar* tabs_ = nullptr;
  TimelineStrip* trafficTimeline_ = nullptr;
  TimelineStrip* packetTimeline_ = nullptr;
  LogFollower* follower_ = nullptr;
  QTimer* newRowMarkTimer_ = nullptr;
  QStackedWidget* views_ = nullptr;
  LogListView* trafficView_ = nullptr;
  LogListView* packetView_ = nullptr;
  TrafficTableModel* trafficModel_ = nullptr;
  PacketTableModel* packetModel_ = nullptr;
  QLabel* trafficCount_ = nullptr;
  QLabel* packetCount_ = nullptr;
  QMenu* trafficContextMenu_ = nullptr;
  QMenu* packetContextMenu_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  QSystemTrayIcon* trayIcon_ = nullptr;
  std::vector<QAction*> unavailable_;
  QProgressBar* readProgress_ = nullptr;
  QPushButton* cancelReadButton_ = nullptr;
  QTimer* busyDelay_ = nullptr;
  std::array<std::uint64_t, 2> readGeneration_{};
  std::vector<std::pair<int, std::uint64_t>> activeReads_;
  std::vector<QPointer<QThread>> readThreads_;

  FilterList filterList_;
  FilterHitCounts hitCounts_;
  settings::ViewOptions viewOptions_;
  PacketViewerSlot* viewerSlot_ = nullptr;  // child of the packet list
  SearchRequest lastSearch_;
  std::array<std::optional<std::string>, 2> pathOverride_;
  std::array<QString, 2> shownFile_;
  // The file each tab last showed, which Follow and F5 read again.
  std::array<std::string, 2> readPath_;
  // Place-keeping reads on their way (generation; 0 for none) and whether
  // another change came meanwhile.
  std::array<std::uint64_t, 2> placeKeepingRead_{};
  std::array<bool, 2> readAgain_{};
  // The digests of the shown rows as the last place-keeping read left them;
  // stale once anything else changes the rows.
  std::array<std::shared_ptr<const std::vector<std::uint64_t>>, 2> shownDigests_;
  std::array<bool, 2> digestsCurrent_{};
  // Counts every change of each list's rows.
  std::array<std::uint64_t, 2> rowsVersion_{};
  // Set while a re-read replaces the packet rows: the packet viewer keeps its
  // copies instead of closing.
  bool keepingViewerOpen_ = false;
  QRect normalGeometry_;
  bool maximized_ = false;
  bool inTray_ = false;
  bool startMinimized_ = false;
  bool initialised_ = false;
  bool settingsStored_ = false;
};

}  // namespace qv::gui
