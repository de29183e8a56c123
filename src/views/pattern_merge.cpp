#include "views/pattern_merge.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>

#include "filter/filter_entry.h"

namespace qv {

namespace {

// The fields a pattern either compares for equality or leaves open. A set of
// open fields is a shape; rows are hashed by the fields their shape compares.
enum Field : unsigned { kApplication, kRule, kRemoteIp, kLocalIp, kRemotePort, kLocalPort, kFieldCount };
using Shape = unsigned;  // bit f set: field f is open
constexpr unsigned kShapeCount = 1u << kFieldCount;

Shape shapeOf(const FilterEntry& pattern) noexcept {
  Shape shape = 0;
  if (pattern.applicationName == FilterWildcard::kApplication) shape |= 1u << kApplication;
  if (pattern.ruleName == FilterWildcard::kRule) shape |= 1u << kRule;
  if (pattern.remoteIp == FilterWildcard::kAddress) shape |= 1u << kRemoteIp;
  if (pattern.localIp == FilterWildcard::kAddress) shape |= 1u << kLocalIp;
  if (pattern.matchesAnyRemotePort()) shape |= 1u << kRemotePort;
  if (pattern.matchesAnyLocalPort()) shape |= 1u << kLocalPort;
  return shape;
}

bool isOpen(Shape shape, Field field) noexcept { return (shape & (1u << field)) != 0; }

// What a row offers to the fields a pattern compares: the pattern's own
// values when it asks, the row's values when the row is filed.
struct GroupKey {
  std::array<std::string_view, 4> texts;  // application, rule, remote and local address
  std::uint16_t remotePort = 0;
  std::uint16_t localPort = 0;
  std::uint8_t flags = 0;
};

template <class Fields>
GroupKey keyOf(const Fields& fields, std::uint8_t flags) {
  GroupKey key;
  key.texts = {fields.applicationName, fields.ruleName, fields.remoteIp, fields.localIp};
  key.remotePort = fields.remotePort;
  key.localPort = fields.localPort;
  key.flags = flags;
  return key;
}

using TextHashes = std::array<std::uint64_t, 4>;

TextHashes hashTexts(const GroupKey& key, Shape openEverywhere) {
  const std::hash<std::string_view> hasher;
  TextHashes hashes{};
  for (unsigned field = 0; field < 4; ++field) {
    if (!isOpen(openEverywhere, static_cast<Field>(field))) hashes[field] = hasher(key.texts[field]);
  }
  return hashes;
}

std::uint64_t mix(std::uint64_t value) noexcept {
  value ^= value >> 31;
  value *= 0x7FB5D329728EA185ull;
  value ^= value >> 27;
  value *= 0x81DADEF4BC2DD44Dull;
  return value ^ (value >> 33);
}

// The hash of what a shape compares.
std::uint64_t hashFor(Shape shape, const GroupKey& key, const TextHashes& textHashes) noexcept {
  std::uint64_t hash = mix(key.flags);
  for (unsigned field = 0; field < 4; ++field) {
    if (!isOpen(shape, static_cast<Field>(field))) hash = mix(hash ^ textHashes[field]) + field;
  }
  if (!isOpen(shape, kRemotePort)) hash = mix(hash ^ (0x10000u | key.remotePort));
  if (!isOpen(shape, kLocalPort)) hash = mix(hash ^ (0x20000u | key.localPort));
  return hash;
}

bool fits(Shape shape, const GroupKey& key, const TrafficRecord& row) noexcept {
  if (row.flags != key.flags) return false;
  if (!isOpen(shape, kRemotePort) && row.remotePort != key.remotePort) return false;
  if (!isOpen(shape, kLocalPort) && row.localPort != key.localPort) return false;
  const std::string_view texts[4] = {row.applicationName, row.ruleName, row.remoteIp, row.localIp};
  for (unsigned field = 0; field < 4; ++field) {
    if (!isOpen(shape, static_cast<Field>(field)) && texts[field] != key.texts[field]) return false;
  }
  return true;
}

// The first surviving row filed under each key of one shape: an open-
// addressing table of row numbers, compared through the rows themselves.
class ShapeTable {
 public:
  explicit ShapeTable(Shape shape) : shape_(shape), slots_(1024) {}

