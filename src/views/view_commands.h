#pragma once

#include <span>
#include <vector>

#include "filter/filter_list.h"
#include "filter/quick_filter_run.h"
#include "logdata/packet_record.h"
#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"
#include "views/read_operation.h"
#include "views/row_index.h"

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
TrafficRows shownTrafficEvents(const TrafficLogState& state);
std::vector<PacketRecord> shownPacketEvents(const PacketLogState& state);

// The shown rows in the order a capture file holds them. Packet tools read a
// capture in file order, so a view in its ring order (newest first) is written
// reversed, oldest first as the firewall wrote the packets; a view a header
// click has sorted keeps the order it shows. None for the "No Data" placeholder.
std::vector<RowIndex> captureRowOrder(const PacketShownList& shown, bool sortedByClick);

}  // namespace qv
