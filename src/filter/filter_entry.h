#pragma once

#include <cstdint>
#include <string_view>

#include "logdata/text.h"
#include "logdata/traffic_record.h"

namespace qv {

// The values that make a field of a filter entry match anything.
namespace FilterWildcard {
inline constexpr std::string_view kAddress = "All";
inline constexpr std::string_view kApplication = "All/App";
inline constexpr std::string_view kRule = "All/Rule";
// Port markers: the marker text contains these to leave a port out of the match.
inline constexpr std::string_view kAnyRemotePort = "RPTN";
inline constexpr std::string_view kAnyLocalPort = "LPTN";
}  // namespace FilterWildcard

// One entry of the filter list: a traffic record whose fields are read as
// conditions. Several bits of one flag group mean "any of them"; all bits of a
// group mean "any". `time` holds the port marker; the name address,
// occurrences and begin and end times play no part and are not stored.
// A record converts by aggregate initialisation: FilterEntry{record}.
struct FilterEntry : TrafficRecord {
  Text portMarker() const { return time.text(); }
  void setPortMarker(const Text& marker) { time = marker; }
  bool matchesAnyRemotePort() const { return portMarker().view().find(FilterWildcard::kAnyRemotePort) != std::string_view::npos; }
  bool matchesAnyLocalPort() const { return portMarker().view().find(FilterWildcard::kAnyLocalPort) != std::string_view::npos; }

  friend bool operator==(const FilterEntry&, const FilterEntry&) = default;
};

// The entry that matches every event: all flags, wildcard texts, ports 0 and
// the marker "RPTNLPTN".
FilterEntry blankFilterEntry();

// Whether the event meets every condition of the entry. Texts compare
// byte for byte. A direction-less entry matches only direction-less events,
// and a direction-less event only entries with no or both direction bits.
// An event without a protocol bit matches only entries with all three
// protocol bits.
bool matches(const TrafficRecord& record, const FilterEntry& entry) noexcept;

// Which conditions an entry leaves open: the fields holding their wildcard
// and the ports its marker names.
struct FilterWildcards {
  bool application;
  bool rule;
  bool remoteIp;
  bool localIp;
  bool remotePort;
  bool localPort;
};

FilterWildcards wildcardsOf(const FilterEntry& entry);

// An entry made ready to be matched against many events: its wildcards are
// resolved once, so a filter run compares only what the entry names.
class PreparedFilterEntry {
 public:
  explicit PreparedFilterEntry(FilterEntry entry);
  const FilterEntry& entry() const noexcept { return entry_; }
  bool matches(const TrafficRecord& record) const noexcept;

 private:
  FilterEntry entry_;
  FilterWildcards wildcards_;
};

// The entry that stands for all events like this one: the event's flags,
// application and rule, any address, and a port marker chosen by protocol and
// direction so that the port that changes per connection is ignored.
FilterEntry makeEventPattern(const TrafficRecord& event);

// The address check of filter entries: "All", or only digits and exactly three
// dots, each of the four groups at most three digits and at most 255. An empty
// group counts as 0 and passes.
bool isValidFilterAddress(std::string_view text) noexcept;

}  // namespace qv
