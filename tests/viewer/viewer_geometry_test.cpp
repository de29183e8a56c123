#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "viewer/viewer_geometry.h"

namespace qv {
namespace {

using settings::WindowRect;

TEST(ViewerGeometryTest, StoredRectanglesAreKeptUsable) {
  // 500 x 300 is below the minimum size.
  EXPECT_EQ(restoredViewerRect({40, 40, 540, 340}), kViewerFallbackRect);
  EXPECT_EQ(restoredViewerRect({40, 40, 40 + 673, 40 + 371}), kViewerFallbackRect);
  EXPECT_EQ(restoredViewerRect({40, 40, 40 + 673, 40 + 372}), (WindowRect{40, 40, 713, 412}));
  // Too far right or down: moved to 100 keeping the size.
  EXPECT_EQ(restoredViewerRect({1200, 50, 1200 + 700, 450}), (WindowRect{100, 50, 800, 450}));
  EXPECT_EQ(restoredViewerRect({800, 600, 1500, 1000}), (WindowRect{800, 600, 1500, 1000}));
  EXPECT_EQ(restoredViewerRect({801, 601, 1501, 1001}), (WindowRect{100, 100, 800, 500}));
}

TEST(ViewerGeometryTest, AWindowOnAMonitorThatIsGoneMovesToTheNearestScreen) {
  const std::vector<WindowRect> screens{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  // On a screen, even partly: left alone.
  EXPECT_EQ(keepOnScreens({1800, 100, 2500, 500}, screens), (WindowRect{1800, 100, 2500, 500}));
  // Right of the second screen.
  EXPECT_EQ(keepOnScreens({3500, 100, 4200, 500}, screens), (WindowRect{2500, 100, 3200, 500}));
  // Above and left of the first.
  EXPECT_EQ(keepOnScreens({-900, -600, -200, -200}, screens), (WindowRect{0, 0, 700, 400}));
  // Larger than the screen it lands on: cut to fit.
  EXPECT_EQ(keepOnScreens({0, 2000, 1000, 4000}, std::vector<WindowRect>{{0, 0, 800, 600}}),
            (WindowRect{0, 0, 800, 600}));
  EXPECT_EQ(keepOnScreens({5000, 5000, 5700, 5400}, {}), (WindowRect{5000, 5000, 5700, 5400}));
}

TEST(ViewerGeometryTest, TheSplitterNeverLetsAPaneVanish) {
  EXPECT_DOUBLE_EQ(splitterRatioAt(0, 400), 0.1);
  EXPECT_DOUBLE_EQ(splitterRatioAt(400, 400), 0.9);
  EXPECT_DOUBLE_EQ(splitterRatioAt(100, 400), 0.25);
  EXPECT_EQ(upperPaneHeight(0.25, 400), 100);
  EXPECT_EQ(upperPaneHeight(0.0, 400), 40);
  EXPECT_EQ(upperPaneHeight(std::numeric_limits<double>::infinity(), 400), upperPaneHeight(kDefaultSplitterRatio, 400));
}

}  // namespace
}  // namespace qv
