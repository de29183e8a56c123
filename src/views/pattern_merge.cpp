#include "views/pattern_merge.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "filter/filter_entry.h"

namespace qv {

namespace {

// The fields a pattern either compares for equality or leaves open. A set of
// open fields is a shape; rows are filed by the fields each shape compares.
enum Field : unsigned { kApplication, kRule, kRemoteIp, kLocalIp, kRemotePort, kLocalPort, kFieldCount };
constexpr unsigned kTextFieldCount = 4;
using Shape = std::uint8_t;  // bit f set: field f is open
constexpr unsigned kShapeCount = 1u << kFieldCount;

bool isOpen(Shape shape, unsigned field) noexcept { return (shape & (1u << field)) != 0; }

Shape shapeOf(const FilterEntry& pattern) noexcept {
  const FilterWildcards open = wildcardsOf(pattern);
  unsigned shape = 0;
  if (open.application) shape |= 1u << kApplication;
  if (open.rule) shape |= 1u << kRule;
  if (open.remoteIp) shape |= 1u << kRemoteIp;
  if (open.localIp) shape |= 1u << kLocalIp;
  if (open.remotePort) shape |= 1u << kRemotePort;
  if (open.localPort) shape |= 1u << kLocalPort;
  return static_cast<Shape>(shape);
}

// The text fields as keys: the names' own texts and the addresses'
// identities, which are equal exactly when the addresses' texts are.
struct FieldKeys {
  std::array<std::string_view, 2> names;
  std::array<std::uint64_t, 2> addresses;
};

template <class Fields>
FieldKeys keysOf(const Fields& fields) {
  return {{fields.applicationName, fields.ruleName}, {fields.remoteIp.identity(), fields.localIp.identity()}};
}

constexpr std::uint32_t kUnknownText = std::numeric_limits<std::uint32_t>::max();

// Numbers for the distinct texts of one field, so that keys compare as numbers.
// Only rows of the shown list are numbered (their texts outlive the merge); a
// text asked for that no row filed so far holds is kUnknownText.
class TextIds {
 public:
  std::uint32_t number(std::string_view rowText) {
    return ids_.try_emplace(rowText, static_cast<std::uint32_t>(ids_.size())).first->second;
  }
  std::uint32_t find(std::string_view text) const {
    const auto found = ids_.find(text);
    return found == ids_.end() ? kUnknownText : found->second;
  }

 private:
  std::unordered_map<std::string_view, std::uint32_t> ids_;
};

// What a shape compares of a row, or what a pattern asks of it; open fields
// hold zero.
struct GroupKey {
  std::array<std::uint32_t, kTextFieldCount> textIds{};
  std::uint16_t remotePort = 0;
  std::uint16_t localPort = 0;
  std::uint8_t flags = 0;

  friend bool operator==(const GroupKey&, const GroupKey&) = default;
};

std::uint64_t mix(std::uint64_t value) noexcept {
  value ^= value >> 31;
  value *= 0x7FB5D329728EA185ull;
  value ^= value >> 27;
  value *= 0x81DADEF4BC2DD44Dull;
  return value ^ (value >> 33);
}

std::uint64_t hashOf(const GroupKey& key) noexcept {
  std::uint64_t hash = mix((std::uint64_t{key.flags} << 32) | (std::uint64_t{key.remotePort} << 16) | key.localPort);
  for (const std::uint32_t id : key.textIds) hash = mix(hash ^ id);
  return hash;
}

GroupKey keyFor(Shape shape, const std::array<std::uint32_t, kTextFieldCount>& textIds, std::uint16_t remotePort,
                std::uint16_t localPort, std::uint8_t flags) noexcept {
  GroupKey key;
  for (unsigned field = 0; field < kTextFieldCount; ++field) {
    if (!isOpen(shape, field)) key.textIds[field] = textIds[field];
  }
  if (!isOpen(shape, kRemotePort)) key.remotePort = remotePort;
  if (!isOpen(shape, kLocalPort)) key.localPort = localPort;
  key.flags = flags;
  return key;
}

// The first surviving row filed under each key of one shape: open addressing
// over the keys themselves, so a lookup never visits the rows.
class ShapeTable {
 public:
  static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

