#pragma once

#include <cstdint>
#include <string_view>

#include "filter/filter_criteria.h"

namespace qv {

// The window of a validated, non-empty Time field, counted back in whole
// hours from now (seconds since 1970 UTC: the system clock's
// platform::currentUnixSeconds() in the viewer, a fixed moment in tests and
// with --now) and written as local times. A '!' does not change the
// window, only how records meet it.
TimeWindow computeTimeWindow(std::string_view timeField, std::int64_t nowUnixSeconds);

}  // namespace qv
