#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "filter/quick_filter.h"
#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"

namespace qv {

// Index of a record in its log's record list (file order).
using RecordIndex = std::uint32_t;

// The filter list's verdict on a traffic record that passed the quick
// filter: true drops it. An empty function means there is no filter list.
using TrafficExclusion = std::function<bool(const TrafficRecord&)>;

// One filter run over the traffic log: the records that pass the quick
// filter and are not excluded: their indexes in ring order (newest first).
std::vector<RecordIndex> runTrafficFilter(std::span<const TrafficRecord> records, std::int32_t newestIndex,
                                          const QuickFilter& filter, const TrafficExclusion& excluded = {});

// One filter run over the packet log: the indexes of the records that pass,
// in ring order. Packets meet no filter list.
std::vector<RecordIndex> runPacketFilter(std::span<const PacketRecord> records, std::int32_t newestIndex,
                                         const QuickFilter& filter);

}  // namespace qv
