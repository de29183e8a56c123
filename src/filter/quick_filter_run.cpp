#include "filter/quick_filter_run.h"

#include "logdata/ring_order.h"

namespace qv {
namespace {

// The indexes of the records that pass `test`, in ring order.
template <class Record, class Test>
std::vector<RecordIndex> passingIndexes(std::span<const Record> records, std::int32_t newestIndex, Test test) {
  // Room for every record at once: growing by doubling would hold the rows
  // twice for a moment, and capacity never written to is never given pages.
  std::vector<RecordIndex> passing;
  passing.reserve(records.size());
  forEachInRingOrder(records.size(), newestIndex, [&](std::size_t index) {
    if (test(records[index])) passing.push_back(static_cast<RecordIndex>(index));
  });
  // Giving back the room of a short list costs a copy of few rows.
  if (passing.size() < passing.capacity() / 2) passing.shrink_to_fit();
  return passing;
}

}  // namespace

std::vector<RecordIndex> runTrafficFilter(std::span<const TrafficRecord> records, std::int32_t newestIndex,
                                          const QuickFilter& filter, const TrafficExclusion& excluded) {
  return passingIndexes(records, newestIndex, [&](const TrafficRecord& record) {
    return filter.passes(record) && !(excluded && excluded(record));
  });
}

std::vector<RecordIndex> runPacketFilter(std::span<const PacketRecord> records, std::int32_t newestIndex,
                                         const QuickFilter& filter) {
  return passingIndexes(records, newestIndex, [&](const PacketRecord& record) { return filter.passes(record); });
}

}  // namespace qv
