#include "logdata/number_text.h"

#include <array>
#include <cstddef>

namespace qv {
namespace {

constexpr std::uint64_t kSigned32Max = 0x7FFFFFFFu;
using detail::leadingHexValue;

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

void appendHex8(std::string& out, std::uint32_t value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

std::string hexByteText(std::string_view twoDigits) {
  return std::to_string(leadingHexValue(twoDigits, kSigned32Max));
}

bool isHex(std::string_view text) {
  for (const char c : text) {
    if (detail::kHexDigitValues[static_cast<unsigned char>(c)] == 0xFF) return false;
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

std::string padPort(std::string_view digits) {
  std::string padded;
  if (digits.size() < 5) padded.assign(5 - digits.size(), '0');
  padded += digits;
  return padded;
}

}  // namespace qv
