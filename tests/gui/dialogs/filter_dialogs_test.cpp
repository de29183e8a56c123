#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "gui/filter/edit_filter_dialog.h"
#include "gui/filter/filter_list_dialog.h"
#include "gui/filter/filter_list_saving.h"
#include "filter/filter_list_file.h"
#include "modal_watcher.h"

namespace qv::gui {
namespace {

using namespace RecordFlag;
using test::childNamed;
using test::childWithText;

TrafficRecord blockedFrom(const char* remoteIp) {
  TrafficRecord record;
  record.flags = kTcp | kIncoming | kBlocked;
  record.remoteIp = remoteIp;
  record.localPort = 135;
  return record;
}

FilterList twoEntries() {
  FilterList list;
  const TrafficRecord a = blockedFrom("10.0.0.1");
  const TrafficRecord b = blockedFrom("10.0.0.2");
  addToFilterList(list, &a, AddToFilterListCommand::kRemoteIp);
  addToFilterList(list, &b, AddToFilterListCommand::kLocalPort);
  return list;
}

QStringList rowTexts(const QTableView& table, int row) {
  QStringList texts;
  for (int column = 0; column < table.model()->columnCount(); ++column) {
    texts << table.model()->index(row, column).data().toString();
  }
  return texts;
}

void selectRow(QTableView& table, int row) { table.selectRow(row); }

void click(const QWidget& dialog, const char* text) {
  auto* button = childWithText<QPushButton>(dialog, QString::fromLatin1(text));
  ASSERT_NE(button, nullptr) << text;
  button->click();
}

TEST(FilterListDialog, ButtonsChangeACopyThatOnlyOkWritesBack) {
  FilterList list = twoEntries();
  const FilterList original = list;
  std::vector<EditFilterFields> editorSaw;
  EditFilterFields answer;
  answer.remoteAddress = "172.16.0.9";
  answer.action = ActionChoice::kBlock;
  const auto editor = [&](QWidget*, const EditFilterFields& fields) -> std::optional<EditFilterFields> {
    editorSaw.push_back(fields);
    return answer;
  };

  FilterListDialog dialog(list, {4, 1}, nullptr, editor);
  dialog.show();
  auto* table = dialog.findChild<QTableView*>();
  QAbstractItemModelTester modelTester(table->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(table->model()->columnCount(), 10);
  EXPECT_EQ(table->model()->headerData(3, Qt::Horizontal).toString(), "Remote IP  ");
  EXPECT_EQ(table->model()->headerData(9, Qt::Horizontal).toString(), "Hidden");
  EXPECT_EQ(rowTexts(*table, 0),
            (QStringList{"Both", "Both", "All", "10.0.0.1", "All", "All", "All", "All/App", "All/Rule", "4"}));
  EXPECT_EQ(rowTexts(*table, 1).last(), "1");

  // Nothing selected: only Add and Remove All can act.
  EXPECT_FALSE(childWithText<QPushButton>(dialog, "Edit")->isEnabled());
  EXPECT_FALSE(childWithText<QPushButton>(dialog, "Remove")->isEnabled());

  selectRow(*table, 1);
  click(dialog, "Edit");
  ASSERT_EQ(editorSaw.size(), 1u);
  EXPECT_EQ(editorSaw[0].localPort, "135");
  EXPECT_EQ(editorSaw[0].remotePort, "All");
  EXPECT_EQ(rowTexts(*table, 1),
            (QStringList{"Block", "Both", "All", "172.16.0.9", "All", "All", "All", "All/App", "All/Rule", ""}));

  click(dialog, "Add");
  EXPECT_EQ(editorSaw.back(), EditFilterFields{});
  ASSERT_EQ(table->model()->rowCount(), 3);
  EXPECT_TRUE(table->selectionModel()->isRowSelected(2, {}));

  // A double-click edits the row under the pointer.
  const QRect cell = table->visualRect(table->model()->index(0, 3));
  answer.remoteAddress = "10.9.9.9";
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(editorSaw.back().remoteAddress, "10.0.0.1");
  EXPECT_EQ(rowTexts(*table, 0)[3], "10.9.9.9");

  selectRow(*table, 0);
  click(dialog, "Remove");
  ASSERT_EQ(table->model()->rowCount(), 2);
  EXPECT_EQ(rowTexts(*table, 0)[3], "172.16.0.9");
  EXPECT_EQ(list, original);  // nothing written before OK

  click(dialog, "Remove All");
  EXPECT_EQ(table->model()->rowCount(), 0);
  EXPECT_FALSE(childWithText<QPushButton>(dialog, "Remove All")->isEnabled());
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  EXPECT_EQ(list, original);

  FilterListDialog second(list, {4, 1}, nullptr, editor);
  second.show();
  second.findChild<QTableView*>()->selectRow(0);
  click(second, "Remove");
  second.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], original[1]);
  EXPECT_EQ(second.hitCounts(), std::vector<FilterHitCount>{1});
}

// The whole Add command through the real Edit Filter dialog: wrong texts
// are reported and keep it open until they are mended.
TEST(FilterListDialog, AddRunsEditFilterWithItsChecks) {
  FilterList list;
  FilterListDialog dialog(list, {});
  dialog.show();

  int attempt = 0;
  test::MessageBoxAnswerer answerer([&](QWidget* modal) {
    auto* edit = qobject_cast<EditFilterDialog*>(modal);
    ASSERT_NE(edit, nullptr);
    auto* remoteIp = childNamed<QLineEdit>(*edit, "Remote IP");
    auto* localPort = childNamed<QLineEdit>(*edit, "Local Port");
    EXPECT_EQ(remoteIp->maxLength(), 15);
    EXPECT_EQ(localPort->maxLength(), 5);
    EXPECT_EQ(remoteIp->text(), "All");
    childWithText<QRadioButton>(*edit, "UDP")->setChecked(true);
    const auto pressOk = [edit] { edit->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); };
    // Each OK below opens a message box the answerer closes before the next.
    remoteIp->setText("192.168.1.300");
    pressOk();
    remoteIp->setText("10..0.1");
    localPort->setText("70000");
    pressOk();
    ++attempt;
    EXPECT_TRUE(test::holdsFocus(*edit, *localPort));
    localPort->clear();
    pressOk();
  });
  click(dialog, "Add");

