#include <gtest/gtest.h>

#include "viewer/viewer_navigation.h"

namespace qv {
namespace {

TEST(ViewerNavigationTest, OnePacketDisablesEveryButton) {
  ViewerNavigation navigation(1, 0);
  EXPECT_EQ(navigation.buttons(), (NavigationButtons{false, false, false, false}));
  EXPECT_EQ(navigation.counterText(), "1 / 1");
  EXPECT_FALSE(navigation.first());
  EXPECT_FALSE(navigation.previous());
  EXPECT_FALSE(navigation.next());
  EXPECT_FALSE(navigation.last());
  EXPECT_EQ(navigation.index(), 0U);
}

TEST(ViewerNavigationTest, StepsStopAtBothEnds) {
  ViewerNavigation navigation(3, 1);
  EXPECT_EQ(navigation.buttons(), (NavigationButtons{true, true, true, true}));
  EXPECT_EQ(navigation.counterText(), "2 / 3");
  EXPECT_EQ(navigation.next(), 2U);
  EXPECT_EQ(navigation.buttons(), (NavigationButtons{true, true, false, false}));
  EXPECT_FALSE(navigation.next());
  EXPECT_FALSE(navigation.last());
  EXPECT_EQ(navigation.index(), 2U);
  EXPECT_EQ(navigation.first(), 0U);
  EXPECT_EQ(navigation.buttons(), (NavigationButtons{false, false, true, true}));
  EXPECT_FALSE(navigation.previous());
  EXPECT_EQ(navigation.last(), 2U);
  EXPECT_EQ(navigation.counterText(), "3 / 3");
  EXPECT_FALSE(navigation.moveTo(3));
  EXPECT_EQ(navigation.moveTo(1), 1U);
}

TEST(ViewerNavigationTest, AStartBeyondTheListShowsTheLastPacket) {
  const ViewerNavigation navigation(4, 9);
  EXPECT_EQ(navigation.index(), 3U);
  EXPECT_EQ(navigation.counterText(), "4 / 4");
}

}  // namespace
}  // namespace qv
