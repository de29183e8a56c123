#pragma once

// The sorting machinery shared by both list views. A column's order is a
// primary key with the direction of the first click and up to two tie keys
// whose direction never changes. Rows are sorted through compact entries that
// carry a big-endian prefix of their keys and their record's index, so that
// most comparisons never touch the records; equal prefixes fall back to the
// full comparison.

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "logdata/record_address.h"
#include "logdata/record_rows.h"
#include "logdata/record_time.h"
#include "logdata/text.h"
#include "logdata/traffic_record.h"
#include "views/sort_state.h"

namespace qv::rowsort {

enum class Key : std::uint8_t {
  kNone,
  // texts, compared byte-wise
  kTime,
  kBeginTime,
  kEndTime,
  kNameAddress,
  kApplicationName,
  kRuleName,
  kRemoteIpText,
  kProtocolText,
  // numbers
  kRemoteIpNumeric,
  kLocalIpNumeric,
  kRemotePort,
  kLocalPort,
  kOccurrences,
  kActionRank,
  kDirectionRank,
  kProtocolRank,
  kTcpFlags,
};

constexpr bool isTextKey(Key key) noexcept { return key >= Key::kTime && key <= Key::kProtocolText; }
constexpr bool isTimeKey(Key key) noexcept { return key >= Key::kTime && key <= Key::kEndTime; }

// The time field a time key reads, where the record keeps it as a RecordTime.
template <class Record>
const RecordTime* timeField(const Record& row, Key key) noexcept {
  if constexpr (std::is_same_v<decltype(row.time), RecordTime>) {
    if (key == Key::kTime) return &row.time;
  }
  if constexpr (requires { row.beginTime; row.endTime; }) {
    if (key == Key::kBeginTime) return &row.beginTime;
    if (key == Key::kEndTime) return &row.endTime;
  }
  return nullptr;
}

// Bytes a numeric key needs in the prefix.
constexpr std::size_t numberWidth(Key key) noexcept {
  switch (key) {
    case Key::kRemoteIpNumeric:
    case Key::kLocalIpNumeric:
    case Key::kOccurrences:
      return 4;
    case Key::kRemotePort:
    case Key::kLocalPort:
      return 2;
    default:
      return 1;
  }
}

struct KeyOrder {
  Key key = Key::kNone;
  bool descending = false;
};

// A column's order as its first click sorts it.
struct ColumnOrder {
  KeyOrder primary;
  std::array<KeyOrder, 2> ties;
};

inline KeyOrder effectivePrimary(const ColumnOrder& order, SortDirection direction) noexcept {
  KeyOrder primary = order.primary;
  if (direction == SortDirection::kSecondClick) primary.descending = !primary.descending;
  return primary;
}

// Rank of an action for the order "blocked before allowed".
constexpr std::uint64_t actionRank(std::uint8_t flags) noexcept { return (flags & RecordFlag::kAllowed) != 0 ? 1 : 0; }
// Rank of a direction for the order "incoming, outgoing, unknown".
constexpr std::uint64_t directionRank(std::uint8_t flags) noexcept {
  if ((flags & RecordFlag::kIncoming) != 0) return 0;
  if ((flags & RecordFlag::kOutgoing) != 0) return 1;
  return 2;
}

// A text key of one row: a view of the record's own text, or a text made for
// the sort (times and addresses kept as numbers). Lives as long as the record.
class SortText {
 public:
  SortText() noexcept = default;
  SortText(std::string_view borrowed) noexcept : borrowed_(borrowed) {}  // NOLINT: implicit like a view
  SortText(const Text& borrowed) noexcept : borrowed_(borrowed.view()) {}  // NOLINT
  static SortText owning(Text made) noexcept {
    SortText text;
    text.owned_ = std::move(made);
    text.isOwned_ = true;
    return text;
  }
  std::string_view view() const noexcept { return isOwned_ ? owned_.view() : borrowed_; }
  bool isOwned() const noexcept { return isOwned_; }
  Text release() noexcept { return std::move(owned_); }

