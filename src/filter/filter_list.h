#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "filter/filter_entry.h"
#include "logdata/traffic_record.h"

namespace qv {

// Position of an entry in a filter list (and of its row in the Filter List dialog).
using FilterEntryIndex = std::size_t;

// The user's standing list of traffic events not to show. Ordered, duplicates
// allowed; held by the traffic view and applied to the traffic log only.
class FilterList {
 public:
  FilterList() = default;
  explicit FilterList(std::vector<FilterEntry> entries);

  const std::vector<FilterEntry>& entries() const noexcept { return entries_; }
  std::size_t size() const noexcept { return entries_.size(); }
  bool empty() const noexcept { return entries_.empty(); }
  const FilterEntry& operator[](FilterEntryIndex index) const { return entries_[index]; }
  auto begin() const noexcept { return entries_.begin(); }
  auto end() const noexcept { return entries_.end(); }

  void append(FilterEntry entry);
  void clear() noexcept;

  // Whether any entry matches the event; entries are tried in list order.
  bool isExcluded(const TrafficRecord& record) const noexcept;

  friend bool operator==(const FilterList& a, const FilterList& b) { return a.entries_ == b.entries_; }

 private:
  std::vector<FilterEntry> entries_;
  std::vector<PreparedFilterEntry> prepared_;  // the same entries, ready for filter runs
};

}  // namespace qv
