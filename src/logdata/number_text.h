#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "logdata/text.h"

namespace qv {

namespace detail {
// Digit values by byte; 0xFF for a byte that is no hexadecimal digit.
inline constexpr std::array<std::uint8_t, 256> kHexDigitValues = [] {
  std::array<std::uint8_t, 256> table{};
  for (auto& value : table) value = 0xFF;
  for (int c = 0; c < 10; ++c) table[static_cast<std::size_t>('0' + c)] = static_cast<std::uint8_t>(c);
  for (int c = 0; c < 6; ++c) {
    table[static_cast<std::size_t>('A' + c)] = static_cast<std::uint8_t>(10 + c);
    table[static_cast<std::size_t>('a' + c)] = static_cast<std::uint8_t>(10 + c);
  }
  return table;
}();

// Leading hex digits read as a number, saturating at `limit`.
inline std::uint64_t leadingHexValue(std::string_view digits, std::uint64_t limit) noexcept {
  std::uint64_t value = 0;
  for (const char c : digits) {
    const std::uint8_t digit = kHexDigitValues[static_cast<unsigned char>(c)];
    if (digit == 0xFF) break;
    value = value * 16 + digit;
    if (value > limit) value = limit + 1;  // keeps reading the digits without overflowing
  }
  return value > limit ? limit : value;
}
}  // namespace detail

// The value of one hexadecimal digit of either case; -1 for any other byte.
inline int hexDigitValue(char c) noexcept {
  const std::uint8_t digit = detail::kHexDigitValues[static_cast<unsigned char>(c)];
  return digit == 0xFF ? -1 : digit;
}

// The value of the hexadecimal digits at the start of `digits`, read up to the
// first character that is not one. No digits give 0; a value that does not fit
// 32 bits gives 4294967295, so an overlong field cannot wrap to a small number.
// Inline: the readers call it for several fields of every record.
inline std::uint32_t hexValue(std::string_view digits) {
  return static_cast<std::uint32_t>(detail::leadingHexValue(digits, 0xFFFFFFFFu));
}

// The decimal text of a two-digit hexadecimal field ("FF" -> "255"); digits
// are read as hexValue reads them, saturating at 2147483647 as a signed value.
std::string hexByteText(std::string_view twoDigits);

// Appends the eight upper-case hex digits of a stored numeric field.
void appendHex8(std::string& out, std::uint32_t value);

// True when every byte is a hexadecimal digit of either case; true for "".
bool isHex(std::string_view text);

// A port text left-padded with '0' to five characters, the width the port
// ranges of the criteria compare at; longer texts stay as they are.
std::string padPort(std::string_view digits);

// The dotted text of a stored IPv4 address: its least significant byte is the
// first octet, so "0100A8C0" is 192.168.0.1. A pair cut off by a short field
// reads as 0.
Text dottedAddress(std::string_view eightDigits);

// The stored form of a dotted address, last octet first: "192.168.0.1" ->
// "0100A8C0". Each octet is written as two digits of its low byte, so the
// result is always 8 digits and a record written with it keeps its layout.
std::string storedAddress(std::string_view dotted);

}  // namespace qv
