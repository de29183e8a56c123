#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"

namespace qv {

// One line of the port statistics: the protocol text and local port as the
// key (" TCP\t135"), and the summed occurrences of its blocked incoming events.
struct PortCount {
  std::string key;
  std::uint64_t count = 0;
};

// The blocked incoming events of the shown list counted per protocol and
// local port, the largest count first; equal counts keep the order in which
// their keys first appeared.
std::vector<PortCount> rankBlockedIncomingPorts(TrafficRows shown);

// The text of the Statistics dialog: a header line, then one CR LF separated
// line per port with its count and its share of all counts in percent. Only
// the header line when no event is both blocked and incoming.
std::string portStatisticsText(TrafficRows shown);

}  // namespace qv
