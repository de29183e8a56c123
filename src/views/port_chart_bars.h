#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"

namespace qv {

// One bar of the statistics chart: a line of the port statistics.
struct PortChartBar {
  std::string protocol;  // "TCP", "UDP" or "ICMP"
  std::string port;      // the local port in decimal
  std::uint64_t count = 0;
  double percent = 0.0;  // share of all blocked incoming events, as the text gives it
};

inline constexpr std::size_t kPortChartBarLimit = 10;

// The first `limit` lines of the port statistics as bars, in the same order
// and with the same counts and shares as the text.
std::vector<PortChartBar> portChartBars(TrafficRows shown, std::size_t limit = kPortChartBarLimit);

}  // namespace qv
