#include "settings/main_window_settings.h"

#include "settings/value_names.h"

#include <algorithm>

namespace qv::settings {
namespace {

template <std::size_t N>
void readColumnWidths(const SettingsKey& key, std::string_view name, std::array<std::optional<std::int32_t>, N>& out) {
  const auto bytes = key.readBinary(name, 4 * N);
  if (!bytes) return;
  const std::vector<std::int32_t> widths = decodeColumnValues(*bytes, N);
  for (std::size_t i = 0; i < N; ++i) {
    if (isApplicableColumnWidth(widths[i])) out[i] = widths[i];
  }
}

template <std::size_t N>
std::optional<std::array<std::int32_t, N>> readColumnOrder(const SettingsKey& key, std::string_view name) {
  const auto bytes = key.readBinary(name, 4 * N);
  if (!bytes) return std::nullopt;
  const std::vector<std::int32_t> order = decodeColumnValues(*bytes, N);
  if (!isColumnOrder(order)) return std::nullopt;
  std::array<std::int32_t, N> result{};
  std::copy(order.begin(), order.end(), result.begin());
  return result;
}

}  // namespace

WriteChainResult writeMainWindowSettings(SettingsStore& store, const MainWindowClosingState& state) {
  const QuickFilterTexts& texts = state.texts;
  return WriteChain(store)
      .number(names::kCheckBoxes, encodeQuickFilterChecks(state.checks))
      .binary(names::kTrafficColumnWidths, encodeColumnValues(state.trafficColumnWidths))
      .binary(names::kPacketColumnWidths, encodeColumnValues(state.packetColumnWidths))
      .number(names::kFontSize, static_cast<std::uint32_t>(state.fontSize))
      .binary(names::kTrafficColumnOrder, encodeColumnValues(state.trafficColumnOrder))
      .binary(names::kPacketColumnOrder, encodeColumnValues(state.packetColumnOrder))
      .binary(names::kWindowRect, encodeWindowRect(state.normalRect))
      .number(names::kWindowMaximized, state.maximized ? 1 : 0)
      .text(names::kTimeText, texts.time)
      .text(names::kRemoteIpText, texts.remoteIp)
      .text(names::kRemotePortText, texts.remotePort)
      .text(names::kLocalIpText, texts.localIp)
      .text(names::kLocalPortText, texts.localPort)
      .text(names::kAppNameText, texts.appName)
      .text(names::kRuleNameText, texts.ruleName)
      .finish();
}

std::optional<MainWindowStoredState> readMainWindowSettings(const SettingsStore& store) {
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return std::nullopt;
  MainWindowStoredState stored;
  stored.time = key->readText(names::kTimeText);
  stored.remoteIp = key->readText(names::kRemoteIpText);
  stored.remotePort = key->readText(names::kRemotePortText);
  stored.localIp = key->readText(names::kLocalIpText);
  stored.localPort = key->readText(names::kLocalPortText);
  stored.appName = key->readText(names::kAppNameText);
  stored.ruleName = key->readText(names::kRuleNameText);
  if (const auto bits = key->readNumber(names::kCheckBoxes)) stored.checks = decodeQuickFilterChecks(*bits);
  readColumnWidths(*key, names::kTrafficColumnWidths, stored.trafficColumnWidths);
  readColumnWidths(*key, names::kPacketColumnWidths, stored.packetColumnWidths);
  stored.trafficColumnOrder = readColumnOrder<kTrafficColumnCount>(*key, names::kTrafficColumnOrder);
  stored.packetColumnOrder = readColumnOrder<kPacketColumnCount>(*key, names::kPacketColumnOrder);
  if (const auto bytes = key->readBinary(names::kFontFace, kFontDescriptionBytes)) {
    stored.fontFace = decodeFontDescription(*bytes);
  }
  if (const auto size = key->readNumber(names::kFontSize)) stored.fontSize = static_cast<std::int32_t>(*size);
  if (const auto bytes = key->readBinary(names::kWindowRect, kWindowRectBytes)) {
    stored.windowRect = decodeWindowRect(*bytes);
  }
  if (const auto bits = key->readNumber(names::kWindowMaximized)) stored.maximized = (*bits & 1U) != 0;
  if (const auto bits = key->readNumber(names::kStartMinimized)) stored.startMinimized = (*bits & 1U) != 0;
  if (const auto bits = key->readNumber(names::kViewStyle)) stored.viewStyle = decodeViewStyle(*bits);
  stored.backgroundColor = key->readNumber(names::kBackgroundColor);
  stored.textColor = key->readNumber(names::kTextColor);
  return stored;
}

bool writeFontFace(SettingsStore& store, const FontDescription& font) {
  return WriteChain(store).binary(names::kFontFace, encodeFontDescription(font)).finish().complete();
}

std::optional<ListAppearance> startupListAppearance(const MainWindowStoredState& stored) {
  if (!stored.textColor) return std::nullopt;
  ListAppearance appearance;
  if (stored.viewStyle) {
    appearance.gridlines = stored.viewStyle->gridlines;
    appearance.hotTracking = stored.viewStyle->hotTracking;
  }
  appearance.backgroundColor = stored.backgroundColor.value_or(0xFFFFFF);
  appearance.textColor = *stored.textColor;
  return appearance;
}

bool clearDataOnMinimize(const SettingsStore& store) {
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return true;
  const std::optional<std::uint32_t> value = key->readNumber(names::kClearData);
  return !value || *value != 0;
}

bool timelineShown(const SettingsStore& store) {
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return false;
  const std::optional<std::uint32_t> value = key->readNumber(names::kTimelineShown);
  return value && *value != 0;
}

bool writeTimelineShown(SettingsStore& store, bool shown) {
  return WriteChain(store).number(names::kTimelineShown, shown ? 1 : 0).finish().complete();
}

}  // namespace qv::settings
