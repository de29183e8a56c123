#include "views/packet_shown_list.h"

namespace qv {

template <>
PacketShownList PacketShownList::noData() {
  return PacketShownList(std::make_shared<const std::vector<PacketRecord>>(1, noDataPacketRecord()), {0});
}

}  // namespace qv
