#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "filter/filter_list_index.h"
#include "filter/quick_filter_run.h"
#include "logdata/traffic_record.h"

namespace qv {

// How many events one filter-list entry hid in the last filter run; none when
// the entry has not been through a run since it was added or changed.
using FilterHitCount = std::optional<std::uint64_t>;

// The hit count of every entry of the filter list a run used. An event that
// several entries match is counted once, for the first of them in list
// order: the run drops it there and never asks the others.
class FilterHitCounts {
 public:
  FilterHitCounts() = default;
  // All zero: the counts of a run about to start over this list.
  explicit FilterHitCounts(const FilterList& list);
  // Counts carried over from elsewhere (the Filter List dialog's rows), one
  // per entry; missing counts are none.
  FilterHitCounts(const std::vector<FilterEntry>& entries, std::vector<FilterHitCount> counts);

  // An event the run dropped: counts it for the first entry that matches.
  // False when no entry does (then nothing is counted).
  bool countExcluded(const TrafficRecord& record);

  // The counts for the list as it is now. An entry keeps its count only
  // while the entry at its position is still the one counted, so an entry
  // appended or changed since the run has none.
  std::vector<FilterHitCount> countsFor(const FilterList& list) const;

 private:
  std::vector<PreparedFilterEntry> entries_;
  std::vector<FilterHitCount> counts_;
};

// The exclusion for a filter run that also fills the counts. The index gives
// the verdict as fast as ever; only the events it drops are matched entry by
// entry to find the one that hid them. Both must outlive the run.
TrafficExclusion countingExclusion(const FilterListIndex& index, FilterHitCounts& counts);

// The same for a whole run over list: counts starts again at zero for it,
// and the function holds its own index (none for an empty list). counts
// must outlive the run.
TrafficExclusion countingExclusionFor(const FilterList& list, FilterHitCounts& counts);

}  // namespace qv