  explicit ShapeTable(Shape shape) : shape_(shape), slots_(1024) {}

  Shape shape() const noexcept { return shape_; }

  std::uint32_t find(const GroupKey& key) const noexcept { return slots_[slotOf(key, hashOf(key))].row; }

  // Files `row` unless an earlier row holds its key already.
  void fileIfNew(const GroupKey& key, std::uint32_t row) {
    const std::uint64_t hash = hashOf(key);
    Slot& slot = slots_[slotOf(key, hash)];
    if (slot.row != kNone) return;
    slot = Slot{key, row};
    if (++used_ * 2 > slots_.size()) grow();
  }

 private:
  struct Slot {
    GroupKey key;
    std::uint32_t row = kNone;
  };

  // The slot holding the key, or the empty slot where it would go.
  std::size_t slotOf(const GroupKey& key, std::uint64_t hash) const noexcept {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(hash) & mask;
    while (slots_[at].row != kNone && !(slots_[at].key == key)) at = (at + 1) & mask;
    return at;
  }

  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.row != kNone) slots_[slotOf(slot.key, hashOf(slot.key))] = slot;
    }
  }

  Shape shape_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// For each flag byte a pattern may hold, the flag bytes of the shown rows
// that it admits. The flag conditions are asked of the match itself, with a
// probe that meets every other condition of the pattern.
class AdmittedFlags {
 public:
  explicit AdmittedFlags(const std::bitset<256>& present) : present_(present) {}

  const std::vector<std::uint8_t>& of(const FilterEntry& pattern) {
    std::vector<std::uint8_t>& admitted = admitted_[pattern.flags];
    if (!known_[pattern.flags]) {
      known_[pattern.flags] = true;
      TrafficRecord probe = pattern;
      for (unsigned flags = 0; flags < 256; ++flags) {
        if (!present_[flags]) continue;
        probe.flags = static_cast<std::uint8_t>(flags);
        if (matches(probe, pattern)) admitted.push_back(static_cast<std::uint8_t>(flags));
      }
    }
    return admitted;
  }

 private:
  std::bitset<256> present_;
  std::bitset<256> known_;
  std::array<std::vector<std::uint8_t>, 256> admitted_;
};

std::uint32_t addSaturated(std::uint32_t a, std::uint32_t b) noexcept {
  const std::uint32_t sum = a + b;
  return sum < a ? std::numeric_limits<std::uint32_t>::max() : sum;
}

}  // namespace

