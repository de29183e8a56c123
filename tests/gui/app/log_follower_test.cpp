#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "gui/app/log_follower.h"

namespace qv::gui {
namespace {

using namespace std::chrono_literals;

class LogFollowerTest : public ::testing::Test {
 protected:
  LogFollowerTest() : path(folder.path() + QStringLiteral("/tralog.log")) { write("first\n"); }

  void write(const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly) {
    QFile file(path);
    ASSERT_TRUE(file.open(mode));
    file.write(bytes);
  }
  void append(const QByteArray& bytes) { write(bytes, QIODevice::Append); }

  QTemporaryDir folder;
  QString path;
  LogFollower follower;
  QSignalSpy rereads{&follower, &LogFollower::reread};
  QSignalSpy pauses{&follower, &LogFollower::paused};
  QSignalSpy resumes{&follower, &LogFollower::resumed};
};

// With the defaults a user gets: an append shows within two seconds, and
// appends close together cause one read a second at most.
TEST_F(LogFollowerTest, AppendsAreReadWithinTwoSecondsAtMostOnceASecond) {
  follower.follow(path);
  EXPECT_TRUE(follower.isFollowing());
  QTest::qWait(100);
  EXPECT_EQ(rereads.count(), 0);  // nothing changed since the caller's own read
  QElapsedTimer clock;
  clock.start();
  append("second\n");
  ASSERT_TRUE(rereads.wait(2000));
  EXPECT_LT(clock.elapsed(), 2000);
  clock.restart();
  append("third\n");
  QTest::qWait(100);
  append("fourth\n");
  QTest::qWait(600);
  EXPECT_EQ(rereads.count(), 1);
  ASSERT_TRUE(rereads.wait(2000));
  EXPECT_GE(clock.elapsed(), 900);
  QTest::qWait(1200);
  EXPECT_EQ(rereads.count(), 2);  // both appends came with the one read
}

TEST_F(LogFollowerTest, PausesWhileTheFileIsGoneAndResumesWhenItIsBack) {
  follower.setMinimumInterval(100ms);
  follower.setPollInterval(50ms);
  follower.follow(path);
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(pauses.wait(2000));
  EXPECT_TRUE(follower.isPaused());
  EXPECT_EQ(pauses.takeFirst().at(0).toString(), follower.statusText());
  EXPECT_TRUE(follower.statusText().contains(path)) << follower.statusText().toStdString();
  const int readsWhileGone = static_cast<int>(rereads.count());
  QTest::qWait(300);
  EXPECT_EQ(rereads.count(), readsWhileGone);
  EXPECT_EQ(pauses.count(), 0);  // said once, not on every poll

  write("rewritten\n");
  ASSERT_TRUE(resumes.wait(2000));
  EXPECT_FALSE(follower.isPaused());
  EXPECT_TRUE(follower.statusText().isEmpty());
  ASSERT_TRUE(rereads.count() > readsWhileGone || rereads.wait(2000));
  // The restored file is watched again.
  const int readsAfter = static_cast<int>(rereads.count());
  QTest::qWait(200);
  append("more\n");
  ASSERT_TRUE(rereads.count() > readsAfter || rereads.wait(2000));
}

TEST_F(LogFollowerTest, AnUnreadableFilePausesAndStopEndsAll) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads any file";
  follower.setMinimumInterval(100ms);
  follower.setPollInterval(50ms);
  follower.follow(path);
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
  ASSERT_TRUE(pauses.wait(2000));
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  ASSERT_TRUE(resumes.wait(2000));
  follower.stop();
  EXPECT_FALSE(follower.isFollowing());
  const int reads = static_cast<int>(rereads.count());
  append("after stop\n");
  QTest::qWait(300);
  EXPECT_EQ(rereads.count(), reads);
}

}  // namespace
}  // namespace qv::gui
