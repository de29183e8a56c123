#pragma once

#include "settings/settings_codecs.h"
#include "settings/settings_store.h"
#include "settings/write_chain.h"

#include <optional>

namespace qv::settings {

// What the packet viewer stores when it is destroyed.
struct PacketViewerClosingState {
  WindowRect normalRect;
  bool maximized = false;
  double splitterRatio = 0.5;
};

// The close chain: "PctVwDlgWndSize", "PctVwDlgWndMax" (1 or 0),
// "PctVwDlgHorLineRatio"; stops at the first failed write.
WriteChainResult writePacketViewerSettings(SettingsStore& store, const PacketViewerClosingState& state);

// What the packet viewer restores when it opens; each field is empty when
// its value is missing or unusable. The rectangle is as stored: the viewer
// applies its own size and position limits.
struct PacketViewerStoredState {
  std::optional<WindowRect> rect;
  // Bit 0 of "PctVwDlgWndMax".
  std::optional<bool> maximized;
  // Only a finite ratio within 0 to 1 is given: anything else would place
  // the splitter outside the window.
  std::optional<double> splitterRatio;
};

// Nullopt when the settings key does not exist.
std::optional<PacketViewerStoredState> readPacketViewerSettings(const SettingsStore& store);

}  // namespace qv::settings
