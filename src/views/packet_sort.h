#pragma once

#include <compare>
#include <optional>

#include "logdata/packet_record.h"
#include "views/packet_columns.h"
#include "views/packet_shown_list.h"
#include "views/sort_state.h"

namespace qv {

// The order of the packet view's column `column` (0 to 10) in `direction`;
// less means the row comes first. Throws std::out_of_range for another column.
std::strong_ordering comparePacketRows(const PacketRecord& a, const PacketRecord& b, int column,
                                       SortDirection direction);

// Sorts the shown list in place by that order.
void sortPacketRows(PacketShownList& rows, int column, SortDirection direction);

// One click on the header of `column`: nothing when the list is empty,
// otherwise the state advances and the rows are sorted by its new order.
std::optional<HeaderChange> clickPacketHeader(SortState& state, PacketShownList& rows, int column);

}  // namespace qv
