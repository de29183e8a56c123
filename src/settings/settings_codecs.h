#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "views/column_counts.h"

// The layouts of the stored binary and bit-set values. Multi-byte numbers
// are little-endian whatever the machine; decoders read a missing tail as
// zeros, as the reader rules do.
namespace qv::settings {

using qv::kPacketColumnCount;
using qv::kTrafficColumnCount;

// A window rectangle in screen pixels: left, top, right, bottom (16 bytes).
struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  friend bool operator==(const WindowRect&, const WindowRect&) = default;
};
inline constexpr std::size_t kWindowRectBytes = 16;
std::vector<std::uint8_t> encodeWindowRect(const WindowRect& rect);
WindowRect decodeWindowRect(std::span<const std::uint8_t> bytes);

// Column widths or display orders: one signed 32-bit number per column
// (56 bytes for the traffic view's 14 columns, 44 for the packet view's 11).
std::vector<std::uint8_t> encodeColumnValues(std::span<const std::int32_t> values);
std::vector<std::int32_t> decodeColumnValues(std::span<const std::uint8_t> bytes, std::size_t count);
// Stored widths are applied only within 0 to 999 pixels.
bool isApplicableColumnWidth(std::int32_t width);
// An order is applied only when it names every column exactly once; anything
// else would leave columns out of the header or point past it.
bool isColumnOrder(std::span<const std::int32_t> order);

// A font description in the 60-byte platform font record layout. The face
// name is bytes in the system's code page, at most 31 of them.
struct FontDescription {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;

  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};
inline constexpr std::size_t kFontDescriptionBytes = 60;
inline constexpr std::size_t kFaceNameBytes = 32;
// Weights of the record (400 normal, 700 bold).
inline constexpr std::int32_t kFontWeightNormal = 400;
inline constexpr std::int32_t kFontWeightBold = 700;
// A face name longer than 31 bytes is cut to 31, keeping the terminator.
std::vector<std::uint8_t> encodeFontDescription(const FontDescription& font);
FontDescription decodeFontDescription(std::span<const std::uint8_t> bytes);

// The packet viewer's splitter ratio as an 8-byte IEEE 754 double.
inline constexpr std::size_t kSplitterRatioBytes = 8;
std::vector<std::uint8_t> encodeSplitterRatio(double ratio);
double decodeSplitterRatio(std::span<const std::uint8_t> bytes);

// The quick filter's seven check boxes ("CheckBox"): bit 6 Allow, 5 Block,
// 4 In, 3 Out, 2 TCP, 1 UDP, 0 ICMP. All set by default.
struct QuickFilterChecks {
  bool allow = true;
  bool block = true;
  bool incoming = true;
  bool outgoing = true;
  bool tcp = true;
  bool udp = true;
  bool icmp = true;

  friend bool operator==(const QuickFilterChecks&, const QuickFilterChecks&) = default;
};
std::uint32_t encodeQuickFilterChecks(const QuickFilterChecks& checks);
QuickFilterChecks decodeQuickFilterChecks(std::uint32_t bits);

// The list views' style ("ViewStyle"): bit 4 Application Name icons, 3
// Protocol icons, 2 Rule Name icons, 1 gridlines, 0 hot-tracking.
struct ViewStyle {
  bool appNameIcons = false;
  bool protocolIcons = false;
  bool ruleNameIcons = false;
  bool gridlines = true;
  bool hotTracking = true;

  friend bool operator==(const ViewStyle&, const ViewStyle&) = default;
};
std::uint32_t encodeViewStyle(const ViewStyle& style);
ViewStyle decodeViewStyle(std::uint32_t bits);

// Colours are 0x00BBGGRR values.
struct RgbColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};
std::uint32_t encodeColor(const RgbColor& color);
RgbColor decodeColor(std::uint32_t value);

}  // namespace qv::settings
