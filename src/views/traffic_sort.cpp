#include "views/traffic_sort.h"

#include <stdexcept>

#include "views/address_order.h"
#include "views/row_sort.h"

namespace qv {

namespace rowsort {

std::string_view sortText(const TrafficRecord& row, Key key) {
  switch (key) {
    case Key::kTime:
      return row.time;
    case Key::kBeginTime:
      return row.beginTime;
    case Key::kEndTime:
      return row.endTime;
    case Key::kNameAddress:
      return row.nameAddress;
    case Key::kApplicationName:
      return row.applicationName;
    case Key::kRuleName:
      return row.ruleName;
    case Key::kRemoteIpText:
      return row.remoteIp;
    default:
      return {};
  }
}

std::uint64_t sortNumber(const TrafficRecord& row, Key key) {
  switch (key) {
    case Key::kRemoteIpNumeric:
      return addressSortValue(row.remoteIp);
    case Key::kLocalIpNumeric:
      return addressSortValue(row.localIp);
    case Key::kRemotePort:
      return row.remotePort;
    case Key::kLocalPort:
      return row.localPort;
    case Key::kOccurrences:
      return row.occurrences;
    case Key::kActionRank:
      return actionRank(row.flags);
    case Key::kDirectionRank:
      return directionRank(row.flags);
    case Key::kProtocolRank:
      // The cell shows UDP if its bit is set, else ICMP if its bit is set, else TCP.
      if ((row.flags & RecordFlag::kUdp) != 0) return 1;
      if ((row.flags & RecordFlag::kIcmp) != 0) return 2;
      return 0;
    default:
      return 0;
  }
}

}  // namespace rowsort

namespace {

using rowsort::ColumnOrder;
using rowsort::Key;

constexpr rowsort::KeyOrder kTimeDown{Key::kTime, true};
constexpr rowsort::KeyOrder kRemoteIpUp{Key::kRemoteIpText, false};
constexpr rowsort::KeyOrder kRemotePortUp{Key::kRemotePort, false};

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
  if (column < 0 || column >= kTrafficColumnCount) throw std::out_of_range("traffic view has no such column");
  return kTrafficOrders[column];
}

}  // namespace

std::strong_ordering compareTrafficRows(const TrafficRecord& a, const TrafficRecord& b, int column,
                                        SortDirection direction) {
  return rowsort::compareRows(a, b, trafficOrder(column), direction);
}

void sortTrafficRows(std::vector<TrafficRecord>& rows, int column, SortDirection direction) {
  rowsort::sortRows(rows, trafficOrder(column), direction);
}

std::optional<HeaderChange> clickTrafficHeader(SortState& state, std::vector<TrafficRecord>& rows, int column) {
  trafficOrder(column);
  if (rows.empty()) return std::nullopt;
  const HeaderChange change = state.click(column);
  sortTrafficRows(rows, column, state.direction());
  return change;
}

}  // namespace qv
