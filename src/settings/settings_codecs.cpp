#include "settings/settings_codecs.h"

#include <algorithm>
#include <bit>

namespace qv::settings {
namespace {

std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t at = offset + i;
    if (at < bytes.size()) value |= static_cast<std::uint32_t>(bytes[at]) << (8 * i);
  }
  return value;
}

std::int32_t readI32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(readU32(bytes, offset));
}

std::uint8_t readU8(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return offset < bytes.size() ? bytes[offset] : std::uint8_t{0};
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendI32(std::vector<std::uint8_t>& out, std::int32_t value) { appendU32(out, static_cast<std::uint32_t>(value)); }

std::uint32_t bitIf(bool set, int bit) { return set ? (std::uint32_t{1} << bit) : 0; }

bool bitSet(std::uint32_t bits, int bit) { return (bits >> bit) & 1U; }

}  // namespace

std::vector<std::uint8_t> encodeWindowRect(const WindowRect& rect) {
  std::vector<std::uint8_t> out;
  out.reserve(kWindowRectBytes);
  appendI32(out, rect.left);
  appendI32(out, rect.top);
  appendI32(out, rect.right);
  appendI32(out, rect.bottom);
  return out;
}

WindowRect decodeWindowRect(std::span<const std::uint8_t> bytes) {
  return WindowRect{readI32(bytes, 0), readI32(bytes, 4), readI32(bytes, 8), readI32(bytes, 12)};
}

std::vector<std::uint8_t> encodeColumnValues(std::span<const std::int32_t> values) {
  std::vector<std::uint8_t> out;
  out.reserve(values.size() * 4);
  for (const std::int32_t value : values) appendI32(out, value);
  return out;
}

std::vector<std::int32_t> decodeColumnValues(std::span<const std::uint8_t> bytes, std::size_t count) {
  std::vector<std::int32_t> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = readI32(bytes, 4 * i);
  return values;
}

bool isApplicableColumnWidth(std::int32_t width) { return width >= 0 && width < 1000; }

bool isColumnOrder(std::span<const std::int32_t> order) {
  std::vector<bool> seen(order.size(), false);
  for (const std::int32_t column : order) {
    if (column < 0 || static_cast<std::size_t>(column) >= order.size() || seen[static_cast<std::size_t>(column)]) {
      return false;
    }
    seen[static_cast<std::size_t>(column)] = true;
  }
  return true;
}

std::vector<std::uint8_t> encodeFontDescription(const FontDescription& font) {
  std::vector<std::uint8_t> out;
  out.reserve(kFontDescriptionBytes);
  appendI32(out, font.height);
  appendI32(out, font.width);
  appendI32(out, font.escapement);
  appendI32(out, font.orientation);
  appendI32(out, font.weight);
  for (const std::uint8_t byte : {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                                  font.clipPrecision, font.quality, font.pitchAndFamily}) {
    out.push_back(byte);
  }
  const std::size_t nameLength =
      std::min({font.faceName.find('\0'), font.faceName.size(), kFaceNameBytes - 1});
  out.insert(out.end(), font.faceName.begin(), font.faceName.begin() + static_cast<std::ptrdiff_t>(nameLength));
  out.resize(kFontDescriptionBytes, 0);
  return out;
}

FontDescription decodeFontDescription(std::span<const std::uint8_t> bytes) {
  FontDescription font;
  font.height = readI32(bytes, 0);
  font.width = readI32(bytes, 4);
  font.escapement = readI32(bytes, 8);
  font.orientation = readI32(bytes, 12);
  font.weight = readI32(bytes, 16);
  font.italic = readU8(bytes, 20);
  font.underline = readU8(bytes, 21);
  font.strikeOut = readU8(bytes, 22);
  font.charSet = readU8(bytes, 23);
  font.outPrecision = readU8(bytes, 24);
  font.clipPrecision = readU8(bytes, 25);
  font.quality = readU8(bytes, 26);
  font.pitchAndFamily = readU8(bytes, 27);
  // An unterminated stored name ends with the field, not past it.
  for (std::size_t at = 28; at < 28 + kFaceNameBytes; ++at) {
    const std::uint8_t byte = readU8(bytes, at);
    if (byte == 0) break;
    font.faceName += static_cast<char>(byte);
  }
  return font;
}

std::vector<std::uint8_t> encodeSplitterRatio(double ratio) {
  const auto bits = std::bit_cast<std::uint64_t>(ratio);
  std::vector<std::uint8_t> out;
  out.reserve(kSplitterRatioBytes);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  return out;
}

double decodeSplitterRatio(std::span<const std::uint8_t> bytes) {
  const std::uint64_t bits = static_cast<std::uint64_t>(readU32(bytes, 0)) |
                             (static_cast<std::uint64_t>(readU32(bytes, 4)) << 32);
  return std::bit_cast<double>(bits);
}

std::uint32_t encodeQuickFilterChecks(const QuickFilterChecks& checks) {
  return bitIf(checks.allow, 6) | bitIf(checks.block, 5) | bitIf(checks.incoming, 4) | bitIf(checks.outgoing, 3) |
         bitIf(checks.tcp, 2) | bitIf(checks.udp, 1) | bitIf(checks.icmp, 0);
}

QuickFilterChecks decodeQuickFilterChecks(std::uint32_t bits) {
  return QuickFilterChecks{bitSet(bits, 6), bitSet(bits, 5), bitSet(bits, 4), bitSet(bits, 3),
                           bitSet(bits, 2), bitSet(bits, 1), bitSet(bits, 0)};
}

std::uint32_t encodeViewStyle(const ViewStyle& style) {
  return bitIf(style.appNameIcons, 4) | bitIf(style.protocolIcons, 3) | bitIf(style.ruleNameIcons, 2) |
         bitIf(style.gridlines, 1) | bitIf(style.hotTracking, 0);
}

ViewStyle decodeViewStyle(std::uint32_t bits) {
  return ViewStyle{bitSet(bits, 4), bitSet(bits, 3), bitSet(bits, 2), bitSet(bits, 1), bitSet(bits, 0)};
}

std::uint32_t encodeColor(const RgbColor& color) {
  return static_cast<std::uint32_t>(color.red) | (static_cast<std::uint32_t>(color.green) << 8) |
         (static_cast<std::uint32_t>(color.blue) << 16);
}

RgbColor decodeColor(std::uint32_t value) {
  return RgbColor{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value >> 16)};
}

}  // namespace qv::settings
