#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "logdata/record_time.h"

namespace qv::test {

// The C runtime's own ways to change the zone: Windows has no setenv, and its
// tzset reads TZ only in the "NAME[+-]HH[DST]" form ("UTC" is such a name).
inline void setTimeZoneVariable(const char* zone) {
#ifdef _WIN32
  ::_putenv_s("TZ", zone != nullptr ? zone : "");
  ::_tzset();
#else
  if (zone != nullptr) {
    ::setenv("TZ", zone, 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
#endif
}

// Sets TZ for the lifetime of the guard and restores the previous zone.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    if (const char* previous = std::getenv("TZ")) previous_ = previous;
    setTimeZoneVariable(zone);
    noteTimeZoneChanged();
  }
  ~TimeZoneGuard() {
    setTimeZoneVariable(previous_ ? previous_->c_str() : nullptr);
    noteTimeZoneChanged();
  }
  TimeZoneGuard(const TimeZoneGuard&) = delete;
  TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace qv::test
