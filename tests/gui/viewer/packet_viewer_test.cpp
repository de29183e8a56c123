#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/viewer/ratio_splitter.h"
#include "gui/viewer/search_dialog.h"
#include "platform/file_faults.h"
#include "settings/memory_settings_store.h"
#include "settings/packet_viewer_settings.h"
#include "settings/value_names.h"
#include "viewer_test_support.h"

namespace qv {
namespace {

using namespace test;
using gui::PacketViewer;

class PacketViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sharedPcapFolderPresent()) GTEST_SKIP() << "shared captures not present";
    whois_ = capturedPackets("whois.pcap");
    ntp_ = capturedPackets("ntp.pcap");
    ASSERT_EQ(whois_.size(), 11U);
    ASSERT_FALSE(ntp_.empty());
  }

  // A viewer that saves to `savePath_` when asked for a file.
  std::unique_ptr<PacketViewer> open(std::vector<PacketRecord> packets, std::size_t start) {
    auto viewer = std::make_unique<PacketViewer>(std::move(packets), start, store_, [this](QWidget*, const gui::FileDialogRequest& request) {
      lastRequest_ = request;
      return savePath_;
    });
    viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    viewer->show();
    return viewer;
  }

  // Searches through the viewer's own dialog; the message shown, if any.
  static QString searchIn(PacketViewer& viewer, const QString& text, bool hex) {
    QString message;
    const ModalHandler handler([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        message = box->text();
        box->close();
        return;
      }
      auto* dialog = qobject_cast<gui::SearchDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), "Search in Packets");
      dialog->findChild<QLineEdit*>("searchText")->setText(text);
      dialog->findChild<QRadioButton*>(hex ? "hexMode" : "stringMode")->setChecked(true);
      dialog->accept();
    });
    ViewerParts(viewer).search->click();
    return message;
  }

  std::vector<PacketRecord> whois_;
  std::vector<PacketRecord> ntp_;
  settings::MemorySettingsStore store_;
  std::optional<std::string> savePath_;
  gui::FileDialogRequest lastRequest_;
};

TEST_F(PacketViewerTest, OnePacketListDisablesEveryButtonAndNextOnTheLastDoesNothing) {
  auto viewer = open({whois_[0]}, 0);
  ViewerParts parts(*viewer);
  EXPECT_EQ(viewer->windowTitle(), "Packet Viewer");
  EXPECT_EQ(parts.counter->text(), "1 / 1");
  for (QToolButton* button : {parts.first, parts.previous, parts.next, parts.last}) EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(parts.offset->text(), "0");

  auto three = open({whois_[0], whois_[1], whois_[2]}, 2);
  ViewerParts steps(*three);
  EXPECT_EQ(steps.counter->text(), "3 / 3");
  EXPECT_TRUE(steps.first->isEnabled());
  EXPECT_FALSE(steps.next->isEnabled());
  three->goNext();
  EXPECT_EQ(three->currentIndex(), 2U);
  steps.previous->click();
  EXPECT_EQ(steps.counter->text(), "2 / 3");
  three->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(three.get()));
  QTest::keyClick(three->focusWidget() ? three->focusWidget() : three.get(), Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(steps.counter->text(), "1 / 3");
  EXPECT_FALSE(steps.previous->isEnabled());
  steps.last->click();
  EXPECT_EQ(three->currentIndex(), 2U);
}

TEST_F(PacketViewerTest, TheExpandedFieldsCarryOverFromATcpToAUdpPacket) {
  auto viewer = open({whois_[3], ntp_[0]}, 0);
  ViewerParts parts(*viewer);
  QTreeWidgetItem* ipData = parts.item("Data : IP");
  ASSERT_NE(ipData, nullptr);
  parts.item("Header", ipData)->setExpanded(true);
  parts.item("Header", parts.item("Data : TCP"))->setExpanded(false);
  EXPECT_EQ(parts.expandedLabels(), (QStringList{"Ethernet", "Data : IP", "Header", "Data : TCP"}));
  parts.next->click();
  EXPECT_EQ(parts.expandedLabels(), (QStringList{"Ethernet", "Data : IP", "Header", "Data : UDP"}));
  EXPECT_EQ(parts.counter->text(), "2 / 2");
}

