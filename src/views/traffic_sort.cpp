#include "views/traffic_sort.h"

#include "views/column_sort.h"

namespace qv {

namespace rowsort {

SortText sortText(const TrafficRecord& row, Key key) {
  switch (key) {
    case Key::kBeginTime:
      return fieldSortText(row.beginTime);
    case Key::kEndTime:
      return fieldSortText(row.endTime);
    case Key::kRuleName:
      return fieldSortText(row.ruleName);
    default:
      return sharedSortText(row, key);
  }
}

std::uint64_t sortNumber(const TrafficRecord& row, Key key) {
  switch (key) {
    case Key::kOccurrences:
      return row.occurrences;
    case Key::kProtocolRank:
      // The cell shows UDP if its bit is set, else ICMP if its bit is set, else TCP.
      if ((row.flags & RecordFlag::kUdp) != 0) return 1;
      if ((row.flags & RecordFlag::kIcmp) != 0) return 2;
      return 0;
    default:
      return sharedSortNumber(row, key);
  }
}

}  // namespace rowsort

namespace {

using rowsort::ColumnOrder;
using rowsort::Key;
using rowsort::kRemoteIpUp;
using rowsort::kRemotePortUp;
using rowsort::kTimeDown;

constexpr ColumnOrder kTrafficOrders[kTrafficColumnCount] = {
    {{Key::kTime, true}, {kRemotePortUp, kRemoteIpUp}},
    {{Key::kActionRank, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kDirectionRank, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kProtocolRank, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kRemoteIpNumeric, false}, {kTimeDown, kRemotePortUp}},
    {{Key::kNameAddress, true}, {kTimeDown, kRemoteIpUp}},
    {{Key::kRemotePort, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kLocalIpNumeric, false}, {kTimeDown, kRemotePortUp}},
    {{Key::kLocalPort, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kOccurrences, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kApplicationName, true}, {kTimeDown, kRemoteIpUp}},
    {{Key::kRuleName, true}, {kTimeDown, kRemoteIpUp}},
    {{Key::kBeginTime, true}, {kRemotePortUp, kRemoteIpUp}},
    {{Key::kEndTime, true}, {kRemotePortUp, kRemoteIpUp}},
};

const ColumnOrder& trafficOrder(int column) {
  return rowsort::columnOrder(kTrafficOrders, column, "traffic view has no such column");
}

}  // namespace

std::strong_ordering compareTrafficRows(const TrafficRecord& a, const TrafficRecord& b, int column,
                                        SortDirection direction) {
  return rowsort::compareRows(a, b, trafficOrder(column), direction);
}

void sortTrafficRows(TrafficShownList& rows, int column, SortDirection direction) {
  const ColumnOrder& order = trafficOrder(column);
  if (rows.size() < 2) return;
  rowsort::sortIndexes(std::span<const TrafficRecord>(*rows.records()), rows.order(), order, direction);
}

void sortTrafficRows(std::vector<TrafficRecord>& rows, int column, SortDirection direction) {
  rowsort::sortRecords(rows, trafficOrder(column), direction);
}

std::optional<HeaderChange> clickTrafficHeader(SortState& state, TrafficShownList& rows, int column) {
  trafficOrder(column);
  return rowsort::clickHeader<TrafficShownList>(state, rows, column, sortTrafficRows);
}

std::optional<HeaderChange> clickTrafficHeader(SortState& state, std::vector<TrafficRecord>& rows, int column) {
  trafficOrder(column);
  return rowsort::clickHeader<std::vector<TrafficRecord>>(state, rows, column, sortTrafficRows);
}

}  // namespace qv
