#pragma once

namespace qv {

// Which of a column's two orders a sort uses: the one of the first click on
// its header (shown with a downward arrow) or the one of the second click.
enum class SortDirection { kFirstClick, kSecondClick };

// The arrow a column header shows beside its title.
enum class HeaderArrow { kNone, kDown, kUp };

// What a header click changes on the header: the column that loses its arrow
// (-1 when none had one) and the column that gets `arrow`.
struct HeaderChange {
  int clearedColumn = -1;
  int column = -1;
  HeaderArrow arrow = HeaderArrow::kNone;
};

// The sort state of a list view: unsorted until the first header click; a
// click on the sorted column alternates its two orders, a click on another
// column starts that column at its first order. A refresh makes it unsorted.
class SortState {
 public:
  // One click on the header of `column`. The caller skips this when the shown
  // list is empty (such a click changes nothing).
  HeaderChange click(int column) noexcept;
  void reset() noexcept;

  // -1 while unsorted.
  int column() const noexcept { return column_; }
  bool isSorted() const noexcept { return column_ >= 0; }
  SortDirection direction() const noexcept {
    return toggle_ ? SortDirection::kFirstClick : SortDirection::kSecondClick;
  }
  HeaderArrow arrowOf(int column) const noexcept;

 private:
  int column_ = -1;
  bool toggle_ = false;
};

}  // namespace qv
