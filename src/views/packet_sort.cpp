#include "views/packet_sort.h"

#include <stdexcept>

#include "views/address_order.h"
#include "views/row_sort.h"

namespace qv {

namespace rowsort {

std::string_view sortText(const PacketRecord& row, Key key) {
  switch (key) {
    case Key::kTime:
      return row.time;
    case Key::kNameAddress:
      return row.nameAddress;
    case Key::kApplicationName:
      return row.applicationName;
    case Key::kRemoteIpText:
      return row.remoteIp;
    case Key::kProtocolText:
      return row.protocol;
    default:
      return {};
  }
}

std::uint64_t sortNumber(const PacketRecord& row, Key key) {
  switch (key) {
    case Key::kRemoteIpNumeric:
      return addressSortValue(row.remoteIp);
    case Key::kLocalIpNumeric:
      return addressSortValue(row.localIp);
    case Key::kRemotePort:
      return row.remotePort;
    case Key::kLocalPort:
      return row.localPort;
    case Key::kActionRank:
      return actionRank(row.flags);
    case Key::kDirectionRank:
      return directionRank(row.flags);
    case Key::kTcpFlags:
      return row.tcpFlags;
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

constexpr ColumnOrder kPacketOrders[kPacketColumnCount] = {
    {{Key::kTime, true}, {kRemotePortUp, kRemoteIpUp}},
    {{Key::kActionRank, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kDirectionRank, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kProtocolText, true}, {kTimeDown, kRemoteIpUp}},
    {{Key::kRemoteIpNumeric, false}, {kTimeDown, kRemotePortUp}},
    {{Key::kNameAddress, true}, {kTimeDown, kRemoteIpUp}},
    {{Key::kRemotePort, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kLocalIpNumeric, false}, {kTimeDown, kRemotePortUp}},
    {{Key::kLocalPort, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kTcpFlags, false}, {kTimeDown, kRemoteIpUp}},
    {{Key::kApplicationName, true}, {kTimeDown, kRemoteIpUp}},
};

const ColumnOrder& packetOrder(int column) {
  if (column < 0 || column >= kPacketColumnCount) throw std::out_of_range("packet view has no such column");
  return kPacketOrders[column];
}

}  // namespace

std::strong_ordering comparePacketRows(const PacketRecord& a, const PacketRecord& b, int column,
                                       SortDirection direction) {
  return rowsort::compareRows(a, b, packetOrder(column), direction);
}

void sortPacketRows(PacketShownList& rows, int column, SortDirection direction) {
  const std::vector<std::uint32_t> source = rowsort::sortedOrder(rows, packetOrder(column), direction);
  std::vector<RecordIndex>& order = rows.order();
  std::vector<RecordIndex> sorted(order.size());
  for (std::size_t i = 0; i < source.size(); ++i) sorted[i] = order[source[i]];
  order = std::move(sorted);
}

std::optional<HeaderChange> clickPacketHeader(SortState& state, PacketShownList& rows, int column) {
  packetOrder(column);
  if (rows.empty()) return std::nullopt;
  const HeaderChange change = state.click(column);
  sortPacketRows(rows, column, state.direction());
  return change;
}

}  // namespace qv
