#include "filter/quick_filter_run.h"

#include "logdata/ring_order.h"

namespace qv {

std::vector<RecordIndex> runTrafficFilter(std::span<const TrafficRecord> records, std::int32_t newestIndex,
                                          const QuickFilter& filter, const TrafficExclusion& excluded) {
  std::vector<RecordIndex> passing;
  forEachInRingOrder(records.size(), newestIndex, [&](std::size_t index) {
    const TrafficRecord& record = records[index];
    if (filter.passes(record) && !(excluded && excluded(record))) passing.push_back(static_cast<RecordIndex>(index));
  });
  passing.shrink_to_fit();
  return passing;
}

std::vector<RecordIndex> runPacketFilter(std::span<const PacketRecord> records, std::int32_t newestIndex,
                                         const QuickFilter& filter) {
  std::vector<RecordIndex> passing;
  forEachInRingOrder(records.size(), newestIndex, [&](std::size_t index) {
    if (filter.passes(records[index])) passing.push_back(static_cast<RecordIndex>(index));
  });
  passing.shrink_to_fit();
  return passing;
}

}  // namespace qv
