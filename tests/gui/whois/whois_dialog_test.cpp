#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <string>

#include "gui/whois/whois_dialog.h"
#include "settings/settings_store.h"
#include "whois_server/loopback_whois_server.h"
#include "whois_server/registry_answers.h"

namespace qv::gui {
namespace {

using qv::test::CannedReply;
using qv::test::LoopbackWhoisServer;
namespace canned = qv::test::answers;

class WhoisDialogTest : public ::testing::Test {
 protected:
  static CannedReply arin(const std::string& query) {
    if (query == "193.0.0.1") return CannedReply::answer(canned::arinOrgRecord("RIPE", "RIPE NCC"));
    if (query == "silent") return CannedReply::silent();
    if (query == "flood") return CannedReply::flood(std::size_t{10} * 1024 * 1024);
    return CannedReply::answer("No match found for " + query + ".\n# ARIN WHOIS database\n");
  }

  LoopbackWhoisServer server{{
      {"arin", arin},
      {"ripe", [](const std::string&) { return CannedReply::answer(std::string(canned::kRipeInetnum)); }},
  }};

  whois::WhoisServers servers() const {
    whois::WhoisServers result;
    result.setAddress(whois::ServerId::kArin, *whois::parseServerAddress(server.address("arin")));
    result.setAddress(whois::ServerId::kRipe, *whois::parseServerAddress(server.address("ripe")));
    return result;
  }

  static void waitForEnd(WhoisDialog& dialog) {
    QSignalSpy finished(&dialog, &WhoisDialog::chainFinished);
    if (dialog.isRunning()) {
      ASSERT_TRUE(finished.wait(10000));
    }
  }

  // Saves the dialog as it looks when QV_SCREENSHOT_DIR names a folder.
  static void saveShot(WhoisDialog& dialog, const QString& name) {
    const QString folder = qEnvironmentVariable("QV_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    ASSERT_TRUE(dialog.grab().save(folder + u'/' + name + QStringLiteral(".png")));
  }
};

TEST_F(WhoisDialogTest, ShowsTheReferredRegistrysAnswerAsCentralEuropeanText) {
  WhoisDialog dialog("193.0.0.1", servers());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "whois");
  EXPECT_TRUE(dialog.isModal());
  EXPECT_EQ(dialog.statusText().toStdString(), "Connecting to " + server.address("arin") + "\xE2\x80\xA6");
  waitForEnd(dialog);
  const QString answer = dialog.answerText();
  EXPECT_TRUE(answer.startsWith(u"% This is the RIPE Whois query server #1.\n% The objects are in RPSL format.\n\n"));
  EXPECT_TRUE(answer.contains(QStringLiteral("descr:        \u0141\u00F3d\u017A\n"))) << answer.toStdString();
  EXPECT_FALSE(answer.contains(u"OrgID:"));
  EXPECT_EQ(dialog.statusText().toStdString(), "Answer from " + server.address("ripe"));
  EXPECT_EQ(server.queries().size(), 2u);
  saveShot(dialog, QStringLiteral("whois-answer"));
}

TEST_F(WhoisDialogTest, SaysWhyTheChainStopped) {
  const std::string refused = "127.0.0.1:" + std::to_string(LoopbackWhoisServer::refusedPort());
  whois::WhoisServers unreachable = servers();
  unreachable.setAddress(whois::ServerId::kRipe, *whois::parseServerAddress(refused));
  {
    WhoisDialog dialog("193.0.0.1", unreachable);
    dialog.show();
    waitForEnd(dialog);
    EXPECT_EQ(dialog.answerText(), "");
    EXPECT_EQ(dialog.statusText().toStdString(), "Could not reach " + refused + " : Connection refused");
    saveShot(dialog, QStringLiteral("whois-refused"));
  }
  {
    whois::WhoisLimits limits;
    limits.silenceLimit = std::chrono::milliseconds(300);
    WhoisDialog dialog("silent", servers(), limits);
    dialog.show();
    waitForEnd(dialog);
    EXPECT_EQ(dialog.statusText().toStdString(), "No answer from " + server.address("arin") + " in 0.3 s");
  }
  {
    WhoisDialog dialog("flood", servers());
    dialog.show();
    waitForEnd(dialog);
    EXPECT_EQ(dialog.statusText().toStdString(), "Answer from " + server.address("arin") + " cut at 4 MiB");
    EXPECT_TRUE(dialog.answerText().endsWith(u"the rest was dropped.]\n"));
  }
}

TEST_F(WhoisDialogTest, OkClosesTheDialogAndAbandonsTheChain) {
  WhoisDialog dialog("silent", servers());
  dialog.show();
  QTRY_VERIFY_WITH_TIMEOUT(server.queries().size() == 1, 5000);
  EXPECT_TRUE(dialog.isRunning());
  QTRY_COMPARE_WITH_TIMEOUT(dialog.statusText(), QString::fromStdString("Waiting for " + server.address("arin") + "\u2026"), 5000);
  saveShot(dialog, QStringLiteral("whois-waiting"));
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  // The abandoned connection was closed: the server takes the next query at once.
  WhoisDialog next("8.8.8.8", servers());
  next.show();
  waitForEnd(next);
  EXPECT_EQ(next.answerText(), "No match found for 8.8.8.8.\n# ARIN WHOIS database\n");
}

TEST_F(WhoisDialogTest, RunsModallyWithTheServersOfTheUserSettings) {
  {
    const auto store = settings::openUserSettingsStore();
    const auto key = store->createForWriting();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->writeText("WhoisARIN", server.address("arin")));
    ASSERT_TRUE(key->writeText("WhoisRIPE", server.address("ripe")));
    ASSERT_TRUE(key->close());
  }
  QString shown;
  QTimer poll;
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<WhoisDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    // Never let a broken chain hold the test.
    if (clock.elapsed() > 10000) dialog->reject();
    if (dialog->isRunning()) return;
    shown = dialog->answerText();
    dialog->accept();
  });
  poll.start(20);
  WhoisDialog::runModal("193.0.0.1", nullptr);
  EXPECT_TRUE(shown.startsWith(u"% This is the RIPE Whois query server #1.\n"));
  EXPECT_EQ(server.queries().size(), 2u);
}

}  // namespace
}  // namespace qv::gui
