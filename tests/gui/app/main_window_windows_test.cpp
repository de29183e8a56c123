// The commands that open windows of their own, driven through the main
// window's menus, context menus, keys and mouse.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/main_window_fixture.h"
#include "dialogs/modal_watcher.h"
#include "filter/filter_list_file.h"
#include "gui/app/about_box.h"
#include "gui/filter/filter_list_dialog.h"
#include "gui/settings/options_dialog.h"
#include "gui/viewer/packet_viewer.h"
#include "gui/viewer/packet_viewer_slot.h"
#include "gui/viewer/search_dialog.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/statistics_dialog.h"
#include "gui/views/traffic_table_model.h"
#include "gui/whois/whois_dialog.h"
#include "settings/main_window_settings.h"
#include "settings/settings_store.h"
#include "settings/whois_settings.h"
#include "views/conversation.h"
#include "views/port_statistics.h"
#include "views/view_commands.h"

namespace qv::gui::test {
namespace {

QAction* menuItem(const QMenu& menu, const QString& text) {
  for (QAction* item : menu.actions()) {
    if (item->text() == text) return item;
  }
  ADD_FAILURE() << "no menu item " << text.toStdString();
  return nullptr;
}

void clickOk(QWidget* dialog) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  buttons->button(QDialogButtonBox::Ok)->click();
}

class MainWindowWindows : public MainWindowFixture {
 protected:
  // Two blocked incoming events; the one from 192.0.2.7 goes to local port 139.
  std::unique_ptr<MainWindow> windowWithEvents() {
    TrafficRecord smb = event("2023/11/14 10:00:02", "192.0.2.7", 4000);
    smb.localPort = 139;
    auto window = startWindow();
    window->readLogFile(writeTrafficLog("two.log", {smb, event("2023/11/14 10:00:01", "10.0.0.10", 4001)}));
    return window;
  }

  static int trafficRowOf(const MainWindow& window, const std::string& remoteIp) {
    const TrafficLogState& log = window.trafficModel()->log();
    for (std::size_t row = 0; row < log.shown.size(); ++row) {
      if (log.shown[row].remoteIp.str() == remoteIp) return static_cast<int>(row);
    }
    ADD_FAILURE() << "no row for " << remoteIp;
    return 0;
  }

  std::unique_ptr<MainWindow> windowWithPackets() {
    auto window = startWindow();
    window->selectTab(MainWindow::kPacketTab);
    window->readLogFile(QV_SOURCE_DIR "/samples/rawlog.log");
    EXPECT_GT(window->packetModel()->rowCount(), 3);
    return window;
  }