TEST_F(PacketViewerTest, SelectionsLinkTreeHexAndPayloadWithoutEchoes) {
  auto viewer = open({whois_[3]}, 0);
  ViewerParts parts(*viewer);
  // The source port of a TCP packet behind a 20-byte IP header: bytes 34-35,
  // the third line's columns 6 to 10.
  QTreeWidgetItem* port = parts.item("Source Port");
  ASSERT_NE(port, nullptr);
  parts.tree->setCurrentItem(port);
  QTextCursor cursor = parts.hex->textCursor();
  EXPECT_EQ(cursor.selectionStart(), 2 * 49 + 6);
  EXPECT_EQ(cursor.selectionEnd(), 2 * 49 + 11);
  const auto& frame = whois_[3].packetBytes();
  EXPECT_EQ(cursor.selectedText(), QString::asprintf("%02x %02x", frame[34], frame[35]));
  EXPECT_EQ(parts.offset->text(), "34 - 35");
  EXPECT_EQ(parts.tree->currentItem(), port);

  // A click on the second digit of byte 20 (line 1, column 13).
  cursor.setPosition(49 + 13);
  parts.hex->setTextCursor(cursor);
  EXPECT_EQ(parts.offset->text(), "20");
  // Its field: the fragment offset (the flags node covers the first digit only).
  EXPECT_TRUE(parts.tree->currentItem()->text(0).startsWith("Flagment Offset"));
  EXPECT_EQ(parts.hex->textCursor().position(), 49 + 13);  // the tree did not reselect the hex pane
  // Bytes 16 to 19.
  cursor.setPosition(49);
  cursor.setPosition(49 + 11, QTextCursor::KeepAnchor);
  parts.hex->setTextCursor(cursor);
  EXPECT_EQ(parts.offset->text(), "16 - 19");

  // The payload starts at byte 54: its first four characters are bytes 54-57.
  QTextCursor text = parts.payload->textCursor();
  text.setPosition(0);
  text.setPosition(4, QTextCursor::KeepAnchor);
  parts.payload->setTextCursor(text);
  EXPECT_EQ(parts.offset->text(), "54 - 57");
  EXPECT_EQ(parts.hex->textCursor().selectedText(),
            QString::asprintf("%02x %02x  %02x %02x", frame[54], frame[55], frame[56], frame[57]));
  EXPECT_EQ(parts.payload->textCursor().selectionEnd(), 4);
  // Positions stay byte positions across the payload's CR LF, which the pane
  // shows as one line break: its last character is the frame's last byte.
  const int shownLength = parts.payload->document()->characterCount() - 1;
  text.setPosition(shownLength - 1);
  text.setPosition(shownLength, QTextCursor::KeepAnchor);
  parts.payload->setTextCursor(text);
  EXPECT_EQ(parts.offset->text(), QString("%1 - %2").arg(frame.size() - 2).arg(frame.size() - 1));
}

