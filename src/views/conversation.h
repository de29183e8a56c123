#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "logdata/packet_record.h"
#include "views/packet_shown_list.h"
#include "views/row_index.h"

namespace qv {

// The packets a packet viewer opens on, and the one it shows first.
struct ViewerPackets {
  std::vector<PacketRecord> packets;
  std::size_t currentIndex = 0;
};

// Copies of the members of the conversation of row `row`, from the last shown
// row up to row 0, positioned on `row` itself. Throws std::out_of_range when
// `row` is not a shown row.
ViewerPackets conversationOf(const PacketShownList& shown, RowIndex row);

// Copies of exactly the selected rows, the highest row first, positioned on
// the first of them. Rows outside the list and repeated rows are ignored.
ViewerPackets selectedPackets(const PacketShownList& shown, std::span<const RowIndex> selectedRows);

}  // namespace qv
