#pragma once

#include <cstdint>

namespace qv {

// Stored times count 100-nanosecond units since 1601-01-01 UTC; this is the
// count at 1970-01-01 00:00:00 UTC.
inline constexpr std::uint64_t kUnixEpochTimeValue = 116444736000000000ULL;
inline constexpr std::uint64_t kTimeUnitsPerSecond = 10000000ULL;

}  // namespace qv
