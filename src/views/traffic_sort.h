#pragma once

#include <compare>
#include <optional>
#include <vector>

#include "logdata/traffic_record.h"
#include "views/sort_state.h"
#include "views/traffic_shown_list.h"
#include "views/traffic_columns.h"

namespace qv {

// The order of the traffic view's column `column` (0 to 13) in `direction`;
// less means the row comes first. Throws std::out_of_range for another column.
std::strong_ordering compareTrafficRows(const TrafficRecord& a, const TrafficRecord& b, int column,
                                        SortDirection direction);

// Sorts the shown list in place by that order: its indexes move, the records stay.
void sortTrafficRows(TrafficShownList& rows, int column, SortDirection direction);
// The same order for a plain list of records, which move.
void sortTrafficRows(std::vector<TrafficRecord>& rows, int column, SortDirection direction);

// One click on the header of `column`: nothing when the list is empty,
// otherwise the state advances and the rows are sorted by its new order.
std::optional<HeaderChange> clickTrafficHeader(SortState& state, TrafficShownList& rows, int column);
std::optional<HeaderChange> clickTrafficHeader(SortState& state, std::vector<TrafficRecord>& rows, int column);

}  // namespace qv
