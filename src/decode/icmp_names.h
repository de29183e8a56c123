#pragma once

#include <string_view>

namespace qv {

// The name of an ICMP message type; "Unknown" for types without one.
std::string_view icmpTypeName(unsigned type) noexcept;

// The name of an ICMP code: "Unknown" for a code outside its type's table,
// "N/A" for a type that has no code table.
std::string_view icmpCodeName(unsigned type, unsigned code) noexcept;

}  // namespace qv
