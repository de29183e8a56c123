#pragma once

#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"
#include "views/traffic_shown_list.h"

namespace qv {

// Collapses the shown events that follow one pattern into one row each, in
// place. Going down the rows, each remaining row absorbs every later row
// whose event pattern it fits (the fit is one-sided: the pattern is made from
// the later row): their occurrences are added to its own, its begin time
// becomes that of the last row absorbed, and the absorbed rows leave the
// list. Everything else of a row stays its own. Sums that would pass the
// largest 32-bit count stop there.
//
// Equal in result to comparing every remaining pair of rows, but the rows
// are grouped by hashing what a pattern compares, so a million rows take
// about a second rather than hours.
void mergeEventPatterns(std::vector<TrafficRecord>& shown);

// The same for a shown list. The merged rows are new records, so the list
// gets a record list of its own; the one it was filtered from is untouched.
void mergeEventPatterns(TrafficShownList& shown);

// The rows that collapsing `shown` leaves, as new records in shown order.
std::vector<TrafficRecord> mergedEventPatterns(TrafficRows shown);

}  // namespace qv
