#pragma once

#include <cstdint>
#include <optional>

namespace qv::platform {

// A civil date and time of day, as the local clock shows it.
struct CivilTime {
  int year = 0;
  int month = 0;   // 1-12
  int day = 0;     // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The local time (the process's time zone and its daylight-saving rules; TZ
// is honoured after tzset) of a moment given in seconds since 1970-01-01 UTC.
// Empty when the system cannot convert that moment.
std::optional<CivilTime> localTimeOf(std::int64_t unixSeconds);

// The moment that a local time names, the system deciding whether daylight
// saving applies; fields out of range are carried over as the C library does.
// Empty when the system cannot convert it or it lies before 1970.
std::optional<std::int64_t> unixSecondsOfLocalTime(const CivilTime& local);

// The current moment in seconds since 1970-01-01 UTC.
std::int64_t currentUnixSeconds();

}  // namespace qv::platform
