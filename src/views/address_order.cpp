#include "views/address_order.h"

namespace qv {

std::uint32_t addressSortValue(std::string_view dotted) noexcept {
  constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;
  std::uint32_t value = 0;
  std::size_t position = 0;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) {
      if (position >= dotted.size() || dotted[position] != '.') return kInvalid;
      ++position;
    }
    std::uint32_t octet = 0;
    std::size_t digits = 0;
    while (position < dotted.size() && dotted[position] >= '0' && dotted[position] <= '9') {
      if (++digits > 3) return kInvalid;
      octet = octet * 10 + static_cast<std::uint32_t>(dotted[position] - '0');
      ++position;
    }
    if (digits == 0 || octet > 255) return kInvalid;
    value = (value << 8) | octet;
  }
  return position == dotted.size() ? value : kInvalid;
}

}  // namespace qv
