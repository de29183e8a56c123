// Feeds stored values of any length to every settings codec and to the
// readers of each window's settings. A value that decodes must encode to
// bytes that decode the same, and encoding never grows past the layout's size.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "settings/main_window_settings.h"
#include "settings/memory_settings_store.h"
#include "settings/options_settings.h"
#include "settings/packet_viewer_settings.h"
#include "settings/settings_codecs.h"
#include "settings/value_names.h"
#include "settings/whois_settings.h"

namespace {

namespace s = qv::settings;

void check(bool condition) {
  if (!condition) std::abort();
}

std::uint32_t firstWord(std::span<const std::uint8_t> bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return value;
}

void checkCodecs(std::span<const std::uint8_t> bytes) {
  const s::WindowRect rect = s::decodeWindowRect(bytes);
  const auto rectBytes = s::encodeWindowRect(rect);
  check(rectBytes.size() == s::kWindowRectBytes && s::decodeWindowRect(rectBytes) == rect);

  for (const std::size_t count : {s::kTrafficColumnCount, s::kPacketColumnCount}) {
    const auto values = s::decodeColumnValues(bytes, count);
    check(values.size() == count);
    const auto encoded = s::encodeColumnValues(values);
    check(encoded.size() == 4 * count && s::decodeColumnValues(encoded, count) == values);
    if (s::isColumnOrder(values)) {
      for (const std::int32_t column : values) check(column >= 0 && static_cast<std::size_t>(column) < count);
    }
  }

  // A stored name that fills its field without a terminator reads whole and
  // is cut by one byte when stored again; from then on it stays the same.
  const s::FontDescription font = s::decodeFontDescription(bytes);
  check(font.faceName.size() <= s::kFaceNameBytes && font.faceName.find('\0') == std::string::npos);
  const auto fontBytes = s::encodeFontDescription(font);
  check(fontBytes.size() == s::kFontDescriptionBytes);
  const s::FontDescription reread = s::decodeFontDescription(fontBytes);
  check(reread.faceName == font.faceName.substr(0, s::kFaceNameBytes - 1));
  check(s::encodeFontDescription(reread) == fontBytes);
  s::FontDescription sameFace = font;
  sameFace.faceName = reread.faceName;
  check(reread == sameFace);

  // NaN never equals itself: compare the bits.
  const double ratio = s::decodeSplitterRatio(bytes);
  const auto ratioBytes = s::encodeSplitterRatio(ratio);
  check(ratioBytes.size() == s::kSplitterRatioBytes &&
        std::bit_cast<std::uint64_t>(s::decodeSplitterRatio(ratioBytes)) == std::bit_cast<std::uint64_t>(ratio));

  const std::uint32_t word = firstWord(bytes);
  const s::QuickFilterChecks checks = s::decodeQuickFilterChecks(word);
  check(s::decodeQuickFilterChecks(s::encodeQuickFilterChecks(checks)) == checks);
  const s::ViewStyle style = s::decodeViewStyle(word);
  check(s::decodeViewStyle(s::encodeViewStyle(style)) == style);
  const s::RgbColor color = s::decodeColor(word);
  check(s::decodeColor(s::encodeColor(color)) == color && s::encodeColor(color) <= 0xFFFFFF);
}

// Every named value holds a slice of the input, its type chosen by a byte.
void fillStore(s::MemorySettingsStore& store, std::span<const std::uint8_t> bytes) {
  static constexpr std::string_view kNames[] = {
      s::names::kTimeText, s::names::kRemoteIpText, s::names::kRemotePortText, s::names::kLocalIpText,
      s::names::kLocalPortText, s::names::kAppNameText, s::names::kRuleNameText, s::names::kCheckBoxes,
      s::names::kTrafficColumnWidths, s::names::kPacketColumnWidths, s::names::kTrafficColumnOrder,
      s::names::kPacketColumnOrder, s::names::kFontFace, s::names::kFontSize, s::names::kWindowRect,
      s::names::kWindowMaximized, s::names::kStartMinimized, s::names::kViewStyle, s::names::kBackgroundColor,
      s::names::kTextColor, s::names::kClearData, s::names::kRegisterAutorun, s::names::kTrafficLogPath,
      s::names::kPacketLogPath, s::names::kPacketViewerRect, s::names::kPacketViewerMaximized,
      s::names::kPacketViewerSplitterRatio, s::names::kWhoisArinServer, s::names::kWhoisApnicServer,
      s::names::kWhoisLacnicServer, s::names::kWhoisRipeServer, s::names::kWhoisIpv6Server};
  std::size_t at = 0;
  for (const std::string_view name : kNames) {
    if (at + 2 > bytes.size()) break;
    const auto type = static_cast<s::ValueType>(bytes[at] % 3);
    const std::size_t length = bytes[at + 1] % 80;
    at += 2;
    const std::size_t taken = length < bytes.size() - at ? length : bytes.size() - at;
    store.putValue(name, s::StoredValue{type, {bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                               bytes.begin() + static_cast<std::ptrdiff_t>(at + taken)}});
    at += taken;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  checkCodecs(bytes);

  s::MemorySettingsStore store;
  fillStore(store, bytes);
  (void)s::readMainWindowSettings(store);
  (void)s::readPacketViewerSettings(store);
  (void)s::readOptionsSettings(store);
  (void)s::readWhoisServers(store);
  (void)s::clearDataOnMinimize(store);
  if (const auto key = store.openForReading()) {
    if (const auto text = key->readText(s::names::kTimeText)) {
      check(text->size() < s::kMaxTextReadBytes && text->find('\0') == std::string::npos);
    }
    if (const auto binary = key->readBinary(s::names::kWindowRect, s::kWindowRectBytes)) {
      check(binary->size() == s::kWindowRectBytes);
    }
  }
  return 0;
}
