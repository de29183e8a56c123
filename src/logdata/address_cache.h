#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "logdata/number_text.h"
#include "logdata/text.h"

namespace qv {

// Dotted texts of stored addresses read record after record: a log names the
// same few local and remote addresses over and over, so each 8-digit field
// is looked up in a small direct-mapped table before it is converted.
class AddressCache {
 public:
  Text dotted(std::string_view digits) {
    if (digits.size() != 8) return dottedAddress(digits);
    std::uint64_t key;
    std::memcpy(&key, digits.data(), sizeof key);
    Slot& slot = slots_[static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 56)];
    if (!slot.used || slot.digits != key) {
      slot.text = dottedAddress(digits);
      slot.digits = key;
      slot.used = true;
    }
    return slot.text;
  }

 private:
  struct Slot {
    std::uint64_t digits = 0;
    bool used = false;
    Text text;
  };
  std::array<Slot, 256> slots_{};
};

}  // namespace qv
