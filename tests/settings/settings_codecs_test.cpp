#include "settings/settings_codecs.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace qv::settings {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SettingsCodecs, WindowRectIsFourLittleEndianSignedNumbers) {
  const WindowRect rect{-8, 300, 1928, -1};
  const Bytes bytes = encodeWindowRect(rect);
  EXPECT_EQ(bytes, (Bytes{0xF8, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0, 0, 0x88, 0x07, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(decodeWindowRect(bytes), rect);
  EXPECT_EQ(decodeWindowRect(Bytes{5, 0, 0, 0, 6}), (WindowRect{5, 6, 0, 0}));
}

TEST(SettingsCodecs, ColumnValuesRoundTripAndOnlySoundOnesApply) {
  const std::array<std::int32_t, kTrafficColumnCount> widths{0, 999, 1000, -1, 100, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  const Bytes bytes = encodeColumnValues(widths);
  ASSERT_EQ(bytes.size(), 56U);
  EXPECT_EQ(decodeColumnValues(bytes, kTrafficColumnCount), std::vector<std::int32_t>(widths.begin(), widths.end()));
  EXPECT_EQ(encodeColumnValues(std::array<std::int32_t, kPacketColumnCount>{}).size(), 44U);
  EXPECT_TRUE(isApplicableColumnWidth(0));
  EXPECT_TRUE(isApplicableColumnWidth(999));
  EXPECT_FALSE(isApplicableColumnWidth(1000));
  EXPECT_FALSE(isApplicableColumnWidth(-1));

  EXPECT_TRUE(isColumnOrder(std::vector<std::int32_t>{2, 0, 1}));
  EXPECT_FALSE(isColumnOrder(std::vector<std::int32_t>{0, 0, 1}));
  EXPECT_FALSE(isColumnOrder(std::vector<std::int32_t>{0, 1, 3}));
  EXPECT_FALSE(isColumnOrder(std::vector<std::int32_t>{0, -1, 1}));
}

TEST(SettingsCodecs, FontDescriptionUsesThe60BytePlatformLayout) {
  FontDescription font;
  font.height = -12;
  font.weight = kFontWeightBold;
  font.italic = 1;
  font.charSet = 0xEE;
  font.pitchAndFamily = 0x22;
  font.faceName = "Tahoma";
  const Bytes bytes = encodeFontDescription(font);
  ASSERT_EQ(bytes.size(), kFontDescriptionBytes);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0xF4, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Bytes(bytes.begin() + 16, bytes.begin() + 20), (Bytes{0xBC, 0x02, 0, 0}));
  EXPECT_EQ(bytes[20], 1);
  EXPECT_EQ(bytes[23], 0xEE);
  EXPECT_EQ(bytes[27], 0x22);
  EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 35), std::string("Tahoma\0", 7));
  EXPECT_EQ(decodeFontDescription(bytes), font);
}

TEST(SettingsCodecs, FaceNamesStayWithinTheirField) {
  FontDescription font;
  font.faceName = std::string(40, 'F');
  const Bytes bytes = encodeFontDescription(font);
  ASSERT_EQ(bytes.size(), kFontDescriptionBytes);
  EXPECT_EQ(bytes.back(), 0);
  EXPECT_EQ(decodeFontDescription(bytes).faceName, std::string(31, 'F'));

  Bytes unterminated(kFontDescriptionBytes, 'G');
  EXPECT_EQ(decodeFontDescription(unterminated).faceName, std::string(32, 'G'));
}

TEST(SettingsCodecs, SplitterRatioIsALittleEndianDouble) {
  const Bytes bytes = encodeSplitterRatio(0.25);
  EXPECT_EQ(bytes, (Bytes{0, 0, 0, 0, 0, 0, 0xD0, 0x3F}));
  EXPECT_EQ(decodeSplitterRatio(bytes), 0.25);
  for (const double ratio : {0.1, 0.9, 0.6180339887, -0.0}) {
    EXPECT_EQ(decodeSplitterRatio(encodeSplitterRatio(ratio)), ratio);
  }
  EXPECT_TRUE(std::isnan(decodeSplitterRatio(encodeSplitterRatio(std::nan("")))));
}

TEST(SettingsCodecs, CheckBoxAndViewStyleBits) {
  EXPECT_EQ(encodeQuickFilterChecks(QuickFilterChecks{}), 0x7FU);
  const QuickFilterChecks someChecks{true, false, false, true, false, true, false};
  EXPECT_EQ(encodeQuickFilterChecks(someChecks), 0x4AU);  // Allow, Out, UDP
  EXPECT_EQ(decodeQuickFilterChecks(0x4A), someChecks);
  EXPECT_EQ(decodeQuickFilterChecks(0xFFFFFF80), (QuickFilterChecks{false, false, false, false, false, false, false}));

  const ViewStyle style{true, false, true, false, true};
  EXPECT_EQ(encodeViewStyle(style), 0x15U);
  EXPECT_EQ(decodeViewStyle(0x15), style);
  EXPECT_EQ(encodeViewStyle(ViewStyle{}), 0x3U);

  EXPECT_EQ(encodeColor(RgbColor{209, 221, 228}), 0xE4DDD1U);
  EXPECT_EQ(decodeColor(0xFFE4DDD1), (RgbColor{209, 221, 228}));
}

}  // namespace
}  // namespace qv::settings