 private:
  std::string_view borrowed_;
  Text owned_;
  bool isOwned_ = false;
};

// Record access: each record type provides
//   SortText sortText(const R&, Key) and std::uint64_t sortNumber(const R&, Key).
template <class Record>
std::strong_ordering compareKey(const Record& a, const Record& b, KeyOrder order) {
  std::strong_ordering result = std::strong_ordering::equal;
  if (isTextKey(order.key)) {
    result = Text::compareBytes(sortText(a, order.key).view(), sortText(b, order.key).view());
  } else {
    result = sortNumber(a, order.key) <=> sortNumber(b, order.key);
  }
  if (order.descending) result = 0 <=> result;
  return result;
}

template <class Record>
std::strong_ordering compareRows(const Record& a, const Record& b, const ColumnOrder& order, SortDirection direction) {
  std::strong_ordering result = compareKey(a, b, effectivePrimary(order, direction));
  for (const KeyOrder& tie : order.ties) {
    if (result != 0 || tie.key == Key::kNone) break;
    result = compareKey(a, b, tie);
  }
  return result;
}

namespace detail {

inline constexpr std::size_t kPrefixBytes = 24;

struct Entry {
  std::uint64_t words[3];
  std::uint32_t index;  // the record's index in its list
};

inline bool wordsLess(const Entry& a, const Entry& b) noexcept {
  if (a.words[0] != b.words[0]) return a.words[0] < b.words[0];
  if (a.words[1] != b.words[1]) return a.words[1] < b.words[1];
  return a.words[2] < b.words[2];
}
inline bool wordsEqual(const Entry& a, const Entry& b) noexcept {
  return a.words[0] == b.words[0] && a.words[1] == b.words[1] && a.words[2] == b.words[2];
}

// How one key is laid into the prefix, decided once per sort.
struct FieldPlan {
  KeyOrder order;
  std::size_t commonPrefix = 0;       // text keys: bytes every row shares, skipped
  std::size_t width = 0;              // bytes in the prefix
  bool exact = false;                 // the bytes decide the key completely
  bool timeOrder = false;             // a time key laid as RecordTime::textOrder
  std::vector<std::uint32_t> ranks;   // a long primary text: each row's rank among the distinct texts
};

inline constexpr std::size_t kRankWidth = 4;
inline constexpr std::size_t kTimeOrderWidth = 8;

// Turns the ids in `ranks` (indexes into `distinct`, the distinct texts) into
// the ranks of their texts in byte order.
template <class Texts>
void rankIds(const Texts& distinct, std::vector<std::uint32_t>& ranks) {
  std::vector<std::uint32_t> byText(distinct.size());
  for (std::size_t id = 0; id < byText.size(); ++id) byText[id] = static_cast<std::uint32_t>(id);
  std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
    return Text::compareBytes(std::string_view(distinct[a]), std::string_view(distinct[b])) < 0;
  });
  std::vector<std::uint32_t> rankOfId(distinct.size());
  for (std::size_t rank = 0; rank < byText.size(); ++rank) rankOfId[byText[rank]] = static_cast<std::uint32_t>(rank);
  for (std::uint32_t& rank : ranks) rank = rankOfId[rank];
}

// The ranks of the rows' remote address texts when every row holds its
// address as a number; empty otherwise. Logs name few distinct addresses, so
// only their texts are made, not one per row.
template <class Rows>
std::vector<std::uint32_t> rankAddressNumbers(const Rows& rows) {
  std::unordered_map<std::uint32_t, std::uint32_t> ids;
  std::vector<std::uint32_t> distinct;
  std::vector<std::uint32_t> ranks(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RecordAddress& address = rows[i].remoteIp;
    if (!address.holdsNumber()) return {};
    const auto [found, added] = ids.emplace(address.number(), static_cast<std::uint32_t>(distinct.size()));
    if (added) distinct.push_back(address.number());
    ranks[i] = found->second;
  }
  std::vector<Text> texts;
  texts.reserve(distinct.size());
  for (const std::uint32_t number : distinct) texts.push_back(RecordAddress::ofNumber(number).text());
  rankIds(texts, ranks);
  return ranks;
}