TEST_F(PacketViewerTest, SearchFindsBytesInTheNextPacketsAndTheCurrentOneLast) {
  // Only the query (packet 3) holds CR LF.
  const std::vector<std::uint8_t> crlf{0x0d, 0x0a};
  const auto& query = whois_[3].packetBytes();
  const std::size_t at = static_cast<std::size_t>(std::search(query.begin(), query.end(), crlf.begin(), crlf.end()) - query.begin());
  ASSERT_LT(at, query.size());

  auto viewer = open(whois_, 5);
  ViewerParts parts(*viewer);
  EXPECT_EQ(searchIn(*viewer, "0D 0a", true), "");
  EXPECT_EQ(viewer->currentIndex(), 3U);
  EXPECT_EQ(parts.offset->text(), QString("%1 - %2").arg(at).arg(at + 1));
  EXPECT_EQ(parts.hex->textCursor().selectedText(), "0d 0a");
  EXPECT_EQ(parts.payload->textCursor().selectionStart(), static_cast<int>(at - 54));
  // The pane shows the CR LF as one line break.
  EXPECT_EQ(parts.payload->textCursor().selectedText(), QString(QChar::ParagraphSeparator));

  // From the packet itself the search goes round all others and comes back.
  parts.tree->setCurrentItem(parts.item("Ethernet"));
  EXPECT_EQ(searchIn(*viewer, "\r\n", false), "");
  EXPECT_EQ(viewer->currentIndex(), 3U);
  EXPECT_EQ(parts.offset->text(), QString("%1 - %2").arg(at).arg(at + 1));

  // Invalid hex: the message, and nothing moves.
  EXPECT_EQ(searchIn(*viewer, "0d0a", true), "Error : Invalid Hex Data");
  EXPECT_EQ(searchIn(*viewer, "0g", true), "Error : Invalid Hex Data");
  // No match: nothing moves, nothing is said.
  EXPECT_EQ(searchIn(*viewer, "no such text", false), "");
  EXPECT_EQ(viewer->currentIndex(), 3U);
}

TEST_F(PacketViewerTest, SaveToFileWritesTheNodesBytesAndReportsFailures) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  // Packet 4 is 60 bytes on the wire, 54 of them the IP datagram.
  auto viewer = open({whois_[4]}, 0);
  ViewerParts parts(*viewer);
  const auto saved = [&](const QString& node) {
    savePath_ = (folder.path() + "/" + node + ".bin").toStdString();
    parts.tree->setCurrentItem(parts.item(node));
    viewer->findChild<QAction*>("saveToFileAction")->trigger();
    std::ifstream file(*savePath_, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
  };
  const auto& frame = whois_[4].packetBytes();
  EXPECT_EQ(saved("Ethernet"), std::vector<std::uint8_t>(frame.begin(), frame.begin() + 54));
  EXPECT_EQ(lastRequest_.mode, gui::FileDialogRequest::Mode::kSave);
  EXPECT_TRUE(lastRequest_.filter.startsWith("All Files|*.*|Text Files|*.txt|"));
  EXPECT_TRUE(lastRequest_.defaultExtension.isEmpty());
  EXPECT_EQ(saved("Version"), std::vector<std::uint8_t>{frame[14]});

  const auto failure = [&](const std::string& path) {
    savePath_ = path;
    QString message;
    const ModalHandler handler([&](QWidget* box) {
      message = qobject_cast<QMessageBox*>(box)->text();
      box->close();
    });
    viewer->findChild<QAction*>("saveToFileAction")->trigger();
    return message;
  };
  EXPECT_EQ(failure(folder.path().toStdString() + "/missing/x.bin"), "File Open Error : No such file or directory");
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(failure("/dev/full"), "File Write Error : No space left on device");
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
  }
  // A write that fails half way keeps the file that was there.
  const std::string kept = folder.path().toStdString() + "/kept.bin";
  std::ofstream(kept) << "older";
  {
    const platform::ScopedFileFaultHook fault([](platform::FileStep step) { return step == platform::FileStep::kSync ? EIO : 0; });
    EXPECT_EQ(failure(kept), "File Write Error : Input/output error");
  }
  std::ifstream keptFile(kept);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(keptFile), {}), "older");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path().toStdString()), {}), 3);  // two saves and kept.bin
  // Cancel writes nothing.
  savePath_.reset();
  viewer->findChild<QAction*>("saveToFileAction")->trigger();
}

