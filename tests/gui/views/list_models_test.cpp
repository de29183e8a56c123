// The list models and the list view as a user meets them: cells, icons and
// header arrows over real rows, the "No Data" row, fonts kept within bounds.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QTest>

#include "gui/views/ansi_text.h"
#include "gui/views/log_list_view.h"
#include "gui/views/packet_table_model.h"
#include "gui/views/traffic_table_model.h"
#include "views/read_operation.h"
#include "views/view_commands.h"

namespace qv::gui {
namespace {

TrafficRecord event(const char* time, const char* remoteIp, std::uint16_t remotePort, const char* rule) {
  TrafficRecord record;
  record.time = time;
  record.beginTime = time;
  record.endTime = time;
  record.remoteIp = remoteIp;
  record.localIp = "192.168.0.2";
  record.remotePort = remotePort;
  record.localPort = 80;
  record.occurrences = 1;
  record.ruleName = rule;
  record.applicationName = "C:\\caf\xE9\x80.exe";
  record.flags = RecordFlag::kTcp | RecordFlag::kIncoming | RecordFlag::kBlocked;
  return record;
}

TrafficLogState stateWith(std::vector<TrafficRecord> rows) {
  TrafficLogState state;
  std::vector<RecordIndex> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<RecordIndex>(i);
  state.records = std::make_shared<const std::vector<TrafficRecord>>(std::move(rows));
  state.shown = TrafficShownList(state.records, std::move(order));
  return state;
}

QString cell(const QAbstractItemModel& model, int row, int column, int role = Qt::DisplayRole) {
  return model.data(model.index(row, column), role).toString();
}

TEST(TrafficTableModel, ShowsCellsIconsAndArrowsThroughSortClicks) {
  TrafficTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.replaceLog(stateWith({event("2004/01/02 03:04:05", "10.0.0.10", 20, "Allow_web"),
                              event("2004/01/02 03:04:07", "9.1.1.1", 21, "My Allow"),
                              event("2004/01/02 03:04:06", "10.0.0.9", 22, "Block_all")}));
  ASSERT_EQ(model.rowCount(), 3);
  ASSERT_EQ(model.columnCount(), 14);
  EXPECT_EQ(cell(model, 0, 1), "Block");
  EXPECT_EQ(cell(model, 0, 2), "Incoming");
  EXPECT_EQ(cell(model, 0, 6), "20");
  // The record's bytes are Windows-1252: 0xE9 is e-acute, 0x80 the euro sign.
  EXPECT_EQ(cell(model, 0, 10), QStringLiteral("C:\\caf\u00E9\u20AC.exe"));
  EXPECT_EQ(model.data(model.index(0, 4), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
            Qt::AlignRight);

  // The artwork is compiled in and draws at the list's size.
  const QIcon timeIcon = model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>();
  EXPECT_FALSE(timeIcon.pixmap(16, 16).isNull());
  EXPECT_TRUE(model.data(model.index(0, 11), Qt::DecorationRole).isNull());
  model.setIconFlags({false, true, true});
  EXPECT_FALSE(model.data(model.index(0, 11), Qt::DecorationRole).value<QIcon>().isNull());  // Allow_web
  EXPECT_TRUE(model.data(model.index(1, 11), Qt::DecorationRole).isNull());                  // My Allow
  EXPECT_FALSE(model.data(model.index(0, 3), Qt::DecorationRole).value<QIcon>().isNull());

  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Remote IP  ");
  ASSERT_TRUE(model.clickHeader(4));
  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Remote IP   \u25BC"));
  EXPECT_EQ(cell(model, 0, 4), "9.1.1.1");
  EXPECT_EQ(cell(model, 1, 4), "10.0.0.9");
  EXPECT_EQ(cell(model, 2, 4), "10.0.0.10");
  ASSERT_TRUE(model.clickHeader(4));
  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Remote IP   \u25B2"));
  EXPECT_EQ(cell(model, 0, 4), "10.0.0.10");
  ASSERT_TRUE(model.clickHeader(0));
  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Remote IP  ");
  EXPECT_EQ(cell(model, 0, 0), "2004/01/02 03:04:07");

  // New rows are unsorted again: no arrow anywhere.
  model.update([](TrafficLogState& log) { analyzeTrafficView(log); });
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Time");
}

TEST(TrafficTableModel, NoDataRowShowsOnlyItsTextAndIgnoresSortClicks) {
  TrafficTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.setIconFlags({true, true, true});
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(cell(model, 0, 0), "No Data");
  for (int column = 1; column < model.columnCount(); ++column) EXPECT_EQ(cell(model, 0, column), "") << column;
  EXPECT_TRUE(model.data(model.index(0, 0), Qt::DecorationRole).isNull());

  model.replaceLog(stateWith({}));
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.clickHeader(0));
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Time");
}

TEST(PacketTableModel, ReadsTheSampleLogAndSortsIt) {
  PacketTableModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  PacketLogState state;
  const ReadResult read = readPacketLog(state, QV_SOURCE_DIR "/samples/rawlog.log", FilterCriteria{}, 0);
  ASSERT_EQ(read.status, ReadStatus::kShown) << read.message;
  model.replaceLog(std::move(state));
  ASSERT_GT(model.rowCount(), 1);
  model.setIconFlags({true, true, false});
  bool sawTcpFlags = false;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QString protocol = cell(model, row, 3);
    const QString flags = cell(model, row, 9);
    if (protocol == "TCP") {
      sawTcpFlags = true;
    } else {
      EXPECT_EQ(flags, "------");
    }
    if (protocol == "TCP" || protocol == "UDP" || protocol == "ICMP" || protocol == "IGMP") {
      EXPECT_FALSE(model.data(model.index(row, 3), Qt::DecorationRole).value<QIcon>().isNull()) << row;
    }
  }
  EXPECT_TRUE(sawTcpFlags);
  ASSERT_TRUE(model.clickHeader(0));
  ASSERT_TRUE(model.clickHeader(0));
  for (int row = 1; row < model.rowCount(); ++row) EXPECT_LE(cell(model, row - 1, 0), cell(model, row, 0));
}

TEST(AnsiText, RoundTripsTheCodePageAndMarksWhatItCannotHold) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_EQ(encodeAnsi(decodeAnsi(all)), all);
  EXPECT_EQ(decodeAnsi("\x93quoted\x94"), QStringLiteral("\u201Cquoted\u201D"));
  EXPECT_EQ(encodeAnsi(QStringLiteral("a\u4E2Db")), "a?b");
}

