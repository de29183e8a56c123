#include "views/packet_shown_list.h"

#include <stdexcept>
#include <utility>

namespace qv {

PacketShownList::PacketShownList(PacketRecordList records, std::vector<RecordIndex> order)
    : records_(std::move(records)), order_(std::move(order)) {
  const std::size_t count = records_ ? records_->size() : 0;
  for (const RecordIndex index : order_) {
    if (index >= count) throw std::out_of_range("packet shown list: row index beyond the record list");
  }
}

PacketShownList PacketShownList::noData() {
  return PacketShownList(std::make_shared<const std::vector<PacketRecord>>(1, noDataPacketRecord()), {0});
}

bool PacketShownList::isNoDataPlaceholder() const noexcept {
  return order_.size() == 1 && (*this)[0].time == "No Data";
}

}  // namespace qv
