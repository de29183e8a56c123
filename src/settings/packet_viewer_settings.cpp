#include "settings/packet_viewer_settings.h"

#include "settings/value_names.h"

#include <cmath>

namespace qv::settings {

WriteChainResult writePacketViewerSettings(SettingsStore& store, const PacketViewerClosingState& state) {
  return WriteChain(store)
      .binary(names::kPacketViewerRect, encodeWindowRect(state.normalRect))
      .number(names::kPacketViewerMaximized, state.maximized ? 1 : 0)
      .binary(names::kPacketViewerSplitterRatio, encodeSplitterRatio(state.splitterRatio))
      .finish();
}

std::optional<PacketViewerStoredState> readPacketViewerSettings(const SettingsStore& store) {
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return std::nullopt;
  PacketViewerStoredState stored;
  if (const auto bytes = key->readBinary(names::kPacketViewerRect, kWindowRectBytes)) {
    stored.rect = decodeWindowRect(*bytes);
  }
  if (const auto bits = key->readNumber(names::kPacketViewerMaximized)) stored.maximized = (*bits & 1U) != 0;
  if (const auto bytes = key->readBinary(names::kPacketViewerSplitterRatio, kSplitterRatioBytes)) {
    const double ratio = decodeSplitterRatio(*bytes);
    if (std::isfinite(ratio) && ratio >= 0.0 && ratio <= 1.0) stored.splitterRatio = ratio;
  }
  return stored;
}

}  // namespace qv::settings
