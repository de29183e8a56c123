#pragma once

#include <span>
#include <vector>

#include "filter/filter_list.h"
#include "filter/quick_filter_run.h"
#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"
#include "views/read_operation.h"

namespace qv {

// The filter run's exclusion for a filter list (none for an empty list). The
// returned function holds its own prepared copy of the list's entries.
TrafficExclusion exclusionFor(const FilterList& list);

// "Analyze Event Pattern": the pattern merge on the shown list and its new
// count line; with no records read, the view is cleared instead.
void analyzeTrafficView(TrafficLogState& state);

// Header clicks replayed in order from an unsorted view, as a user would make them.
void clickTrafficHeaders(TrafficLogState& state, std::span<const int> clicks);
void clickPacketHeaders(PacketLogState& state, std::span<const int> clicks);

// The shown rows as events to save or copy: none for the "No Data" placeholder.
std::span<const TrafficRecord> shownTrafficEvents(const TrafficLogState& state);
std::vector<PacketRecord> shownPacketEvents(const PacketLogState& state);

}  // namespace qv