  static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();

  Shape shape() const noexcept { return shape_; }

  std::uint32_t find(const GroupKey& key, std::uint64_t hash, const std::vector<TrafficRecord>& rows) const noexcept {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.row == kEmpty) return kEmpty;
      if (slot.tag == static_cast<std::uint32_t>(hash >> 32) && fits(shape_, key, rows[slot.row])) return slot.row;
    }
  }

  // Files `row` unless an earlier row holds its key already.
  void fileIfNew(std::uint32_t row, const GroupKey& key, std::uint64_t hash, const std::vector<TrafficRecord>& rows) {
    if (find(key, hash, rows) != kEmpty) return;
    if ((used_ + 1) * 2 > slots_.size()) grow();
    place(row, hash);
    ++used_;
  }

 private:
  struct Slot {
    std::uint32_t row = kEmpty;
    std::uint32_t tag = 0;
    std::uint64_t hash = 0;
  };

  void place(std::uint32_t row, std::uint64_t hash) noexcept {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].row != kEmpty) at = (at + 1) & mask;
    slots_[at] = Slot{row, static_cast<std::uint32_t>(hash >> 32), hash};
  }

  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.row != kEmpty) place(slot.row, slot.hash);
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

void mergeEventPatterns(std::vector<TrafficRecord>& shown) {
  if (shown.size() < 2) return;

  // A row is absorbed by the first earlier surviving row that fits its
  // pattern: earlier rows settle before later ones, and a row's fit never
  // changes while it absorbs, since only its count and begin time change.
  std::bitset<256> presentFlags;
  std::bitset<kShapeCount> usedShapes;
  for (const TrafficRecord& row : shown) {
    presentFlags.set(row.flags);
    usedShapes.set(shapeOf(makeEventPattern(row)));
  }
  // Texts no used shape compares are never hashed.
  Shape openEverywhere = kShapeCount - 1;
  std::vector<ShapeTable> tables;
  std::array<std::size_t, kShapeCount> tableOf{};
  for (Shape shape = 0; shape < kShapeCount; ++shape) {
    if (!usedShapes[shape]) continue;
    openEverywhere &= shape;
    tableOf[shape] = tables.size();
    tables.emplace_back(shape);
  }
  AdmittedFlags admittedFlags(presentFlags);

  constexpr std::uint32_t kSurvivor = std::numeric_limits<std::uint32_t>::max();
  std::vector<std::uint32_t> absorbedBy(shown.size(), kSurvivor);
  for (std::size_t row = 0; row < shown.size(); ++row) {
    const FilterEntry pattern = makeEventPattern(shown[row]);
    const Shape shape = shapeOf(pattern);
    const ShapeTable& table = tables[tableOf[shape]];
    GroupKey wanted = keyOf(pattern, 0);
    const TextHashes patternHashes = hashTexts(wanted, openEverywhere);
    std::uint32_t owner = kSurvivor;
    for (const std::uint8_t flags : admittedFlags.of(pattern)) {
      wanted.flags = flags;
      const std::uint32_t found = table.find(wanted, hashFor(shape, wanted, patternHashes), shown);
      if (found < owner) owner = found;
    }
    if (owner != kSurvivor) {
      absorbedBy[row] = owner;
      TrafficRecord& survivor = shown[owner];
      survivor.occurrences = addSaturated(survivor.occurrences, shown[row].occurrences);
      survivor.beginTime = shown[row].beginTime;
      continue;
    }
    const GroupKey filed = keyOf(shown[row], shown[row].flags);
    const TextHashes filedHashes = hashTexts(filed, openEverywhere);
    for (ShapeTable& each : tables) {
      each.fileIfNew(static_cast<std::uint32_t>(row), filed, hashFor(each.shape(), filed, filedHashes), shown);
    }
  }

  std::size_t kept = 0;
  for (std::size_t row = 0; row < shown.size(); ++row) {
    if (absorbedBy[row] != kSurvivor) continue;
    if (kept != row) shown[kept] = std::move(shown[row]);
    ++kept;
  }
  shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(kept), shown.end());
}

}  // namespace qv
