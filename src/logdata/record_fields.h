#pragma once

// Both logs' records start alike: a hex length, a TAB, then fields at fixed
// offsets from the position just after that TAB. The address and port fields
// stand at the same offsets in both, and the direction and action characters
// mean the same, only at other offsets.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logdata/number_text.h"
#include "logdata/traffic_record.h"

namespace qv {

// Fixed-offset fields of one record's text, counted from `start`. A field that
// would begin past the text's end is empty and a character there is NUL, so a
// short record simply lacks its later fields.
class FixedFields {
 public:
  FixedFields(std::string_view text, std::size_t start) : text_(text), start_(start) {}

  std::string_view field(std::size_t offset, std::size_t length) const {
    return start_ + offset < text_.size() ? text_.substr(start_ + offset, length) : std::string_view();
  }
  char character(std::size_t offset) const { return start_ + offset < text_.size() ? text_[start_ + offset] : '\0'; }

 private:
  std::string_view text_;
  std::size_t start_;
};

// Offsets of the address and port fields from the start of the fixed fields.
namespace EndpointField {
inline constexpr std::size_t kLocalIp = 26;
inline constexpr std::size_t kRemoteIp = 35;
inline constexpr std::size_t kLocalPort = 48;
inline constexpr std::size_t kRemotePort = 57;
}  // namespace EndpointField

// The local and remote addresses (8 hex digits, kept as numbers) and ports (4
// hex digits).
template <class Record>
void readEndpointFields(const FixedFields& fields, Record& record) {
  record.localIp = RecordAddress::ofStoredDigits(fields.field(EndpointField::kLocalIp, 8));
  record.remoteIp = RecordAddress::ofStoredDigits(fields.field(EndpointField::kRemoteIp, 8));
  record.localPort = static_cast<std::uint16_t>(hexValue(fields.field(EndpointField::kLocalPort, 4)));
  record.remotePort = static_cast<std::uint16_t>(hexValue(fields.field(EndpointField::kRemotePort, 4)));
}

// '1' is incoming, '2' outgoing; anything else sets no direction.
constexpr std::uint8_t directionFlag(char c) {
  if (c == '1') return RecordFlag::kIncoming;
  if (c == '2') return RecordFlag::kOutgoing;
  return 0;
}

// '1' is blocked and any other character allowed; NUL, where a record is too
// short to hold the field, sets neither.
constexpr std::uint8_t actionFlag(char c) {
  if (c == '1') return RecordFlag::kBlocked;
  return c != '\0' ? RecordFlag::kAllowed : 0;
}

}  // namespace qv
