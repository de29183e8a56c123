#include "filter/counted_filter_list_model.h"

#include <utility>

namespace qv {

CountedFilterListModel::CountedFilterListModel(const FilterList& list, std::vector<FilterHitCount> counts)
    : rows_(list), counts_(std::move(counts)) {
  counts_.resize(rows_.rowCount());
}

void CountedFilterListModel::add(const EditFilterFields& accepted) {
  rows_.add(accepted);
  counts_.emplace_back();
}

bool CountedFilterListModel::replace(std::optional<FilterEntryIndex> selected, const EditFilterFields& accepted) {
  if (!selected || *selected >= rows_.rowCount()) return false;
  // The count still holds when the user changed nothing and saving the entry
  // again does not widen it (a direction-less entry comes back as any
  // direction). Bit 7 of the flags means nothing to the match.
  const FilterEntry& before = rows_.entries()[*selected];
  const bool unchanged = accepted == editFilterFieldsFromEntry(before) &&
                         buildFilterEntry(accepted).flags == (before.flags & 0x7F);
  if (!rows_.replace(selected, accepted)) return false;
  if (!unchanged) counts_[*selected].reset();
  return true;
}

bool CountedFilterListModel::remove(std::optional<FilterEntryIndex> selected) {
  if (!selected || *selected >= rows_.rowCount()) return false;
  if (!rows_.remove(selected)) return false;
  counts_.erase(counts_.begin() + static_cast<std::ptrdiff_t>(*selected));
  return true;
}

bool CountedFilterListModel::removeAll() {
  if (!rows_.removeAll()) return false;
  counts_.clear();
  return true;
}

}  // namespace qv
