#pragma once

#include "logdata/packet_record.h"
#include "views/shown_list.h"

namespace qv {

using PacketRecordList = RecordList<PacketRecord>;

// The packet view's rows.
using PacketShownList = ShownList<PacketRecord>;

template <>
PacketShownList PacketShownList::noData();

}  // namespace qv
