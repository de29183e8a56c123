#pragma once

#include <span>

#include "settings/settings_codecs.h"

namespace qv {

// The smallest window the viewer allows, and where a stored rectangle
// smaller than that is replaced.
inline constexpr int kViewerMinimumWidth = 673;
inline constexpr int kViewerMinimumHeight = 372;
inline constexpr settings::WindowRect kViewerFallbackRect{10, 10, 683, 382};

// The stored rectangle as the viewer reopens on it: too small a rectangle
// becomes kViewerFallbackRect; one whose left is beyond 800 (or top beyond
// 600) moves to 100 there, keeping its size.
settings::WindowRect restoredViewerRect(settings::WindowRect stored) noexcept;

// A rectangle that touches none of the screens (a monitor that has gone)
// moves onto the nearest one, keeping its size where the screen allows;
// one on a screen stays where it is. No screens: unchanged.
settings::WindowRect keepOnScreens(settings::WindowRect rect, std::span<const settings::WindowRect> screens) noexcept;

// The splitter's share of the height for the upper panes, for a splitter
// the user leaves at `upperHeight` of `totalHeight`: always within 0.1 to 0.9
// so that neither side can vanish.
inline constexpr double kMinimumSplitterRatio = 0.1;
inline constexpr double kMaximumSplitterRatio = 0.9;
double splitterRatioAt(int upperHeight, int totalHeight) noexcept;

// The upper panes' height for a ratio (a stored ratio is clamped the same way).
int upperPaneHeight(double ratio, int totalHeight) noexcept;

// The ratio before the user has moved the splitter: where the window's first
// layout puts it, about two thirds down.
inline constexpr double kDefaultSplitterRatio = 0.643;

}  // namespace qv