  static void doubleClickPacketRow(MainWindow& window, int row) {
    LogListView* view = window.packetView();
    const QPoint at = view->visualRect(window.packetModel()->index(row, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
  }
};

TEST_F(MainWindowWindows, OptionsOkStylesBothViewsAndTheNextOpeningShowsIt) {
  auto window = windowWithEvents();
  {
    MessageBoxAnswerer answerer([](QWidget* modal) {
      auto* options = qobject_cast<OptionsDialog*>(modal);
      ASSERT_NE(options, nullptr);
      childWithText<QCheckBox>(*options, QStringLiteral("Gridlines"))->setChecked(false);
      childWithText<QRadioButton>(*options, QStringLiteral("Black"))->click();
      clickOk(options);
    });
    window->optionsAction_->trigger();
  }

  const settings::PresetColors black = *settings::presetColors(settings::ColorPreset::kBlack);
  const QColor background(black.background.red, black.background.green, black.background.blue);
  for (LogListView* view : {window->trafficView(), window->packetView()}) {
    EXPECT_FALSE(view->viewStyle().gridlines);
    EXPECT_EQ(view->viewStyle().background, background);
  }
  const auto stored = settings::readMainWindowSettings(store);
  ASSERT_TRUE(stored && stored->viewStyle);
  EXPECT_FALSE(stored->viewStyle->gridlines);

  // The dialog opens again on what the views now show; Cancel changes nothing.
  bool blackChecked = false;
  bool gridlinesChecked = true;
  MessageBoxAnswerer second([&](QWidget* modal) {
    blackChecked = childWithText<QRadioButton>(*modal, QStringLiteral("Black"))->isChecked();
    gridlinesChecked = childWithText<QCheckBox>(*modal, QStringLiteral("Gridlines"))->isChecked();
    childWithText<QCheckBox>(*modal, QStringLiteral("Gridlines"))->setChecked(true);
    qobject_cast<QDialog*>(modal)->reject();
  });
  window->optionsAction_->trigger();
  EXPECT_TRUE(blackChecked);
  EXPECT_FALSE(gridlinesChecked);
  EXPECT_FALSE(window->packetView()->viewStyle().gridlines);
}

TEST_F(MainWindowWindows, FilterListShowsTheLastRunsCountsAndOkStoresAtOnce) {
  auto window = windowWithEvents();
  window->trafficView()->selectRow(trafficRowOf(*window, "10.0.0.10"));
  window->addToFilterListActions_[0]->trigger();  // Remote IP
  window->filterCurrentLog();
  ASSERT_EQ(window->countLineText(MainWindow::kTrafficTab), "Records : 1 / 2");

  QString hidden;
  MessageBoxAnswerer answerer([&](QWidget* modal) {
    auto* dialog = qobject_cast<FilterListDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    const QAbstractItemModel* rows = dialog->findChild<QTableView*>()->model();
    hidden = rows->index(0, rows->columnCount() - 1).data().toString();
    clickOk(dialog);
  });
  window->filterListAction_->trigger();
  EXPECT_EQ(hidden, "1");
  // Stored right away, not only when the window closes.
  EXPECT_EQ(loadFilterListFile(path("filter.lst")).list.size(), 1u);
  // The counts survive the dialog's OK for the entries it kept.
  EXPECT_EQ(window->filterHitCounts().countsFor(window->filterList()), std::vector<FilterHitCount>{1});

  // A read counts as well; a failed read keeps the last counts.
  window->readCurrentLog();
  EXPECT_EQ(window->filterHitCounts().countsFor(window->filterList()), std::vector<FilterHitCount>{1});
  window->readLogFile(path("missing.log"));
  EXPECT_EQ(window->filterHitCounts().countsFor(window->filterList()), std::vector<FilterHitCount>{1});
}

TEST_F(MainWindowWindows, StatisticsFromTheContextMenuShowTheShownEvents) {
  auto window = windowWithEvents();
  QString text;
  MessageBoxAnswerer answerer([&](QWidget* modal) {
    auto* dialog = qobject_cast<StatisticsDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    text = dialog->text();
    dialog->accept();
  });
  menuItem(*window->trafficContextMenu(), QStringLiteral("&Statistics"))->trigger();
  // The text box shows the core's CR LF line ends as plain line breaks.
  const QString expected = QString::fromStdString(portStatisticsText(shownTrafficEvents(window->trafficModel()->log())))
                               .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  EXPECT_EQ(text, expected);
  EXPECT_TRUE(text.contains(QStringLiteral("139")));
}

TEST_F(MainWindowWindows, PortReportOpensThePageOfTheSelectedEvent) {
  std::vector<QUrl> opened;
  auto window = std::make_unique<MainWindow>(
      [&] {
        MainWindowServices services = this->services();
        services.openUrl = [&](const QUrl& url) {
          opened.push_back(url);
          return true;
        };
        return services;
      }(),
      StartupArguments{});
  window->start();
  TrafficRecord smb = event("2023/11/14 10:00:02", "192.0.2.7", 4000);
  smb.localPort = 139;
  window->readLogFile(writeTrafficLog("one.log", {smb}));
  window->trafficView()->selectRow(0);
  menuItem(*window->trafficContextMenu(), QStringLiteral("Search ISC &Port Reports"))->trigger();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toString(), "https://isc.sans.edu/port_details.html?port=139");
}

TEST_F(MainWindowWindows, AboutFromTheTrayAndTheMenuBar) {
  auto window = startWindow();
  MessageBoxAnswerer answerer;
  menuItem(*window->trayMenu(), QStringLiteral("&About..."))->trigger();
  window->aboutAction_->trigger();
  ASSERT_EQ(answerer.messages.size(), 2u);
  EXPECT_EQ(answerer.messages[0].title, aboutBoxTitle());
  EXPECT_EQ(answerer.messages[1].title, aboutBoxTitle());
}

TEST_F(MainWindowWindows, WhoisAsksAboutTheSelectedRemoteAddress) {
  // A registry of the test's own on loopback that records the query.
  QTcpServer registry;
  ASSERT_TRUE(registry.listen(QHostAddress::LocalHost));
  QByteArray query;
  QObject::connect(&registry, &QTcpServer::newConnection, [&] {
    QTcpSocket* client = registry.nextPendingConnection();
    QObject::connect(client, &QTcpSocket::readyRead, [&, client] {
      query += client->readAll();
      if (!query.endsWith("\r\n")) return;
      client->write("No match found.\r\n");
      client->disconnectFromHost();
    });
  });
  {
    const std::unique_ptr<settings::SettingsKey> key = store.createForWriting();
    ASSERT_TRUE(key->writeText(settings::whoisServerValueName(whois::ServerId::kArin),
                               "127.0.0.1:" + std::to_string(registry.serverPort())));
  }
  auto window = windowWithEvents();
  window->trafficView()->selectRow(trafficRowOf(*window, "192.0.2.7"));

  QString answer;
  MessageBoxAnswerer answerer([&](QWidget* modal) {
    auto* dialog = qobject_cast<WhoisDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    const auto finish = [&answer, dialog] {
      answer = dialog->answerText();
      dialog->accept();
    };
    if (dialog->isRunning()) {
      QObject::connect(dialog, &WhoisDialog::chainFinished, dialog, finish);
    } else {
      finish();
    }
  });
  menuItem(*window->trafficContextMenu(), QStringLiteral("&Whois Remote IP"))->trigger();
  EXPECT_EQ(query, "192.0.2.7\r\n");
  EXPECT_TRUE(answer.contains(QStringLiteral("No match found."))) << answer.toStdString();
}

TEST_F(MainWindowWindows, DoubleClickOpensTheViewerOnTheConversationAndARefreshClosesIt) {
  auto window = windowWithPackets();
  doubleClickPacketRow(*window, 2);
  PacketViewer* viewer = window->packetViewerSlot()->viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  // The clicked packet's conversation, positioned on the clicked packet.
  const ViewerPackets conversation = conversationOf(window->packetModel()->log().shown, 2);
  EXPECT_EQ(viewer->packetCount(), conversation.packets.size());
  EXPECT_EQ(viewer->currentIndex(), conversation.currentIndex);
  saveScreenshot(*window, QStringLiteral("main-window-packets"));
  saveScreenshot(*viewer, QStringLiteral("viewer-from-list"));

  // A sort is a refresh of the list: the viewer closes and is forgotten.
  window->packetView()->headerClicked(0);
  QApplication::processEvents();
  EXPECT_EQ(window->packetViewerSlot()->viewer(), nullptr);

  doubleClickPacketRow(*window, 0);
  ASSERT_NE(window->packetViewerSlot()->viewer(), nullptr);
  window->filterCurrentLog();
  EXPECT_EQ(window->packetViewerSlot()->viewer(), nullptr);
}

TEST_F(MainWindowWindows, CtrlWOpensTheViewerOnExactlyTheSelectedPackets) {
  auto window = windowWithPackets();
  LogListView* view = window->packetView();
  view->selectionModel()->select(window->packetModel()->index(0, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  view->selectionModel()->select(window->packetModel()->index(3, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(view, Qt::Key_W, Qt::ControlModifier);
  PacketViewer* viewer = window->packetViewerSlot()->viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->packetCount(), 2u);

  // Nothing selected: nothing opens.
  viewer->close();
  QApplication::processEvents();
  view->clearSelection();
  menuItem(*window->packetContextMenu(), QStringLiteral("&Open Packet Viewer"))->trigger();
  EXPECT_EQ(window->packetViewerSlot()->viewer(), nullptr);
}

TEST_F(MainWindowWindows, SearchInPacketsSelectsTheFoundRowAndOpensTheViewer) {
  auto window = windowWithPackets();
  window->packetView()->selectRow(0);
  // The remote address of the fourth row as bytes: found in the rows after the first.
  const std::string remote = window->packetModel()->log().shown[3].remoteIp.str();
  QString hex;
  for (const QString& part : QString::fromStdString(remote).split(u'.')) {
    hex += QStringLiteral("%1 ").arg(part.toInt(), 2, 16, QLatin1Char('0'));
  }
  MessageBoxAnswerer answerer([&](QWidget* modal) {
    auto* dialog = qobject_cast<SearchDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>()->setText(hex.trimmed());
    childWithText<QRadioButton>(*dialog, QStringLiteral("Hex"))->click();
    clickOk(dialog);
  });
  window->searchInPacketsAction_->trigger();

  ASSERT_NE(window->packetViewerSlot()->viewer(), nullptr);
  const int found = window->packetView()->currentIndex().row();
  EXPECT_GT(found, 0);
  // The found row joins the selection.
  EXPECT_TRUE(window->packetView()->selectionModel()->isRowSelected(0));
  EXPECT_TRUE(window->packetView()->selectionModel()->isRowSelected(found));
}

}  // namespace
}  // namespace qv::gui::test
