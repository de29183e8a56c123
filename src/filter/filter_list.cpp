#include "filter/filter_list.h"

namespace qv {

FilterList::FilterList(std::vector<FilterEntry> entries) : entries_(std::move(entries)) {
  prepared_.reserve(entries_.size());
  for (const FilterEntry& entry : entries_) prepared_.emplace_back(entry);
}

void FilterList::append(FilterEntry entry) {
  prepared_.emplace_back(entry);
  entries_.push_back(std::move(entry));
}

void FilterList::clear() noexcept {
  entries_.clear();
  prepared_.clear();
}

bool FilterList::isExcluded(const TrafficRecord& record) const noexcept {
  for (const PreparedFilterEntry& entry : prepared_) {
    if (entry.matches(record)) return true;
  }
  return false;
}

}  // namespace qv
