#include "filter/filter_hit_counts.h"

#include <memory>
#include <utility>

namespace qv {

FilterHitCounts::FilterHitCounts(const FilterList& list) : counts_(list.size(), std::uint64_t{0}) {
  entries_.reserve(list.size());
  for (const FilterEntry& entry : list) entries_.emplace_back(entry);
}

FilterHitCounts::FilterHitCounts(const std::vector<FilterEntry>& entries, std::vector<FilterHitCount> counts)
    : counts_(std::move(counts)) {
  counts_.resize(entries.size());
  entries_.reserve(entries.size());
  for (const FilterEntry& entry : entries) entries_.emplace_back(entry);
}

bool FilterHitCounts::countExcluded(const TrafficRecord& record) {
  for (std::size_t at = 0; at < entries_.size(); ++at) {
    if (!entries_[at].matches(record)) continue;
    counts_[at] = counts_[at].value_or(0) + 1;
    return true;
  }
  return false;
}

std::vector<FilterHitCount> FilterHitCounts::countsFor(const FilterList& list) const {
  std::vector<FilterHitCount> counts(list.size());
  for (std::size_t at = 0; at < list.size() && at < entries_.size(); ++at) {
    if (list[at] == entries_[at].entry()) counts[at] = counts_[at];
  }
  return counts;
}

TrafficExclusion countingExclusion(const FilterListIndex& index, FilterHitCounts& counts) {
  return [&index, &counts](const TrafficRecord& record) {
    if (!index.isExcluded(record)) return false;
    counts.countExcluded(record);
    return true;
  };
}

TrafficExclusion countingExclusionFor(const FilterList& list, FilterHitCounts& counts) {
  counts = FilterHitCounts(list);
  if (list.empty()) return {};
  auto index = std::make_shared<const FilterListIndex>(list);
  return [index, &counts](const TrafficRecord& record) {
    if (!index->isExcluded(record)) return false;
    counts.countExcluded(record);
    return true;
  };
}

}  // namespace qv
