#include "filter/filter_list_index.h"

#include <type_traits>

#include <string_view>

namespace qv {

namespace {

// Whether the entry's flag conditions admit an event with these flags: the
// match itself is asked, with a probe that meets the entry's other conditions.
bool admitsFlags(const FilterEntry& entry, std::uint8_t flags) {
  TrafficRecord probe = entry;
  probe.flags = flags;
  return matches(probe, entry);
}

bool admitsAllFlags(const FilterEntry& entry) {
  for (unsigned flags = 0; flags < 256; ++flags) {
    if (!admitsFlags(entry, static_cast<std::uint8_t>(flags))) return false;
  }
  return true;
}

enum class SingleField { kNone, kApplication, kRule, kRemoteIp, kLocalIp, kRemotePort, kLocalPort };

// The one field an entry compares, when it compares exactly one.
SingleField singleFieldOf(const FilterEntry& entry) {
  int compared = 0;
  SingleField field = SingleField::kNone;
  const auto note = [&](bool open, SingleField which) {
    if (!open) {
      ++compared;
      field = which;
    }
  };
  const FilterWildcards open = wildcardsOf(entry);
  note(open.application, SingleField::kApplication);
  note(open.rule, SingleField::kRule);
  note(open.remoteIp, SingleField::kRemoteIp);
  note(open.localIp, SingleField::kLocalIp);
  note(open.remotePort, SingleField::kRemotePort);
  note(open.localPort, SingleField::kLocalPort);
  return compared == 1 ? field : SingleField::kNone;
}

}  // namespace

FilterListIndex::FilterListIndex(const FilterList& list) {
  for (const FilterEntry& entry : list) {
    const SingleField field = singleFieldOf(entry);
    if (field != SingleField::kNone && admitsAllFlags(entry)) {
      switch (field) {
        case SingleField::kApplication:
          applications_.active = true;
          applications_.texts.insert(entry.applicationName.str());
          break;
        case SingleField::kRule:
          rules_.active = true;
          rules_.texts.insert(entry.ruleName.str());
          break;
        case SingleField::kRemoteIp:
          remoteIps_.active = true;
          remoteIps_.texts.insert(entry.remoteIp.str());
          break;
        case SingleField::kLocalIp:
          localIps_.active = true;
          localIps_.texts.insert(entry.localIp.str());
          break;
        case SingleField::kRemotePort:
          anyPort_ = true;
          remotePorts_.set(entry.remotePort);
          break;
        case SingleField::kLocalPort:
          anyPort_ = true;
          localPorts_.set(entry.localPort);
          break;
        case SingleField::kNone:
          break;
      }
      continue;
    }
    const auto position = static_cast<std::uint32_t>(others_.size());
    others_.emplace_back(entry);
    for (unsigned flags = 0; flags < 256; ++flags) {
      if (admitsFlags(entry, static_cast<std::uint8_t>(flags))) candidates_[flags].push_back(position);
    }
  }
}

bool FilterListIndex::inTextSets(const TrafficRecord& record) const {
  const auto holds = [](const TextSet& set, const auto& field) {
    if (!set.active) return false;
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, RecordAddress>) {
      return set.texts.find(field.text().view()) != set.texts.end();
    } else {
      return set.texts.find(field.view()) != set.texts.end();
    }
  };
  return holds(remoteIps_, record.remoteIp) || holds(applications_, record.applicationName) ||
         holds(rules_, record.ruleName) || holds(localIps_, record.localIp);
}

bool FilterListIndex::isExcluded(const TrafficRecord& record) const {
  if (anyPort_ && (remotePorts_[record.remotePort] || localPorts_[record.localPort])) return true;
  for (const std::uint32_t position : candidates_[record.flags]) {
    if (others_[position].matches(record)) return true;
  }
  return inTextSets(record);
}

}  // namespace qv
