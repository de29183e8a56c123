#include "logdata/number_text.h"

#include <array>
#include <cstddef>

namespace qv {
namespace {

constexpr std::uint64_t kUnsigned32Max = 0xFFFFFFFFu;
constexpr std::uint64_t kSigned32Max = 0x7FFFFFFFu;

constexpr int hexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads leading hex digits, saturating at `limit`.
std::uint64_t leadingHexValue(std::string_view digits, std::uint64_t limit) noexcept {
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = hexDigitValue(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > limit) value = limit + 1;  // keeps reading the digits without overflowing
  }
  return value > limit ? limit : value;
}

// Appends the decimal digits of a value below 256 without allocating.
void appendByteDecimal(std::array<char, 16>& out, std::size_t& size, unsigned value) {
  if (value >= 100) out[size++] = static_cast<char>('0' + value / 100);
  if (value >= 10) out[size++] = static_cast<char>('0' + value / 10 % 10);
  out[size++] = static_cast<char>('0' + value % 10);
}

std::string_view pairAt(std::string_view digits, std::size_t offset) {
  return offset < digits.size() ? digits.substr(offset, 2) : std::string_view();
}

}  // namespace

std::uint32_t hexValue(std::string_view digits) {
  return static_cast<std::uint32_t>(leadingHexValue(digits, kUnsigned32Max));
}

std::string hexByteText(std::string_view twoDigits) {
  return std::to_string(leadingHexValue(twoDigits, kSigned32Max));
}

bool isHex(std::string_view text) {
  for (const char c : text) {
    if (hexDigitValue(c) < 0) return false;
  }
  return true;
}

Text dottedAddress(std::string_view eightDigits) {
  std::array<char, 16> out{};  // "255.255.255.255" is 15 bytes
  std::size_t size = 0;
  for (const std::size_t offset : {6u, 4u, 2u, 0u}) {
    if (offset != 6u) out[size++] = '.';
    appendByteDecimal(out, size, static_cast<unsigned>(leadingHexValue(pairAt(eightDigits, offset), 0xFF)));
  }
  return Text(std::string_view(out.data(), size));
}

std::string storedAddress(std::string_view dotted) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string result;
  result.reserve(8);
  std::string_view rest = dotted;
  for (int octet = 0; octet < 4; ++octet) {
    const std::size_t dot = rest.rfind('.');
    const std::string_view part = dot == std::string_view::npos ? rest : rest.substr(dot + 1);
    rest = dot == std::string_view::npos ? std::string_view() : rest.substr(0, dot);
    // Decimal digits up to the first other character, as atoi reads an octet.
    std::size_t i = 0;
    while (i < part.size() && (part[i] == ' ' || part[i] == '\t')) ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
    unsigned value = 0;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) value = (value * 10 + static_cast<unsigned>(part[i] - '0')) & 0xFFu;
    if (negative) value = (0x100u - value) & 0xFFu;
    result.push_back(kDigits[value >> 4]);
    result.push_back(kDigits[value & 0xF]);
  }
  return result;
}

}  // namespace qv