std::vector<TrafficRecord> mergedEventPatterns(TrafficRows shown) {
  if (shown.size() < 2) return std::vector<TrafficRecord>(shown.begin(), shown.end());
  constexpr std::uint32_t kSurvivor = ShapeTable::kNone;

  // A row is absorbed by the first earlier surviving row that fits its
  // pattern: earlier rows settle before later ones, and a row's fit never
  // changes while it absorbs, since only its count and begin time change.
  std::bitset<256> presentFlags;
  std::bitset<kShapeCount> usedShapes;
  for (const TrafficRecord& row : shown) {
    presentFlags.set(row.flags);
    usedShapes.set(shapeOf(makeEventPattern(row)));
  }
  std::vector<ShapeTable> tables;
  std::array<std::size_t, kShapeCount> tableOf{};
  unsigned openEverywhere = kShapeCount - 1;  // text fields no used shape compares are never numbered
  for (unsigned shape = 0; shape < kShapeCount; ++shape) {
    if (!usedShapes[shape]) continue;
    openEverywhere &= shape;
    tableOf[shape] = tables.size();
    tables.emplace_back(static_cast<Shape>(shape));
  }
  std::array<TextIds, 2> textIds;
  std::array<std::unordered_map<std::uint64_t, std::uint32_t>, 2> addressIds;
  const auto idsOf = [&](const FieldKeys& keys, bool numberNew) {
    std::array<std::uint32_t, kTextFieldCount> ids{};
    for (unsigned field = 0; field < kTextFieldCount; ++field) {
      if (isOpen(static_cast<Shape>(openEverywhere), field)) continue;
      if (field < 2) {
        ids[field] = numberNew ? textIds[field].number(keys.names[field]) : textIds[field].find(keys.names[field]);
        continue;
      }
      auto& numbers = addressIds[field - 2];
      const std::uint64_t key = keys.addresses[field - 2];
      if (numberNew) {
        ids[field] = numbers.try_emplace(key, static_cast<std::uint32_t>(numbers.size())).first->second;
      } else {
        const auto found = numbers.find(key);
        ids[field] = found == numbers.end() ? kUnknownText : found->second;
      }
    }
    return ids;
  };
  AdmittedFlags admittedFlags(presentFlags);

  // Sums and begin times collect here and reach the surviving rows at the end.
  std::vector<std::uint32_t> owner(shown.size(), kSurvivor);
  std::vector<std::uint32_t> total(shown.size());
  std::vector<std::uint32_t> lastAbsorbed(shown.size(), kSurvivor);
  for (std::size_t row = 0; row < shown.size(); ++row) {
    const TrafficRecord& event = shown[row];
    const FilterEntry pattern = makeEventPattern(event);
    const Shape shape = shapeOf(pattern);
    const ShapeTable& table = tables[tableOf[shape]];
    const std::array<std::uint32_t, kTextFieldCount> patternIds = idsOf(keysOf(pattern), false);
    std::uint32_t found = kSurvivor;
    for (const std::uint8_t flags : admittedFlags.of(pattern)) {
      const GroupKey wanted = keyFor(shape, patternIds, pattern.remotePort, pattern.localPort, flags);
      found = std::min(found, table.find(wanted));
    }
    if (found != kSurvivor) {
      owner[row] = found;
      total[found] = addSaturated(total[found], event.occurrences);
      lastAbsorbed[found] = static_cast<std::uint32_t>(row);
      continue;
    }
    total[row] = event.occurrences;
    const std::array<std::uint32_t, kTextFieldCount> rowIds = idsOf(keysOf(event), true);
    for (ShapeTable& each : tables) {
      each.fileIfNew(keyFor(each.shape(), rowIds, event.remotePort, event.localPort, event.flags),
                     static_cast<std::uint32_t>(row));
    }
  }

  std::size_t kept = 0;
  for (const std::uint32_t each : owner) kept += each == kSurvivor ? 1 : 0;
  std::vector<TrafficRecord> merged;
  merged.reserve(kept);
  for (std::size_t row = 0; row < shown.size(); ++row) {
    if (owner[row] != kSurvivor) continue;
    TrafficRecord& survivor = merged.emplace_back(shown[row]);
    survivor.occurrences = total[row];
    if (lastAbsorbed[row] != kSurvivor) survivor.beginTime = shown[lastAbsorbed[row]].beginTime;
  }
  return merged;
}

void mergeEventPatterns(std::vector<TrafficRecord>& shown) {
  if (shown.size() < 2) return;
  std::vector<TrafficRecord> merged = mergedEventPatterns(shown);
  shown = std::move(merged);
}

void mergeEventPatterns(TrafficShownList& shown) {
  if (shown.size() < 2) return;
  auto merged = std::make_shared<const std::vector<TrafficRecord>>(mergedEventPatterns(shown.rows()));
  std::vector<RecordIndex> order(merged->size());
  for (std::size_t row = 0; row < order.size(); ++row) order[row] = static_cast<RecordIndex>(row);
  shown = TrafficShownList(std::move(merged), std::move(order));
}

}  // namespace qv