TEST_F(PacketViewerTest, CopyCommandsPutTheNodeOnTheClipboard) {
  auto viewer = open({whois_[3]}, 0);
  ViewerParts parts(*viewer);
  parts.tree->setCurrentItem(parts.item("Source Port"));
  viewer->findChild<QAction*>("copyAction")->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Source Port : "));
  viewer->findChild<QAction*>("copyBytesAsHexAction")->trigger();
  const auto& frame = whois_[3].packetBytes();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::asprintf("%02x %02x", frame[34], frame[35]));
  viewer->findChild<QAction*>("collapseAllAction")->trigger();
  EXPECT_TRUE(parts.expandedLabels().isEmpty());
  viewer->findChild<QAction*>("expandAllAction")->trigger();
  EXPECT_TRUE(parts.item("Header", parts.item("Data : TCP"))->isExpanded());
}

TEST_F(PacketViewerTest, GeometryAndSplitterAreRestoredWithinLimitsAndStoredOnClose) {
  using settings::WindowRect;
  store_.putValue(settings::names::kPacketViewerRect,
                  {settings::ValueType::kBinary, settings::encodeWindowRect(WindowRect{40, 40, 540, 340})});
  {
    auto viewer = open({whois_[0]}, 0);
    EXPECT_EQ(viewer->pos(), QPoint(10, 10));
    EXPECT_EQ(viewer->size(), QSize(673, 372));
  }
  const auto stored = settings::readPacketViewerSettings(store_);
  ASSERT_TRUE(stored && stored->rect && stored->maximized);
  EXPECT_EQ(*stored->rect, (WindowRect{10, 10, 683, 382}));
  EXPECT_FALSE(*stored->maximized);

  store_.putValue(settings::names::kPacketViewerRect,
                  {settings::ValueType::kBinary, settings::encodeWindowRect(WindowRect{1200, 30, 1900, 430})});
  auto viewer = open({whois_[0]}, 0);
  EXPECT_EQ(viewer->pos(), QPoint(100, 30));
  EXPECT_EQ(viewer->width(), 700);

  // Dragging the splitter to the very top leaves the upper panes a tenth.
  auto* splitter = viewer->findChild<gui::RatioSplitter*>("paneSplitter");
  QSplitterHandle* handle = splitter->handle(1);
  const QPoint grip = handle->rect().center();
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(handle, grip - QPoint(0, splitter->height()));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(0, splitter->height()));
  EXPECT_DOUBLE_EQ(splitter->ratio(), 0.1);
  const int panes = splitter->sizes().at(0) + splitter->sizes().at(1);
  EXPECT_NEAR(splitter->sizes().at(0), panes / 10, 1);
  viewer.reset();
  EXPECT_DOUBLE_EQ(*settings::readPacketViewerSettings(store_)->splitterRatio, 0.1);
}

TEST_F(PacketViewerTest, ScreenshotsOrAReadableHighlight) {
  auto viewer = open(whois_, 5);
  ViewerParts parts(*viewer);
  viewer->resize(900, 560);
  QTextCursor text = parts.payload->textCursor();
  text.setPosition(0);
  text.setPosition(12, QTextCursor::KeepAnchor);
  parts.payload->setTextCursor(text);
  parts.tree->setCurrentItem(parts.item("Source IP Address"));
  QApplication::processEvents();
  const QByteArray folder = qgetenv("QV_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    ASSERT_TRUE(viewer->grab().save(QString::fromLocal8Bit(folder) + "/viewer.png"));
    viewer->goFirst();
    ASSERT_TRUE(viewer->grab().save(QString::fromLocal8Bit(folder) + "/viewer-first.png"));
    gui::SearchDialog dialog({"0d 0a", SearchMode::kHex});
    dialog.show();
    ASSERT_TRUE(dialog.grab().save(QString::fromLocal8Bit(folder) + "/search-dialog.png"));
    return;
  }
  // Highlighted hex digits keep their contrast when the pane has no focus.
  const QPalette palette = parts.hex->palette();
  EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight), palette.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText),
            palette.color(QPalette::Active, QPalette::HighlightedText));
  EXPECT_TRUE(parts.hex->textCursor().hasSelection());
}

}  // namespace
}  // namespace qv
