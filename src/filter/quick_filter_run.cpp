#include "filter/quick_filter_run.h"

#include "logdata/ring_order.h"
#include "platform/large_pages.h"

namespace qv {

std::vector<TrafficRecord> runTrafficFilter(std::span<const TrafficRecord> records, std::int32_t newestIndex,
                                            const QuickFilter& filter, const TrafficExclusion& excluded) {
  // Indexes first, so that the copies are made into storage of the exact
  // size: a growing array of records would briefly need twice the room.
  std::vector<RecordIndex> passing;
  forEachInRingOrder(records.size(), newestIndex, [&](std::size_t index) {
    const TrafficRecord& record = records[index];
    if (filter.passes(record) && !(excluded && excluded(record))) passing.push_back(static_cast<RecordIndex>(index));
  });
  std::vector<TrafficRecord> shown;
  platform::reserveOnLargePages(shown, passing.size());
  for (const RecordIndex index : passing) shown.push_back(records[index]);
  return shown;
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
