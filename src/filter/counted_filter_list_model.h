#pragma once

#include <optional>
#include <vector>

#include "filter/filter_hit_counts.h"
#include "filter/filter_list_dialog_model.h"

namespace qv {

// The Filter List dialog's working copy with each row's hit count of the
// last filter run beside it. A count stays with its entry while rows are
// removed; an added or edited entry has none until the next run.
class CountedFilterListModel {
 public:
  CountedFilterListModel(const FilterList& list, std::vector<FilterHitCount> counts);

  const FilterListDialogModel& rows() const noexcept { return rows_; }
  std::size_t rowCount() const noexcept { return rows_.rowCount(); }
  FilterHitCount hitCount(FilterEntryIndex row) const { return row < counts_.size() ? counts_[row] : std::nullopt; }
  const std::vector<FilterHitCount>& hitCounts() const noexcept { return counts_; }

  void add(const EditFilterFields& accepted);
  std::optional<EditFilterFields> fieldsToEdit(std::optional<FilterEntryIndex> selected) const {
    return rows_.fieldsToEdit(selected);
  }
  // An edit that leaves the entry matching the same events keeps its count.
  bool replace(std::optional<FilterEntryIndex> selected, const EditFilterFields& accepted);
  bool remove(std::optional<FilterEntryIndex> selected);
  bool removeAll();
  void applyTo(FilterList& list) const { rows_.applyTo(list); }

 private:
  FilterListDialogModel rows_;
  std::vector<FilterHitCount> counts_;
};

}  // namespace qv