  EXPECT_EQ(attempt, 1);
  ASSERT_EQ(answerer.messages.size(), 2u);
  EXPECT_EQ(answerer.messages[0].text, "Error : IP (xxx.xxx.xxx.xxx)");
  EXPECT_EQ(answerer.messages[1].text, "Error : Port (0 - 65535)");
  EXPECT_EQ(answerer.messages[1].title, "Quorvex Log Viewer");

  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].remoteIp, "10..0.1");
  EXPECT_EQ(list[0].localPort, 0);
  EXPECT_EQ(list[0].portMarker(), "RPTN");
  EXPECT_EQ(list[0].flags, kAllowed | kBlocked | kIncoming | kOutgoing | kUdp);
}

TEST(FilterListDialog, TheListIsStoredRightAfterOkOrTheFailureShown) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const FilterList list = twoEntries();
  const std::string path = QFile::encodeName(folder.filePath("filter.lst")).toStdString();
  test::MessageBoxAnswerer answerer;
  EXPECT_TRUE(storeFilterListNow(nullptr, list, path));
  EXPECT_EQ(loadFilterListFile(path).list, list);

  const std::string unwritable = QFile::encodeName(folder.filePath("missing/filter.lst")).toStdString();
  EXPECT_FALSE(storeFilterListNow(nullptr, list, unwritable));
  ASSERT_EQ(answerer.messages.size(), 1u);
  EXPECT_EQ(answerer.messages[0].title, "Quorvex Log Viewer");
  EXPECT_TRUE(answerer.messages[0].text.startsWith(
      QStringLiteral("Error : The filter list could not be saved to %1 : ").arg(folder.filePath("missing/filter.lst"))));
  EXPECT_FALSE(answerer.messages[0].text.endsWith(" : "));  // the system says why
}

TEST(EditFilterDialog, ShowsAnEntryAndCancelKeepsIt) {
  FilterEntry entry;
  entry.flags = kAllowed | kIcmp;  // no direction: shown, and saved again, as Both
  entry.remoteIp = "10.0.0.1";
  entry.localIp = "All";
  entry.localPort = 8;
  entry.setPortMarker("RPTN");
  entry.applicationName = "C:\\Program Files\\caf\xE9.exe";
  entry.ruleName = "All/Rule";
  const EditFilterFields fields = editFilterFieldsFromEntry(entry);

  EditFilterDialog dialog(fields);
  dialog.show();
  const auto checked = [&](const char* group) {
    for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
      if (button->isChecked() && button->parentWidget()->property("title").toString() == group) return button->text();
    }
    return QString();
  };
  EXPECT_EQ(checked("Action"), "Allow");
  EXPECT_EQ(checked("Direction"), "Both");
  EXPECT_EQ(checked("Protocol"), "ICMP");
  EXPECT_EQ(childNamed<QLineEdit>(dialog, "Remote Port")->text(), "All");
  EXPECT_EQ(childNamed<QLineEdit>(dialog, "Local Port")->text(), "8");
  // The name's code-page byte shows as its character and goes back as the same byte.
  EXPECT_EQ(dialog.fields(), fields);
  EXPECT_EQ(buildFilterEntry(dialog.fields()).flags, kAllowed | kIncoming | kOutgoing | kIcmp);

  childNamed<QLineEdit>(dialog, "Remote IP")->setText("1.2.3.4");
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace qv::gui
