#include "viewer/viewer_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qv {

using settings::WindowRect;

namespace {

constexpr std::int32_t kLeftLimit = 800;
constexpr std::int32_t kTopLimit = 600;
constexpr std::int32_t kMovedCoordinate = 100;

bool intersects(const WindowRect& a, const WindowRect& b) noexcept {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Squared distance between two rectangles (0 when they touch or overlap).
std::int64_t distanceSquared(const WindowRect& a, const WindowRect& b) noexcept {
  const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
  const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
  return dx * dx + dy * dy;
}

// Moves [low, low + size) into [min, max), keeping the size when it fits.
std::int32_t placeWithin(std::int32_t low, std::int32_t size, std::int32_t min, std::int32_t max) noexcept {
  if (low + size > max) low = max - size;
  return std::max(low, min);
}

}  // namespace

WindowRect restoredViewerRect(WindowRect stored) noexcept {
  WindowRect rect = stored;
  if (rect.width() < kViewerMinimumWidth || rect.height() < kViewerMinimumHeight) rect = kViewerFallbackRect;
  if (rect.left > kLeftLimit) {
    const std::int32_t width = rect.width();
    rect.left = kMovedCoordinate;
    rect.right = kMovedCoordinate + width;
  }
  if (rect.top > kTopLimit) {
    const std::int32_t height = rect.height();
    rect.top = kMovedCoordinate;
    rect.bottom = kMovedCoordinate + height;
  }
  return rect;
}

WindowRect keepOnScreens(WindowRect rect, std::span<const WindowRect> screens) noexcept {
  if (screens.empty()) return rect;
  for (const WindowRect& screen : screens) {
    if (intersects(rect, screen)) return rect;
  }
  const WindowRect* nearest = &screens.front();
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const WindowRect& screen : screens) {
    const std::int64_t distance = distanceSquared(rect, screen);
    if (distance < best) {
      best = distance;
      nearest = &screen;
    }
  }
  const std::int32_t width = std::min(rect.width(), nearest->width());
  const std::int32_t height = std::min(rect.height(), nearest->height());
  WindowRect moved;
  moved.left = placeWithin(rect.left, width, nearest->left, nearest->right);
  moved.top = placeWithin(rect.top, height, nearest->top, nearest->bottom);
  moved.right = moved.left + width;
  moved.bottom = moved.top + height;
  return moved;
}

double splitterRatioAt(int upperHeight, int totalHeight) noexcept {
  if (totalHeight <= 0) return kDefaultSplitterRatio;
  const double ratio = static_cast<double>(upperHeight) / totalHeight;
  return std::clamp(ratio, kMinimumSplitterRatio, kMaximumSplitterRatio);
}

int upperPaneHeight(double ratio, int totalHeight) noexcept {
  if (!std::isfinite(ratio)) ratio = kDefaultSplitterRatio;
  const double clamped = std::clamp(ratio, kMinimumSplitterRatio, kMaximumSplitterRatio);
  return static_cast<int>(std::lround(clamped * std::max(totalHeight, 0)));
}

}  // namespace qv
