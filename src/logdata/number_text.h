#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "logdata/text.h"

namespace qv {

// The value of the hexadecimal digits at the start of `digits`, read up to the
// first character that is not one. No digits give 0; a value that does not fit
// 32 bits gives 4294967295, so an overlong field cannot wrap to a small number.
std::uint32_t hexValue(std::string_view digits);

// The decimal text of a two-digit hexadecimal field ("FF" -> "255"); digits
// are read as hexValue reads them, saturating at 2147483647 as a signed value.
std::string hexByteText(std::string_view twoDigits);

// True when every byte is a hexadecimal digit of either case; true for "".
bool isHex(std::string_view text);

// The dotted text of a stored IPv4 address: its least significant byte is the
// first octet, so "0100A8C0" is 192.168.0.1. A pair cut off by a short field
// reads as 0.
Text dottedAddress(std::string_view eightDigits);

// The stored form of a dotted address, last octet first: "192.168.0.1" ->
// "0100A8C0". Each octet is written as two digits of its low byte, so the
// result is always 8 digits and a record written with it keeps its layout.
std::string storedAddress(std::string_view dotted);

}  // namespace qv
