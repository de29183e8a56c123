#include "views/packet_sort.h"

#include "views/column_sort.h"

namespace qv {

namespace rowsort {

SortText sortText(const PacketRecord& row, Key key) {
  if (key == Key::kProtocolText) return SortText(row.protocol.view());
  return sharedSortText(row, key);
}

std::uint64_t sortNumber(const PacketRecord& row, Key key) {
  if (key == Key::kTcpFlags) return row.tcpFlags;
  return sharedSortNumber(row, key);
}

}  // namespace rowsort

namespace {

using rowsort::ColumnOrder;
using rowsort::Key;
using rowsort::kRemoteIpUp;
using rowsort::kRemotePortUp;
using rowsort::kTimeDown;

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
  return rowsort::columnOrder(kPacketOrders, column, "packet view has no such column");
}

}  // namespace

std::strong_ordering comparePacketRows(const PacketRecord& a, const PacketRecord& b, int column,
                                       SortDirection direction) {
  return rowsort::compareRows(a, b, packetOrder(column), direction);
}

void sortPacketRows(PacketShownList& rows, int column, SortDirection direction) {
  const ColumnOrder& order = packetOrder(column);
  if (rows.size() < 2) return;
  rowsort::sortIndexes(std::span<const PacketRecord>(*rows.records()), rows.order(), order, direction);
}

std::optional<HeaderChange> clickPacketHeader(SortState& state, PacketShownList& rows, int column) {
  packetOrder(column);
  return rowsort::clickHeader(state, rows, column, sortPacketRows);
}

}  // namespace qv
