#pragma once

#include <cstddef>
#include <string>

namespace qv {

// The quick filter's check boxes and text fields, as the user set them.
// An empty text filters nothing; a leading '!' negates a field.
struct FilterCriteria {
  bool allow = true;
  bool block = true;
  bool in = true;
  bool out = true;
  bool tcp = true;
  bool udp = true;
  bool icmp = true;

  std::string time;
  std::string remoteIp;
  std::string remotePort;
  std::string localIp;
  std::string localPort;
  std::string applicationName;
  std::string ruleName;  // traffic log only

  friend bool operator==(const FilterCriteria&, const FilterCriteria&) = default;
};

// The most characters each edit field takes.
namespace FilterFieldLimit {
inline constexpr std::size_t kTime = 10;
inline constexpr std::size_t kIp = 16;
inline constexpr std::size_t kPort = 12;
inline constexpr std::size_t kName = 260;
}  // namespace FilterFieldLimit

// The time window computed from the Time field: each bound empty (no bound)
// or a local time text "YYYY/MM/DD HH:MM:SS", compared with record times as bytes.
struct TimeWindow {
  std::string from;
  std::string to;

  friend bool operator==(const TimeWindow&, const TimeWindow&) = default;
};

}  // namespace qv
