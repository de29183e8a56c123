#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "logdata/text.h"

namespace qv {

// An address field of a traffic record: the IPv4 address as a number (first
// octet most significant), whose dotted text is made when asked for. A field
// can also hold a text put there by hand that is no dotted address of a number
// (a filter entry's "All", a partial address); a dotted text that is one is
// kept as the number, so equal texts always mean equal fields.
class RecordAddress {
 public:
  RecordAddress() noexcept = default;  // the empty text
  // NOLINTBEGIN: implicit on purpose, fields are assigned texts as Text fields were
  RecordAddress(std::string_view text);
  RecordAddress(const char* text) : RecordAddress(std::string_view(text)) {}
  RecordAddress(const std::string& text) : RecordAddress(std::string_view(text)) {}
  RecordAddress(const Text& text) : RecordAddress(text.view()) {}
  // NOLINTEND

  static RecordAddress ofNumber(std::uint32_t number) noexcept { return RecordAddress(kNumber, number); }
  // The field of a record's 8 stored hex digits, last octet first; a pair cut
  // off by a short field, or without hex digits, reads as 0.
  static RecordAddress ofStoredDigits(std::string_view eightDigits) noexcept;

  bool holdsNumber() const noexcept { return kind_ == kNumber; }
  // The address number; 0 unless the field holds one.
  std::uint32_t number() const noexcept { return kind_ == kNumber ? stored() : 0; }

  // One number per distinct text: equal texts, equal identities.
  std::uint64_t identity() const noexcept { return std::uint64_t{kind_} << 32 | stored(); }

  Text text() const;
  explicit operator Text() const { return text(); }
  std::string str() const { return text().str(); }
  bool empty() const noexcept { return kind_ == kEmpty; }

  friend bool operator==(const RecordAddress& a, const RecordAddress& b) noexcept {
    return a.kind_ == b.kind_ && a.stored() == b.stored();
  }
  friend bool operator==(const RecordAddress& a, std::string_view b) noexcept;
  friend bool operator==(const RecordAddress& a, const char* b) noexcept { return a == std::string_view(b); }
  friend bool operator==(const RecordAddress& a, const Text& b) noexcept { return a == b.view(); }

 private:
  // kind_ values: the empty text, a number, or a text whose FieldTextPool
  // number number_ holds.
  static constexpr std::uint8_t kEmpty = 0;
  static constexpr std::uint8_t kNumber = 1;
  static constexpr std::uint8_t kText = 2;

  RecordAddress(std::uint8_t kind, std::uint32_t number) noexcept : kind_(kind) {
    std::memcpy(number_, &number, sizeof number);
  }
  std::uint32_t stored() const noexcept {
    std::uint32_t value;
    std::memcpy(&value, number_, sizeof value);
    return value;
  }

  // Five bytes without alignment: records hold several addresses, a packet
  // record two in the space of one aligned pair's padding.
  unsigned char number_[4] = {};
  std::uint8_t kind_ = kEmpty;
};

static_assert(sizeof(RecordAddress) == 5 && alignof(RecordAddress) == 1);

// Appends the dotted text of an address number ("192.168.0.1").
void appendDottedAddress(std::string& out, std::uint32_t number);

}  // namespace qv
