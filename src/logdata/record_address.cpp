#include "logdata/record_address.h"

#include <array>

#include "logdata/field_text_pool.h"
#include "logdata/number_text.h"

namespace qv {
namespace {

// The number a dotted text names when it is exactly the dotted text of one:
// four groups of decimal digits without leading zeros, each at most 255.
bool parseCanonicalDotted(std::string_view text, std::uint32_t& number) noexcept {
  std::uint32_t value = 0;
  std::size_t position = 0;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) {
      if (position >= text.size() || text[position] != '.') return false;
      ++position;
    }
    const std::size_t start = position;
    std::uint32_t octet = 0;
    while (position < text.size() && position - start < 3 && text[position] >= '0' && text[position] <= '9') {
      octet = octet * 10 + static_cast<std::uint32_t>(text[position] - '0');
      ++position;
    }
    const std::size_t digits = position - start;
    if (digits == 0 || octet > 255 || (digits > 1 && text[start] == '0')) return false;
    value = (value << 8) | octet;
  }
  if (position != text.size()) return false;
  number = value;
  return true;
}

std::uint32_t pairValue(std::string_view digits, std::size_t offset) noexcept {
  return offset < digits.size() ? static_cast<std::uint32_t>(hexValue(digits.substr(offset, 2))) : 0;
}

}  // namespace

RecordAddress::RecordAddress(std::string_view text) {
  if (text.empty()) return;
  std::uint32_t number = 0;
  if (parseCanonicalDotted(text, number)) {
    *this = RecordAddress(kNumber, number);
  } else {
    *this = RecordAddress(kText, FieldTextPool::numberOf(text));
  }
}

RecordAddress RecordAddress::ofStoredDigits(std::string_view eightDigits) noexcept {
  return ofNumber(pairValue(eightDigits, 6) << 24 | pairValue(eightDigits, 4) << 16 | pairValue(eightDigits, 2) << 8 |
                  pairValue(eightDigits, 0));
}

void appendDottedAddress(std::string& out, std::uint32_t number) {
  std::array<char, 16> digits{};
  std::size_t size = 0;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned octet = (number >> shift) & 0xFFu;
    if (shift != 24) digits[size++] = '.';
    if (octet >= 100) digits[size++] = static_cast<char>('0' + octet / 100);
    if (octet >= 10) digits[size++] = static_cast<char>('0' + octet / 10 % 10);
    digits[size++] = static_cast<char>('0' + octet % 10);
  }
  out.append(digits.data(), size);
}

bool operator==(const RecordAddress& a, std::string_view b) noexcept {
  if (a.kind_ == RecordAddress::kEmpty) return b.empty();
  if (a.kind_ == RecordAddress::kText) return FieldTextPool::textOf(a.stored()) == b;
  std::uint32_t number = 0;
  return parseCanonicalDotted(b, number) && number == a.number();
}

Text RecordAddress::text() const {
  if (kind_ == kEmpty) return Text();
  if (kind_ == kText) return FieldTextPool::textOf(stored());
  std::string dotted;
  dotted.reserve(16);
  appendDottedAddress(dotted, number());
  return Text(dotted);
}

}  // namespace qv
