#include "filter/time_window.h"

#include "logdata/time_text.h"

namespace qv {
namespace {

// Reads the leading decimal digits; a validated field has at most four.
std::int64_t hoursOf(std::string_view digits) {
  std::int64_t hours = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') break;
    hours = hours * 10 + (c - '0');
    if (hours > 99999999) break;  // far beyond any valid field; keeps the product in range
  }
  return hours;
}

std::string hoursAgo(std::string_view digits, std::int64_t nowUnixSeconds) {
  return localTimeText(nowUnixSeconds - hoursOf(digits) * 3600).str();
}

}  // namespace

TimeWindow computeTimeWindow(std::string_view timeField, std::int64_t nowUnixSeconds) {
  std::string_view body = timeField;
  if (!body.empty() && body.front() == '!') body.remove_prefix(1);
  TimeWindow window;
  const std::size_t dashAt = body.find('-');
  if (dashAt == std::string_view::npos) {
    window.from = hoursAgo(body, nowUnixSeconds);
    return window;
  }
  const std::string_view lowPart = body.substr(0, dashAt);
  const std::string_view highPart = body.substr(dashAt + 1);
  if (!lowPart.empty()) window.to = hoursAgo(lowPart, nowUnixSeconds);
  if (!highPart.empty()) window.from = hoursAgo(highPart, nowUnixSeconds);
  return window;
}

}  // namespace qv