TEST(LogListView, KeepsItsFontHeightWithinBoundsFromEveryInput) {
  LogListView view;
  view.setFontHeight(25);
  EXPECT_EQ(view.fontHeight(), 19);
  view.setFontHeight(5);
  EXPECT_EQ(view.fontHeight(), 11);
  QFont font = view.font();
  font.setPixelSize(12);
  view.setViewFont(font);
  EXPECT_EQ(view.fontHeight(), 12);
  QTest::keyClick(&view, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(view.fontHeight(), 13);
  QTest::keyClick(&view, Qt::Key_Minus, Qt::KeypadModifier);
  QTest::keyClick(&view, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(view.fontHeight(), 11);
  QTest::keyClick(&view, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(view.fontHeight(), 11);
  // Row heights follow the font, all alike.
  EXPECT_GE(view.verticalHeader()->defaultSectionSize(), QFontMetrics(view.font()).height());
}

TEST(LogListView, DefaultColoursComeFromTheDarkPaletteAndStoredOnesApplyAsStored) {
  const QPalette previous = QApplication::palette();
  QPalette dark = previous;
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  QApplication::setPalette(dark);
  {
    LogListView view;
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor(230, 230, 230));
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(30, 30, 30));
    view.applyStyle({true, true, QColor(255, 255, 255), QColor(0, 0, 0)});
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(255, 255, 255));
    // The selection stays visible without the focus.
    EXPECT_EQ(view.palette().color(QPalette::Inactive, QPalette::Highlight),
              view.palette().color(QPalette::Active, QPalette::Highlight));
  }
  QApplication::setPalette(previous);
}

}  // namespace
}  // namespace qv::gui
