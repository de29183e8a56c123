#include "capture/capture_time.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace qv {
namespace {

TEST(CaptureTime, ConvertsBothWaysAtMicrosecondResolution) {
  // 2004-01-02 03:04:05 UTC is 01C3D0DD14B10080 in the logs.
  EXPECT_EQ(timeValueFromCaptureTime({1073012645, 0}), 0x01C3D0DD14B10080ULL);
  EXPECT_EQ(timeValueFromCaptureTime({0, 0}), kUnixEpochTimeValue);
  // 100 ns is the finest unit a time value keeps.
  EXPECT_EQ(timeValueFromCaptureTime({0, 999}), kUnixEpochTimeValue + 9);

  for (const CaptureTime time : {CaptureTime{0, 0}, CaptureTime{1073012645, 250000000},
                                 CaptureTime{2147483647, 999999000}, CaptureTime{2147483648, 1000},
                                 CaptureTime{4294967295, 999999000}}) {
    const std::optional<CaptureTime> back = captureTimeFromTimeValue(timeValueFromCaptureTime(time));
    ASSERT_TRUE(back.has_value()) << time.seconds;
    EXPECT_EQ(*back, time);
  }
  // Going out, the fraction is cut to whole microseconds.
  EXPECT_EQ(captureTimeFromTimeValue(kUnixEpochTimeValue + 19), (CaptureTime{0, 1000}));
}

TEST(CaptureTime, ValuesOutsideTheCaptureRangeHaveNoCaptureTime) {
  EXPECT_FALSE(captureTimeFromTimeValue(0).has_value());
  EXPECT_FALSE(captureTimeFromTimeValue(kUnixEpochTimeValue - 1).has_value());
  EXPECT_FALSE(captureTimeFromTimeValue(timeValueFromCaptureTime({4294967296ULL, 0})).has_value());
  EXPECT_EQ(timeValueFromCaptureTime({std::numeric_limits<std::uint64_t>::max(), 0}),
            std::numeric_limits<std::uint64_t>::max());
}

TEST(CaptureTime, ReadsAndWritesSixteenDigits) {
  EXPECT_EQ(parseTimeValueDigits("01C3D0DD14B10080"), 0x01C3D0DD14B10080ULL);
  EXPECT_EQ(parseTimeValueDigits("01c3d0dd14b10080"), 0x01C3D0DD14B10080ULL);
  EXPECT_FALSE(parseTimeValueDigits("01C3D0DD14B1008").has_value());
  EXPECT_FALSE(parseTimeValueDigits("01C3D0DD14B1008G").has_value());
  EXPECT_FALSE(parseTimeValueDigits("01C3D0DD 4B10080").has_value());
  EXPECT_FALSE(parseTimeValueDigits("").has_value());

  std::string digits;
  appendTimeValueDigits(digits, 0x019DB1DED53E8000ULL);
  EXPECT_EQ(digits, "019DB1DED53E8000");
  digits.clear();
  appendTimeValueDigits(digits, std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(digits, "FFFFFFFFFFFFFFFF");
}

}  // namespace
}  // namespace qv
