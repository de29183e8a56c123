#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "logdata/record_time.h"

namespace qv::test {

// Sets TZ for the lifetime of the guard and restores the previous zone.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    if (const char* previous = std::getenv("TZ")) previous_ = previous;
    ::setenv("TZ", zone, 1);
    ::tzset();
    noteTimeZoneChanged();
  }
  ~TimeZoneGuard() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
    noteTimeZoneChanged();
  }
  TimeZoneGuard(const TimeZoneGuard&) = delete;
  TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace qv::test
