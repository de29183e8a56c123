#include "views/sort_state.h"

namespace qv {

HeaderChange SortState::click(int column) noexcept {
  HeaderChange change;
  change.clearedColumn = column_;
  toggle_ = !(column == column_ && toggle_);
  column_ = column;
  change.column = column;
  change.arrow = toggle_ ? HeaderArrow::kDown : HeaderArrow::kUp;
  return change;
}

void SortState::reset() noexcept {
  column_ = -1;
  toggle_ = false;
}

HeaderArrow SortState::arrowOf(int column) const noexcept {
  if (column < 0 || column != column_) return HeaderArrow::kNone;
  return toggle_ ? HeaderArrow::kDown : HeaderArrow::kUp;
}

}  // namespace qv