// Whether every row's time field for `key` holds a value (no text put there by hand).
template <class Rows>
bool allTimesHoldValues(const Rows& rows, Key key) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const RecordTime* time = timeField(rows[i], key);
    if (time == nullptr || !time->holdsValue()) return false;
  }
  return true;
}

// The rank of each row's text among the distinct texts of all rows, in byte
// order. Logs repeat their applications, rules and names, so there are few.
template <class Rows>
std::vector<std::uint32_t> rankTexts(const Rows& rows, Key key) {
  std::unordered_map<std::string_view, std::uint32_t> ids;
  std::vector<std::string_view> distinct;
  std::deque<Text> made;  // the distinct texts made for the sort, which the views point into
  std::vector<std::uint32_t> ranks(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SortText text = sortText(rows[i], key);
    const auto found = ids.find(text.view());
    if (found != ids.end()) {
      ranks[i] = found->second;
      continue;
    }
    const std::string_view kept = text.isOwned() ? made.emplace_back(text.release()).view() : text.view();
    const auto id = static_cast<std::uint32_t>(distinct.size());
    ids.emplace(kept, id);
    distinct.push_back(kept);
    ranks[i] = id;
  }
  rankIds(distinct, ranks);
  return ranks;
}

// Writes fields big-endian into the 24 prefix bytes.
class PrefixWriter {
 public:
  void put(std::uint8_t byte, bool invert) noexcept {
    if (used_ < kPrefixBytes) bytes_[used_++] = invert ? static_cast<std::uint8_t>(~byte) : byte;
  }
  void padTo(std::size_t end, bool invert) noexcept {
    while (used_ < end && used_ < kPrefixBytes) put(0, invert);
  }
  std::size_t used() const noexcept { return used_; }
  void store(Entry& entry) const noexcept {
    for (std::size_t word = 0; word < 3; ++word) {
      std::uint64_t value = 0;
      for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = word * 8 + i;
        value = (value << 8) | (at < used_ ? bytes_[at] : 0u);
      }
      entry.words[word] = value;
    }
  }

 private:
  std::array<std::uint8_t, kPrefixBytes> bytes_{};
  std::size_t used_ = 0;
};

template <class Rows>
std::vector<FieldPlan> planFields(const Rows& rows, const ColumnOrder& order, SortDirection direction) {
  std::vector<FieldPlan> plans;
  std::size_t room = kPrefixBytes;
  const KeyOrder keys[] = {effectivePrimary(order, direction), order.ties[0], order.ties[1]};
  for (const KeyOrder& key : keys) {
    if (key.key == Key::kNone || room == 0) break;
    FieldPlan plan;
    plan.order = key;
    if (!isTextKey(key.key)) {
      plan.width = numberWidth(key.key);
      plan.exact = true;
    } else if (isTimeKey(key.key) && room >= kTimeOrderWidth && allTimesHoldValues(rows, key.key)) {
      // Times kept as values order as their texts without making them.
      plan.timeOrder = true;
      plan.width = kTimeOrderWidth;
      plan.exact = true;
    } else if (key.key == Key::kRemoteIpText && room >= kRankWidth &&
               !(plan.ranks = rankAddressNumbers(rows)).empty()) {
      // Addresses kept as numbers sort by the rank of their few distinct texts.
      plan.exact = true;
      plan.width = kRankWidth;
    } else if (plans.empty() && key.key != Key::kTime && key.key != Key::kBeginTime && key.key != Key::kEndTime) {
      // Names, paths and rules repeat and often share long beginnings: a primary
      // text of them sorts by its rank, which leaves room for the ties.
      plan.ranks = rankTexts(rows, key.key);
      plan.exact = true;
      plan.width = kRankWidth;
    } else {
      // Skip what all rows share; a text whose rest fits with a length byte is exact.
      const SortText firstText = sortText(rows[0], key.key);
      const std::string_view first = firstText.view();
      std::size_t common = first.size();
      std::size_t longest = 0;
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const SortText rowText = sortText(rows[i], key.key);
        const std::string_view text = rowText.view();
        std::size_t same = 0;
        const std::size_t limit = std::min(common, text.size());
        while (same < limit && text[same] == first[same]) ++same;
        common = same;
        longest = std::max(longest, text.size());
      }
      plan.commonPrefix = common;
      const std::size_t rest = longest - common;
      plan.exact = rest + 1 <= room;
      plan.width = plan.exact ? rest + 1 : room;
    }
    if (plan.width > room) break;
    room -= plan.width;
    const bool exact = plan.exact;
    plans.push_back(std::move(plan));
    if (!exact) break;
  }
  return plans;
}

