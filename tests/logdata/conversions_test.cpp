#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "logdata/number_text.h"
#include "logdata/time_text.h"
#include "time_zone_guard.h"
#include "support/windows_skip.h"

namespace qv {
namespace {

using test::TimeZoneGuard;

TEST(HexNumbers, ReadLeadingDigitsAndSaturate) {
  EXPECT_EQ(hexValue("00001F90"), 0x1F90u);
  EXPECT_EQ(hexValue("abcd"), 0xABCDu);
  EXPECT_EQ(hexValue("12G4"), 0x12u);
  EXPECT_EQ(hexValue(""), 0u);
  EXPECT_EQ(hexValue("xyz"), 0u);
  EXPECT_EQ(hexValue("FFFFFFFF"), 4294967295u);
  EXPECT_EQ(hexValue("100000000"), 4294967295u);
  EXPECT_EQ(hexValue("123456789ABCDEF0123"), 4294967295u);
  EXPECT_EQ(hexByteText("FF"), "255");
  EXPECT_EQ(hexByteText("0a"), "10");
  EXPECT_EQ(hexByteText(""), "0");
  EXPECT_EQ(hexByteText("FFFFFFFF"), "2147483647");
  EXPECT_TRUE(isHex(""));
  EXPECT_TRUE(isHex("0123456789ABCDEFabcdef"));
  EXPECT_FALSE(isHex("0000012G"));
  EXPECT_FALSE(isHex(" 1"));
}

TEST(Addresses, DottedAndStoredFormsMirrorEachOther) {
  EXPECT_EQ(dottedAddress("0100A8C0"), "192.168.0.1");
  EXPECT_EQ(dottedAddress("FFFFFFFF"), "255.255.255.255");
  EXPECT_EQ(dottedAddress("00000000"), "0.0.0.0");
  // A short field: missing pairs read as 0, a lone digit as itself.
  EXPECT_EQ(dottedAddress("A8C0"), "0.0.192.168");
  EXPECT_EQ(dottedAddress("0100A8C"), "12.168.0.1");
  EXPECT_EQ(dottedAddress(""), "0.0.0.0");
  EXPECT_EQ(storedAddress("10.0.0.1"), "0100000A");
  EXPECT_EQ(storedAddress("192.168.0.1"), "0100A8C0");
  EXPECT_EQ(storedAddress("255.255.255.255"), "FFFFFFFF");
  EXPECT_EQ(storedAddress(""), "00000000");
  EXPECT_EQ(storedAddress("1.2"), "02010000");
  // Out-of-range octets keep the field at 8 digits.
  EXPECT_EQ(storedAddress("256.1.2.300").size(), 8u);
  for (const char* digits : {"0100A8C0", "0500000A", "FE01A8C0", "00000000"}) {
    EXPECT_EQ(storedAddress(dottedAddress(digits)), digits);
  }
}

TEST(TimeText, ConvertsStoredTimesInUtc) {
  const TimeZoneGuard zone("UTC");
  EXPECT_EQ(timeText("0000000000000000", false), "");
  EXPECT_EQ(timeText("019DB1DED53E7FFF", false), "");
  EXPECT_EQ(timeText("019DB1DED53E8000", false), "1970/01/01 00:00:00");
  EXPECT_EQ(timeText("01C3D0DD14B10080", false), "2004/01/02 03:04:05");
  EXPECT_EQ(timeText("01C3D0DD14B10080", true), "2004/01/02 03:04:05.000");
  // A quarter of a second later: 2500000 units.
  EXPECT_EQ(timeText("01C3D0DD14D72620", true), "2004/01/02 03:04:05.250");
  // 2^31 - 1 seconds is the last convertible second, 2^31 the first too late.
  EXPECT_EQ(timeText("01E9FD1ED4A5E980", false), "2038/01/19 03:14:07");
  EXPECT_EQ(timeText("01E9FD1ED53E8000", false), "Time Error");
  EXPECT_EQ(timeText("FFFFFFFFFFFFFFFF", true), "Time Error");
  // Non-hex characters end each half's digits.
  EXPECT_EQ(timeText("019DB1DED53E80", false), "");
  EXPECT_EQ(timeText("", true), "");
}

TEST(TimeText, FollowsTheLocalZoneAcrossDaylightSaving) {
  QV_SKIP_ON_WINDOWS("the C runtime reads TZ as NAME+HH with one set of daylight-saving rules; no European zone can be set");
  const TimeZoneGuard zone("Europe/Berlin");
  EXPECT_EQ(timeText("019DB1DED53E8000", false), "1970/01/01 01:00:00");
  EXPECT_EQ(timeText("01C3D0DD14B10080", false), "2004/01/02 04:04:05");
  // 2021-03-28 01:00:00 UTC: Berlin moves from 02:00 CET to 03:00 CEST.
  const std::int64_t springChange = 1616893200;
  EXPECT_EQ(localTimeText(springChange - 1), "2021/03/28 01:59:59");
  EXPECT_EQ(localTimeText(springChange), "2021/03/28 03:00:00");
  // Autumn: 2021-10-31 01:00:00 UTC, 03:00 CEST becomes 02:00 CET.
  const std::int64_t autumnChange = 1635642000;
  EXPECT_EQ(localTimeText(autumnChange - 1), "2021/10/31 02:59:59");
  EXPECT_EQ(localTimeText(autumnChange), "2021/10/31 02:00:00");

  // The bulk converter's hour cache must give the system's answer for every
  // moment around both changes, in any order of asking.
  TimeTextConverter converter;
  for (const std::int64_t change : {springChange, autumnChange}) {
    for (std::int64_t offset = -7300; offset <= 7300; offset += 7) {
      for (const std::int64_t moment : {change + offset, change - offset}) {
        ASSERT_EQ(converter.localTimeText(moment), localTimeText(moment)) << moment;
      }
    }
  }
}

TEST(TimeText, BulkConverterMatchesSingleConversions) {
  const TimeZoneGuard zone("America/New_York");
  TimeTextConverter converter;
  const std::uint64_t start = 0x01C3D0DD14B10080ULL;
  for (std::uint64_t step = 0; step < 2000; ++step) {
    const std::uint64_t value = start + step * 9876543210ULL;  // about 16 minutes apart
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(value));
    ASSERT_EQ(converter.timeText(digits, step % 2 == 0), timeText(digits, step % 2 == 0)) << digits;
  }
}

TEST(TimeDigits, RoundTripsThroughTheLocalZone) {
  for (const char* zoneName : {"UTC", "Europe/Berlin"}) {
    const TimeZoneGuard zone(zoneName);
    for (const char* digits : {"01C3D0DD14B10080", "019DB1DED53E8000", "01D7235A2E3F3600", "01D7CE0F5A3D5B00"}) {
      const Text text = timeText(digits, false);
      EXPECT_EQ(timeText(timeDigits(text), false), text) << zoneName << " " << digits;
    }
    // Milliseconds are dropped on the way back.
    EXPECT_EQ(timeDigits(timeText("01C3D0DD14D72620", true)), "01C3D0DD14B10080");
    // Texts that name no convertible time.
    for (const char* text : {"", "Time Error", "1969/12/31 12:00:00", "No Data"}) {
      EXPECT_EQ(timeDigits(text), "019DB1DED4A5E980") << text;
    }
    EXPECT_EQ(timeText("019DB1DED4A5E980", false), "");
  }
  const TimeZoneGuard zone("UTC");
  EXPECT_EQ(timeDigits("2004/01/02 03:04:05"), "01C3D0DD14B10080");
}

TEST(LocalTimeText, ParsesOnlyTheTimeTextForm) {
  const TimeZoneGuard zone("Europe/Berlin");
  // The Windows C runtime cannot be set to that zone (see above); the forms
  // it refuses are the same everywhere.
#ifndef _WIN32
  EXPECT_EQ(unixSecondsOfLocalTimeText("2021/03/28 03:00:00"), 1616893200);
  EXPECT_EQ(unixSecondsOfLocalTimeText("2021/03/28 03:00:00.999"), 1616893200);
  EXPECT_EQ(unixSecondsOfLocalTimeText("1970/01/01 01:00:00"), 0);
#endif
  for (const char* text : {"", "Time Error", "2021/03/28 03:00", "2021-03-28 03:00:00", "2021/13/01 00:00:00",
                           "2021/03/28 24:00:00", "2021/03/28 03:00:0x", "1969/12/31 23:00:00",
                           "2021/03/28 03:00:00.5"}) {
    EXPECT_FALSE(unixSecondsOfLocalTimeText(text).has_value()) << text;
  }
  const std::int64_t moment = 1635631200;
  EXPECT_EQ(unixSecondsOfLocalTimeText(localTimeText(moment).view()), moment);
}

}  // namespace
}  // namespace qv
