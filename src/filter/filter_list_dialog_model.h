#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filter/edit_filter_model.h"
#include "filter/filter_entry.h"
#include "filter/filter_list.h"

namespace qv {

enum class FilterListColumn : int {
  kAction = 0,
  kDirection,
  kProtocol,
  kRemoteIp,
  kRemotePort,
  kLocalIp,
  kLocalPort,
  kApplicationName,
  kRuleName,
};

struct FilterListColumnInfo {
  std::string_view title;  // the address titles end in two blanks on purpose
  int width;               // pixels at the default font
  bool rightAligned;
};

inline constexpr std::array<FilterListColumnInfo, 9> kFilterListColumns{{
    {"Action", 48, false},
    {"Direction", 63, false},
    {"Proto", 42, false},
    {"Remote IP  ", 100, true},
    {"R Port", 50, true},
    {"Local IP  ", 100, true},
    {"L Port", 50, true},
    {"Application Name", 150, false},
    {"Rule Name", 150, false},
}};

// The text of one cell of the Filter List dialog's list for an entry.
std::string filterListCellText(const FilterEntry& entry, FilterListColumn column);

// The Filter List dialog without its widgets: a working copy of the list that
// the buttons change and "OK" writes back. "Cancel" is simply dropping it.
// Selections are the list's first selected row, or none.
class FilterListDialogModel {
 public:
  explicit FilterListDialogModel(const FilterList& list) : entries_(list.entries()) {}

  std::size_t rowCount() const noexcept { return entries_.size(); }
  const std::vector<FilterEntry>& entries() const noexcept { return entries_; }
  std::string cellText(FilterEntryIndex row, FilterListColumn column) const;

  // "Add" after the Edit Filter dialog (opened with its defaults) closed with OK.
  void add(const EditFilterFields& accepted);
  // "Edit" or a double-click: what to open the Edit Filter dialog with, or
  // none when there is no selected row to edit.
  std::optional<EditFilterFields> fieldsToEdit(std::optional<FilterEntryIndex> selected) const;
  // The Edit Filter dialog closed with OK: the selected entry is replaced.
  bool replace(std::optional<FilterEntryIndex> selected, const EditFilterFields& accepted);
  // "Remove": false when no row was selected, nothing changed then.
  bool remove(std::optional<FilterEntryIndex> selected);
  // "Remove All": false when there was nothing to remove.
  bool removeAll();
  // "OK": the list becomes the working copy, in order.
  void applyTo(FilterList& list) const;

 private:
  bool isRow(std::optional<FilterEntryIndex> selected) const noexcept {
    return selected.has_value() && *selected < entries_.size();
  }

  std::vector<FilterEntry> entries_;
};

}  // namespace qv
