#include "platform/local_time.h"

#include <ctime>

namespace qv::platform {

std::optional<CivilTime> localTimeOf(std::int64_t unixSeconds) {
  std::tm fields{};
#ifdef _WIN32
  const __time64_t moment = static_cast<__time64_t>(unixSeconds);
  if (_localtime64_s(&fields, &moment) != 0) return std::nullopt;
#else
  const std::time_t moment = static_cast<std::time_t>(unixSeconds);
  if (static_cast<std::int64_t>(moment) != unixSeconds) return std::nullopt;
  if (localtime_r(&moment, &fields) == nullptr) return std::nullopt;
#endif
  return CivilTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                   fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

std::optional<std::int64_t> unixSecondsOfLocalTime(const CivilTime& local) {
  std::tm fields{};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  fields.tm_isdst = -1;  // the system decides whether daylight saving applies
#ifdef _WIN32
  const __time64_t moment = _mktime64(&fields);
#else
  const std::time_t moment = std::mktime(&fields);
#endif
  // -1 is also the C library's failure value; it lies before 1970 either way.
  if (moment < 0) return std::nullopt;
  return static_cast<std::int64_t>(moment);
}

std::int64_t currentUnixSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace qv::platform
