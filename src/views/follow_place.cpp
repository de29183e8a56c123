#include "views/follow_place.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string_view>

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

// An open-addressing table from digests to small slots: a million digests
// are counted in a fraction of the time a node-based map takes. Digest 0 is
// the empty mark, so it is stored as the one digest that maps to slot 0.
class DigestTable {
 public:
  static constexpr std::size_t kNone = SIZE_MAX;

  explicit DigestTable(std::size_t expected)
      : keys_(std::bit_ceil(std::max<std::size_t>(16, expected * 2))), mask_(keys_.size() - 1),
        shift_(64 - std::countr_zero(keys_.size())) {}

  // The slot of a digest, taking a free one when it is not there yet.
  std::size_t insert(std::uint64_t digest) {
    const std::uint64_t key = digest == 0 ? kZeroKey : digest;
    std::size_t at = home(key);
    while (keys_[at] != 0 && keys_[at] != key) at = (at + 1) & mask_;
    keys_[at] = key;
    return at;
  }
  std::size_t find(std::uint64_t digest) const {
    const std::uint64_t key = digest == 0 ? kZeroKey : digest;
    for (std::size_t at = home(key);; at = (at + 1) & mask_) {
      if (keys_[at] == key) return at;
      if (keys_[at] == 0) return kNone;
    }
  }
  std::size_t slotCount() const noexcept { return keys_.size(); }

 private:
  // A digest that real events give with the same odds as any other.
  static constexpr std::uint64_t kZeroKey = 0x5851F42D4C957F2DULL;

  std::size_t home(std::uint64_t key) const noexcept {
    return static_cast<std::size_t>((key * kMix) >> shift_) & mask_;
  }

  std::vector<std::uint64_t> keys_;
  std::size_t mask_;
  int shift_;
};

// Matches events of `before` with rows of `after`: the k-th of equal events
// before is the k-th of them after. Only the wanted digests are indexed, in
// one pass over each list.
class OccurrenceFinder {
 public:
  explicit OccurrenceFinder(std::span<const std::uint64_t> wanted) : table_(wanted.size()) {
    for (const std::uint64_t digest : wanted) table_.insert(digest);
    rows_.resize(table_.slotCount());
  }
  void scan(std::span<const std::uint64_t> before, std::span<const std::uint64_t> after) {
    for (std::size_t row = 0; row < before.size(); ++row) {
      const std::size_t slot = table_.find(before[row]);
      if (slot != DigestTable::kNone) rows_[slot].before.push_back(row);
    }
    for (std::size_t row = 0; row < after.size(); ++row) {
      const std::size_t slot = table_.find(after[row]);
      if (slot != DigestTable::kNone) rows_[slot].after.push_back(row);
    }
  }
  std::optional<std::size_t> rowAfter(std::uint64_t digest, std::size_t rowBefore) const {
    const std::size_t slot = table_.find(digest);
    if (slot == DigestTable::kNone) return std::nullopt;
    const std::vector<std::size_t>& before = rows_[slot].before;
    const auto occurrence = static_cast<std::size_t>(
        std::lower_bound(before.begin(), before.end(), rowBefore) - before.begin());
    if (occurrence >= rows_[slot].after.size()) return std::nullopt;
    return rows_[slot].after[occurrence];
  }

 private:
  struct Rows {
    std::vector<std::size_t> before;
    std::vector<std::size_t> after;
  };
  DigestTable table_;
  std::vector<Rows> rows_;
};

// How far from the old top row to look for a surviving event.
constexpr std::size_t kTopSearch = 256;

}  // namespace

std::uint64_t eventDigest(const TrafficRecord& record) {
  std::uint64_t digest = 0;
  // Times and addresses mix in what identifies their texts: equal texts, equal numbers.
  for (const RecordTime* time : {&record.time, &record.beginTime, &record.endTime}) {
    mix(digest, time->holdsValue() ? static_cast<std::uint64_t>(time->unixSeconds()) : std::hash<std::string_view>()(time->text().view()));
  }
  for (const RecordAddress* address : {&record.remoteIp, &record.localIp}) {
    mix(digest, address->holdsNumber() ? address->number() : std::hash<std::string_view>()(address->text().view()));
  }
  for (const NameText* text : {&record.nameAddress, &record.ruleName, &record.applicationName}) mix(digest, text->view());
  mix(digest, (std::uint64_t{record.remotePort} << 32) | (std::uint64_t{record.localPort} << 16) | record.flags);
  mix(digest, record.occurrences);
  return digest;
}

std::uint64_t eventDigest(const PacketRecord& record) {
  const auto [bytes, statedLength] = record.ownBytes();
  std::uint64_t digest = 1;
  mix(digest, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  // A record cut short by the end of the file still differs from its whole self.
  mix(digest, statedLength);
  return digest;
}

std::vector<std::uint64_t> eventDigests(TrafficRows rows) { return digestsOf(rows, rows.size()); }

std::vector<std::uint64_t> eventDigests(const PacketShownList& rows) {
  if (rows.isNoDataPlaceholder()) return {};
  return digestsOf(rows, rows.size());
}

KeptPlace keepPlace(std::span<const std::uint64_t> before, const ListPlace& place,
                    std::span<const std::uint64_t> after) {
  KeptPlace kept;

  DigestTable earlier(before.size());
  std::vector<std::uint32_t> earlierCounts(earlier.slotCount());
  for (const std::uint64_t digest : before) ++earlierCounts[earlier.insert(digest)];
  for (std::size_t row = 0; row < after.size(); ++row) {
    const std::size_t slot = earlier.find(after[row]);
    if (slot != DigestTable::kNone && earlierCounts[slot] > 0) {
      --earlierCounts[slot];
    } else {
      kept.newRows.push_back(row);
    }
  }

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
  std::vector<std::uint64_t> wanted;
  for (const std::size_t row : wantedRows) wanted.push_back(before[row]);
  OccurrenceFinder finder(wanted);
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
