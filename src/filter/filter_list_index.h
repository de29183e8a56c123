#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "logdata/traffic_record.h"

namespace qv {

// A filter list made ready for a filter run over a whole log. It answers
// exactly as FilterList::isExcluded, faster: entries that name a single field
// of any event (a remote address, a port, an application...) become set
// lookups, and every other entry is tried only on events whose flags it can
// admit.
class FilterListIndex {
 public:
  explicit FilterListIndex(const FilterList& list);

  bool isExcluded(const TrafficRecord& record) const;

 private:
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
  };
  struct TextSet {
    bool active = false;
    std::unordered_set<std::string, TextHash, std::equal_to<>> texts;
  };

  bool inTextSets(const TrafficRecord& record) const;

  std::vector<PreparedFilterEntry> others_;
  // For each flag byte, the entries of others_ that can admit it, in list order.
  std::array<std::vector<std::uint32_t>, 256> candidates_;
  std::bitset<65536> remotePorts_;
  std::bitset<65536> localPorts_;
  bool anyPort_ = false;
  TextSet applications_;
  TextSet rules_;
  TextSet remoteIps_;
  TextSet localIps_;
};

}  // namespace qv
