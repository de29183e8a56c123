#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include "gui/viewer/packet_viewer_slot.h"
#include "gui/viewer/search_dialog.h"
#include "settings/memory_settings_store.h"
#include "viewer_test_support.h"

namespace qv {
namespace {

using namespace test;

class PacketViewerSlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sharedPcapFolderPresent()) GTEST_SKIP() << "shared captures not present";
    // The whois exchange with the NTP packets interleaved.
    const auto whois = capturedPackets("whois.pcap");
    const auto ntp = capturedPackets("ntp.pcap");
    std::vector<PacketRecord> rows;
    for (std::size_t i = 0; i < std::max(whois.size(), ntp.size()); ++i) {
      if (i < whois.size()) rows.push_back(whois[i]);
      if (i < ntp.size()) rows.push_back(ntp[i]);
    }
    shown_ = shownListOf(std::move(rows));
  }


  QWidget list_;
  settings::MemorySettingsStore store_;
  gui::PacketViewerSlot slot_{&list_, store_, gui::FileChooser{}};
  PacketShownList shown_;
};

TEST_F(PacketViewerSlotTest, OneRowOpensItsConversationOnIt) {
  // Row 6 is whois packet 3 (the query); the exchange has 11 packets.
  ASSERT_EQ(shown_[6].protocol, "TCP");
  gui::PacketViewer* viewer = slot_.openOnSelection(shown_, std::vector<RowIndex>{6});
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->packetCount(), 11U);
  // Bottom to top: the last whois packet first, so the query sits at 11 - 1 - 3.
  EXPECT_EQ(viewer->currentIndex(), 7U);
  EXPECT_EQ(ViewerParts(*viewer).counter->text(), "8 / 11");
  EXPECT_EQ(slot_.viewer(), viewer);
}

TEST_F(PacketViewerSlotTest, SeveralRowsOpenExactlyThoseHighestFirst) {
  gui::PacketViewer* viewer = slot_.openOnSelection(shown_, std::vector<RowIndex>{3, 9, 7});
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->packetCount(), 3U);
  EXPECT_EQ(viewer->currentIndex(), 0U);
  EXPECT_EQ(viewer->findChild<QLabel*>("timeLabel")->text().toStdString(), shown_[9].time.str());
  viewer->goNext();
  EXPECT_EQ(viewer->findChild<QLabel*>("timeLabel")->text().toStdString(), shown_[7].time.str());
  EXPECT_EQ(slot_.openOnSelection(shown_, {}), nullptr);
  EXPECT_EQ(slot_.viewer(), viewer);  // no selection leaves the open viewer alone
}

TEST_F(PacketViewerSlotTest, ARefreshOrANewOpeningClosesTheViewerAndClosingForgetsIt) {
  QPointer<gui::PacketViewer> first = slot_.openOnSelection(shown_, std::vector<RowIndex>{0});
  ASSERT_TRUE(first);
  QPointer<gui::PacketViewer> second = slot_.openOnSelection(shown_, std::vector<RowIndex>{1});
  EXPECT_FALSE(first);
  ASSERT_TRUE(second);
  slot_.close();
  EXPECT_FALSE(second);
  EXPECT_EQ(slot_.viewer(), nullptr);
  // Closed by the user (Escape): the window deletes itself and the slot forgets it.
  QPointer<gui::PacketViewer> third = slot_.openOnSelection(shown_, std::vector<RowIndex>{2});
  QTest::keyClick(third.data(), Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(third);
  EXPECT_EQ(slot_.viewer(), nullptr);
  // Every close stored the geometry.
  EXPECT_TRUE(store_.storedValue("PctVwDlgWndSize").has_value());
}

TEST_F(PacketViewerSlotTest, SearchInPacketsOpensTheFoundRowsConversationOnTheBytes) {
  gui::SearchRequest last;
  const auto run = [&](std::optional<RowIndex> selected, const QString& text, SearchMode mode) {
    QString message;
    const ModalHandler handler([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        message = box->text();
        box->close();
        return;
      }
      auto* dialog = qobject_cast<gui::SearchDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->request().text, last.text);  // the last text comes back
      dialog->findChild<QLineEdit*>("searchText")->setText(text);
      dialog->findChild<QRadioButton*>(mode == SearchMode::kHex ? "hexMode" : "stringMode")->setChecked(true);
      dialog->accept();
    });
    const auto row = slot_.searchInPackets(shown_, selected, last);
    return std::make_pair(row, message);
  };
  // CR LF is only in the query (row 6); from row 10 the search wraps round to it.
  const auto [row, message] = run(RowIndex{10}, "0d 0a", SearchMode::kHex);
  EXPECT_EQ(row, RowIndex{6});
  EXPECT_EQ(message, "");
  EXPECT_EQ(last.text, "0d 0a");
  EXPECT_EQ(last.mode, SearchMode::kHex);
  ASSERT_NE(slot_.viewer(), nullptr);
  EXPECT_EQ(slot_.viewer()->currentIndex(), 7U);
  EXPECT_EQ(slot_.viewer()->findChild<QPlainTextEdit*>("hexPane")->textCursor().selectedText(), "0d 0a");

  const auto [invalid, error] = run(std::nullopt, "0d0a", SearchMode::kHex);
  EXPECT_FALSE(invalid);
  EXPECT_EQ(error, "Error : Invalid Hex Data");
  const auto [none, silent] = run(std::nullopt, "not in any packet", SearchMode::kString);
  EXPECT_FALSE(none);
  EXPECT_EQ(silent, "");
}

}  // namespace
}  // namespace qv
