#pragma once

// What the traffic and packet views' column sorts have in common: the keys
// whose field both records carry under the same name, the tie orders most
// columns use, the lookup of a column's order and the header click. Each
// view keeps its own order table and the keys only its records have.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "views/address_order.h"
#include "views/row_sort.h"
#include "views/sort_state.h"

namespace qv::rowsort {

// A field as a sort key: texts as they are, times and addresses as made texts.
inline SortText fieldSortText(const Text& text) noexcept { return SortText(text); }
inline SortText fieldSortText(const NameText& text) noexcept { return SortText(text.view()); }
inline SortText fieldSortText(const RecordTime& time) { return SortText::owning(time.text()); }
inline SortText fieldSortText(const RecordAddress& address) { return SortText::owning(address.text()); }

// The numeric order of an address field.
inline std::uint32_t fieldAddressSortValue(const Text& dotted) noexcept { return addressSortValue(dotted); }
inline std::uint32_t fieldAddressSortValue(const RecordAddress& address) {
  // A number's dotted text is four groups of at most three digits, which sorts as the number.
  return address.holdsNumber() ? address.number() : addressSortValue(address.text());
}

// The text keys of fields both records have; {} for any other key.
template <class Record>
SortText sharedSortText(const Record& row, Key key) {
  switch (key) {
    case Key::kTime:
      return fieldSortText(row.time);
    case Key::kNameAddress:
      return fieldSortText(row.nameAddress);
    case Key::kApplicationName:
      return fieldSortText(row.applicationName);
    case Key::kRemoteIpText:
      return fieldSortText(row.remoteIp);
    default:
      return {};
  }
}

// The numeric keys of fields both records have; 0 for any other key.
template <class Record>
std::uint64_t sharedSortNumber(const Record& row, Key key) {
  switch (key) {
    case Key::kRemoteIpNumeric:
      return fieldAddressSortValue(row.remoteIp);
    case Key::kLocalIpNumeric:
      return fieldAddressSortValue(row.localIp);
    case Key::kRemotePort:
      return row.remotePort;
    case Key::kLocalPort:
      return row.localPort;
    case Key::kActionRank:
      return actionRank(row.flags);
    case Key::kDirectionRank:
      return directionRank(row.flags);
    default:
      return 0;
  }
}

inline constexpr KeyOrder kTimeDown{Key::kTime, true};
inline constexpr KeyOrder kRemoteIpUp{Key::kRemoteIpText, false};
inline constexpr KeyOrder kRemotePortUp{Key::kRemotePort, false};

// The order of `column` in a view's table; `noSuchColumn` is the error for
// an index outside it.
template <std::size_t kColumns>
const ColumnOrder& columnOrder(const ColumnOrder (&orders)[kColumns], int column, const char* noSuchColumn) {
  if (column < 0 || static_cast<std::size_t>(column) >= kColumns) throw std::out_of_range(noSuchColumn);
  return orders[column];
}

// One click on a header whose column the caller has checked: nothing when the
// list is empty, otherwise the state advances and `sortRows` orders the rows
// by its new order.
template <class Rows>
std::optional<HeaderChange> clickHeader(SortState& state, Rows& rows, int column,
                                        void (*sortRows)(Rows&, int, SortDirection)) {
  if (rows.empty()) return std::nullopt;
  const HeaderChange change = state.click(column);
  sortRows(rows, column, state.direction());
  return change;
}

}  // namespace qv::rowsort
