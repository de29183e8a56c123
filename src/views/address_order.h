#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

// The value by which the views sort a dotted IPv4 text: the four octets with
// the first one most significant. Anything that is not exactly four decimal
// groups of at most three digits, each at most 255, sorts as 255.255.255.255.
std::uint32_t addressSortValue(std::string_view dotted) noexcept;

}  // namespace qv
