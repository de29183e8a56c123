#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <string>
#include <vector>

#include "gui/views/timeline_strip.h"

namespace qv::gui {
namespace {

TimelinePoint pointAt(std::string_view text, bool blocked) { return {wallClockSecondsOf(text), blocked}; }

// A morning of traffic: a blocked burst at 10:00, a quiet hour, mixed events later.
std::vector<TimelinePoint> morning() {
  std::vector<TimelinePoint> points;
  for (int i = 0; i < 40; ++i) points.push_back(pointAt("2004/03/10 10:00:" + std::to_string(10 + i), true));
  for (int i = 0; i < 25; ++i) points.push_back(pointAt("2004/03/10 11:" + std::to_string(10 + i) + ":00", i % 3 == 0));
  points.push_back(pointAt("No Data", true));
  for (int i = 0; i < 12; ++i) points.push_back(pointAt("2004/03/10 12:" + std::to_string(20 + i) + ":30", false));
  return points;
}

class TimelineStripTest : public ::testing::Test {
 protected:
  TimelineStripTest() {
    strip.resize(640, strip.sizeHint().height());
    strip.setPoints(morning());
    strip.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&strip));
    QObject::connect(&strip, &TimelineStrip::rowsChosen, [this](const std::vector<std::size_t>& rows) {
      chosen.push_back(rows);
    });
  }

  QPoint centreOf(std::size_t bucket) const { return strip.barArea(bucket).center().toPoint(); }

  // The bucket that holds a row.
  std::size_t bucketOf(std::size_t row) const { return strip.timeline().bucketOfRow.at(row); }

  TimelineStrip strip;
  std::vector<std::vector<std::size_t>> chosen;
};

TEST_F(TimelineStripTest, AClickChoosesTheBarsEvents) {
  const Timeline& timeline = strip.timeline();
  ASSERT_FALSE(timeline.empty());
  EXPECT_LE(timeline.buckets.size(), 640u / 6);
  const std::size_t burst = bucketOf(0);
  QTest::mouseClick(&strip, Qt::LeftButton, {}, centreOf(burst));
  ASSERT_EQ(chosen.size(), 1u);
  std::vector<std::size_t> expected;
  for (std::size_t row = 0; row < 65; ++row) {
    if (bucketOf(row) == burst) expected.push_back(row);
  }
  EXPECT_EQ(chosen[0], expected);
  EXPECT_EQ(chosen[0].front(), 0u);
  for (std::size_t row : chosen[0]) EXPECT_LT(row, 40u);
}

TEST_F(TimelineStripTest, ADragChoosesTheSpansEventsInRowOrder) {
  const std::size_t from = bucketOf(40);  // 11:10
  const std::size_t to = bucketOf(77);    // 12:31:30
  QTest::mousePress(&strip, Qt::LeftButton, {}, centreOf(to));
  QTest::mouseMove(&strip, centreOf((from + to) / 2));
  QTest::mouseRelease(&strip, Qt::LeftButton, {}, centreOf(from));
  ASSERT_EQ(chosen.size(), 1u);
  std::vector<std::size_t> expected;
  for (std::size_t row = 40; row < 78; ++row) {
    if (row != 65) expected.push_back(row);  // "No Data" has no time
  }
  EXPECT_EQ(chosen[0], expected);
}

TEST_F(TimelineStripTest, EmptyOrNoTimesDrawNothingToChoose) {
  strip.setPoints({pointAt("Time Error", true)});
  EXPECT_TRUE(strip.timeline().empty());
  QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(strip.width() / 2, strip.height() / 3));
  EXPECT_TRUE(chosen.empty());  // the list keeps its selection
  EXPECT_FALSE(strip.grab().isNull());
}

// Saves the strip as it looks when QV_SCREENSHOT_DIR names a folder (run it
// with QT_STYLE_OVERRIDE=Adwaita-Dark and QT_SCALE_FACTOR=2 as well).
TEST_F(TimelineStripTest, Screenshot) {
  const QString folder = qEnvironmentVariable("QV_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "QV_SCREENSHOT_DIR is not set";
  QDir().mkpath(folder);
  const QString style = qEnvironmentVariable("QT_STYLE_OVERRIDE", QStringLiteral("plain"));
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
  QTest::mousePress(&strip, Qt::LeftButton, {}, centreOf(bucketOf(40)));
  QTest::mouseMove(&strip, centreOf(bucketOf(60)));
  ASSERT_TRUE(strip.grab().save(folder + QStringLiteral("/timeline-%1-x%2.png").arg(style, scale)));
  QTest::mouseRelease(&strip, Qt::LeftButton, {}, centreOf(bucketOf(60)));
}

}  // namespace
}  // namespace qv::gui