template <class Record>
void writePrefix(const Record& row, std::size_t rowIndex, const std::vector<FieldPlan>& plans, Entry& entry) {
  PrefixWriter writer;
  for (const FieldPlan& plan : plans) {
    const bool invert = plan.order.descending;
    const std::size_t end = writer.used() + plan.width;
    if (!isTextKey(plan.order.key) || !plan.ranks.empty() || plan.timeOrder) {
      std::uint64_t value = 0;
      if (plan.timeOrder) {
        value = timeField(row, plan.order.key)->textOrder();
      } else {
        value = plan.ranks.empty() ? sortNumber(row, plan.order.key) : plan.ranks[rowIndex];
      }
      for (std::size_t i = plan.width; i-- > 0;) writer.put(static_cast<std::uint8_t>(value >> (8 * i)), invert);
      continue;
    }
    const SortText text = sortText(row, plan.order.key);
    const std::string_view rest = text.view().substr(plan.commonPrefix);
    const std::size_t textBytes = plan.exact ? plan.width - 1 : plan.width;
    for (std::size_t i = 0; i < textBytes && i < rest.size(); ++i) writer.put(static_cast<std::uint8_t>(rest[i]), invert);
    if (plan.exact) {
      writer.padTo(end - 1, invert);
      writer.put(static_cast<std::uint8_t>(rest.size()), invert);
    } else {
      writer.padTo(end, invert);
    }
  }
  writer.store(entry);
}

}  // namespace detail

// Sorts `order`, indexes into `records`, by the order of the records they
// pick. Rows equal in every key of the order keep their relative order. Each
// entry carries its record's index, so a comparison the prefix leaves open
// reaches the record in one step.
template <class Record>
void sortIndexes(std::span<const Record> records, std::vector<std::uint32_t>& order, const ColumnOrder& columnOrder,
                 SortDirection direction) {
  if (order.size() < 2) return;
  const RecordRows<Record> rows(records, order);
  const std::vector<detail::FieldPlan> plans = detail::planFields(rows, columnOrder, direction);
  std::vector<detail::Entry> entries(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    detail::writePrefix(records[order[i]], i, plans, entries[i]);
    entries[i].index = order[i];
  }
  std::stable_sort(entries.begin(), entries.end(), [&](const detail::Entry& a, const detail::Entry& b) {
    if (!detail::wordsEqual(a, b)) return detail::wordsLess(a, b);
    return compareRows(records[a.index], records[b.index], columnOrder, direction) < 0;
  });
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = entries[i].index;
}

// Sorts a vector of records in place, as sortIndexes orders them.
template <class Record>
void sortRecords(std::vector<Record>& rows, const ColumnOrder& columnOrder, SortDirection direction) {
  if (rows.size() < 2) return;
  std::vector<std::uint32_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  sortIndexes(std::span<const Record>(rows), order, columnOrder, direction);
  std::vector<Record> sorted;
  sorted.reserve(rows.size());
  for (const std::uint32_t index : order) sorted.push_back(std::move(rows[index]));
  rows = std::move(sorted);
}

}  // namespace qv::rowsort
