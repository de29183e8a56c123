#include "views/follow_place.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace qv {
namespace {

constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ULL;

void mix(std::uint64_t& digest, std::uint64_t value) {
  digest ^= value + kMix + (digest << 6) + (digest >> 2);
}

void mix(std::uint64_t& digest, std::string_view bytes) {
  // The length too, so that moving a byte from one field to the next changes the digest.
  mix(digest, std::hash<std::string_view>{}(bytes));
  mix(digest, bytes.size());
}

template <class Rows>
std::vector<std::uint64_t> digestsOf(const Rows& rows, std::size_t count) {
  std::vector<std::uint64_t> digests(count);
  for (std::size_t row = 0; row < count; ++row) digests[row] = eventDigest(rows[row]);
  return digests;
}

// Matches events of `before` with rows of `after`: the k-th of equal events
// before is the k-th of them after. Only the wanted digests are indexed, in
// one pass over each list.
class OccurrenceFinder {
 public:
  void want(std::uint64_t digest) { rows_.try_emplace(digest); }
  void scan(std::span<const std::uint64_t> before, std::span<const std::uint64_t> after) {
    for (std::size_t row = 0; row < before.size(); ++row) {
      const auto found = rows_.find(before[row]);
      if (found != rows_.end()) found->second.before.push_back(row);
    }
    for (std::size_t row = 0; row < after.size(); ++row) {
      const auto found = rows_.find(after[row]);
      if (found != rows_.end()) found->second.after.push_back(row);
    }
  }
  std::optional<std::size_t> rowAfter(std::uint64_t digest, std::size_t rowBefore) const {
    const auto found = rows_.find(digest);
    if (found == rows_.end()) return std::nullopt;
    const std::vector<std::size_t>& before = found->second.before;
    const auto occurrence = static_cast<std::size_t>(
        std::lower_bound(before.begin(), before.end(), rowBefore) - before.begin());
    if (occurrence >= found->second.after.size()) return std::nullopt;
    return found->second.after[occurrence];
  }

 private:
  struct Rows {
    std::vector<std::size_t> before;
    std::vector<std::size_t> after;
  };
  std::unordered_map<std::uint64_t, Rows> rows_;
};

// How far from the old top row to look for a surviving event.
constexpr std::size_t kTopSearch = 256;

}  // namespace

std::uint64_t eventDigest(const TrafficRecord& record) {
  std::uint64_t digest = 0;
  for (const Text* text : {&record.time, &record.remoteIp, &record.localIp, &record.nameAddress, &record.ruleName,
                           &record.applicationName, &record.beginTime, &record.endTime}) {
    mix(digest, text->view());
  }
  mix(digest, (std::uint64_t{record.remotePort} << 32) | (std::uint64_t{record.localPort} << 16) | record.flags);
  mix(digest, record.occurrences);
  return digest;
}

std::uint64_t eventDigest(const PacketRecord& record) {
  const std::span<const std::uint8_t> bytes = record.recordBytes();
  std::uint64_t digest = 1;
  mix(digest, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  // A record cut short by the end of the file still differs from its whole self.
  mix(digest, record.recordLength);
  return digest;
}

std::vector<std::uint64_t> eventDigests(std::span<const TrafficRecord> rows) { return digestsOf(rows, rows.size()); }

std::vector<std::uint64_t> eventDigests(const PacketShownList& rows) {
  if (rows.isNoDataPlaceholder()) return {};
  return digestsOf(rows, rows.size());
}

KeptPlace keepPlace(std::span<const std::uint64_t> before, const ListPlace& place,
                    std::span<const std::uint64_t> after) {
  KeptPlace kept;

  std::unordered_map<std::uint64_t, std::uint32_t> earlierCounts;
  earlierCounts.reserve(before.size());
  for (const std::uint64_t digest : before) ++earlierCounts[digest];
  for (std::size_t row = 0; row < after.size(); ++row) {
    const auto found = earlierCounts.find(after[row]);
    if (found != earlierCounts.end() && found->second > 0) {
      --found->second;
    } else {
      kept.newRows.push_back(row);
    }
  }

  OccurrenceFinder finder;
  std::vector<std::size_t> topCandidates;
  if (place.topRow && *place.topRow < before.size()) {
    const std::size_t top = *place.topRow;
    for (std::size_t row = top; row < before.size() && row < top + kTopSearch; ++row) topCandidates.push_back(row);
    for (std::size_t row = top; row > 0 && top - row < kTopSearch; --row) topCandidates.push_back(row - 1);
  }
  std::vector<std::size_t> wantedRows = topCandidates;
  for (const std::size_t row : place.selectedRows) {
    if (row < before.size()) wantedRows.push_back(row);
  }
  if (place.currentRow && *place.currentRow < before.size()) wantedRows.push_back(*place.currentRow);
  for (const std::size_t row : wantedRows) finder.want(before[row]);
  finder.scan(before, after);
  const auto rowAfter = [&](std::size_t row) { return finder.rowAfter(before[row], row); };

  for (const std::size_t row : place.selectedRows) {
    if (row >= before.size()) continue;
    if (const std::optional<std::size_t> moved = rowAfter(row)) kept.selectedRows.push_back(*moved);
  }
  std::sort(kept.selectedRows.begin(), kept.selectedRows.end());
  kept.selectedRows.erase(std::unique(kept.selectedRows.begin(), kept.selectedRows.end()), kept.selectedRows.end());
  for (const std::size_t row : topCandidates) {
    if ((kept.topRow = rowAfter(row))) break;
  }
  if (place.currentRow && *place.currentRow < before.size()) kept.currentRow = rowAfter(*place.currentRow);
  return kept;
}

}  // namespace qv
