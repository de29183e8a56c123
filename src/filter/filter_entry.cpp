#include "filter/filter_entry.h"

#include <cstdint>
#include <string>
#include <utility>

namespace qv {

namespace {

// True when the entry's bits of a group are all set, or share a bit with the record's.
bool groupMatches(std::uint8_t recordFlags, std::uint8_t entryFlags, std::uint8_t mask) noexcept {
  const std::uint8_t wanted = entryFlags & mask;
  return wanted == mask || (recordFlags & wanted) != 0;
}

// An event whose protocol the log does not name matches only an entry that
// allows all three protocols: stored lists and the analyses rely on that.
bool protocolMatches(std::uint8_t recordFlags, std::uint8_t entryFlags) noexcept {
  return groupMatches(recordFlags, entryFlags, RecordFlag::kProtocolMask);
}

bool directionMatches(std::uint8_t recordFlags, std::uint8_t entryFlags) noexcept {
  const std::uint8_t wanted = entryFlags & RecordFlag::kDirectionMask;
  const std::uint8_t actual = recordFlags & RecordFlag::kDirectionMask;
  if (wanted == RecordFlag::kDirectionMask) return true;
  if (wanted != 0 && actual != 0) return (wanted & actual) != 0;
  // Unknown direction on either side matches only unknown direction.
  return wanted == actual;
}

bool flagsMatch(std::uint8_t recordFlags, std::uint8_t entryFlags) noexcept {
  return protocolMatches(recordFlags, entryFlags) && directionMatches(recordFlags, entryFlags) &&
         groupMatches(recordFlags, entryFlags, RecordFlag::kActionMask);
}

bool matchesWith(const TrafficRecord& record, const FilterEntry& entry,
                 const FilterWildcards& any) noexcept {
  // Cheapest conditions first; the outcome does not depend on the order.
  return flagsMatch(record.flags, entry.flags) && (any.remotePort || entry.remotePort == record.remotePort) &&
         (any.localPort || entry.localPort == record.localPort) && (any.remoteIp || entry.remoteIp == record.remoteIp) &&
         (any.localIp || entry.localIp == record.localIp) &&
         (any.application || entry.applicationName == record.applicationName) &&
         (any.rule || entry.ruleName == record.ruleName);
}

}  // namespace

namespace {

// Field values every pattern uses, made once: a text field is looked up
// among the program's hand-put texts when assigned.
const RecordAddress& anyAddress() {
  static const RecordAddress address(FilterWildcard::kAddress);
  return address;
}

const RecordTime& portMarkerOf(std::string_view marker) {
  static const RecordTime none;
  static const RecordTime anyRemote(FilterWildcard::kAnyRemotePort);
  static const RecordTime anyLocal(FilterWildcard::kAnyLocalPort);
  if (marker == FilterWildcard::kAnyRemotePort) return anyRemote;
  if (marker == FilterWildcard::kAnyLocalPort) return anyLocal;
  return none;
}

}  // namespace

FilterWildcards wildcardsOf(const FilterEntry& entry) {
  return {entry.applicationName == FilterWildcard::kApplication,
          entry.ruleName == FilterWildcard::kRule,
          entry.remoteIp == FilterWildcard::kAddress,
          entry.localIp == FilterWildcard::kAddress,
          entry.matchesAnyRemotePort(),
          entry.matchesAnyLocalPort()};
}

FilterEntry blankFilterEntry() {
  FilterEntry entry;
  entry.flags = 0xFF;
  entry.remoteIp = Text(FilterWildcard::kAddress);
  entry.localIp = Text(FilterWildcard::kAddress);
  entry.applicationName = Text(FilterWildcard::kApplication);
  entry.ruleName = Text(FilterWildcard::kRule);
  entry.setPortMarker(Text(std::string(FilterWildcard::kAnyRemotePort) + std::string(FilterWildcard::kAnyLocalPort)));
  return entry;
}

PreparedFilterEntry::PreparedFilterEntry(FilterEntry entry)
    : entry_(std::move(entry)), wildcards_(wildcardsOf(entry_)) {}

bool PreparedFilterEntry::matches(const TrafficRecord& record) const noexcept {
  return matchesWith(record, entry_, wildcards_);
}

bool matches(const TrafficRecord& record, const FilterEntry& entry) noexcept {
  return matchesWith(record, entry, wildcardsOf(entry));
}

FilterEntry makeEventPattern(const TrafficRecord& event) {
  FilterEntry pattern{event};
  pattern.remoteIp = anyAddress();
  pattern.localIp = anyAddress();

  // The side that a client picks afresh for each connection is left out:
  // the remote port of an incoming connection, the local one of an outgoing
  // one. Active FTP data (remote port 20) and DNS answers (local port 53)
  // come the other way round.
  std::string_view marker;
  const bool incoming = (event.flags & RecordFlag::kIncoming) != 0;
  const bool outgoing = (event.flags & RecordFlag::kOutgoing) != 0;
  if ((event.flags & RecordFlag::kTcp) != 0) {
    if (incoming) {
      marker = event.remotePort == 20 ? FilterWildcard::kAnyLocalPort : FilterWildcard::kAnyRemotePort;
    } else if (outgoing) {
      marker = FilterWildcard::kAnyLocalPort;
    }
  } else if ((event.flags & RecordFlag::kUdp) != 0) {
    if (incoming) {
      marker = FilterWildcard::kAnyRemotePort;
    } else if (outgoing) {
      marker = event.localPort == 53 ? FilterWildcard::kAnyRemotePort : FilterWildcard::kAnyLocalPort;
    }
  }
  pattern.time = portMarkerOf(marker);
  return pattern;
}

bool isValidFilterAddress(std::string_view text) noexcept {
  if (text == FilterWildcard::kAddress) return true;
  int dots = 0;
  std::size_t groupLength = 0;
  unsigned groupValue = 0;
  for (const char c : text) {
    if (c == '.') {
      if (++dots > 3) return false;
      groupLength = 0;
      groupValue = 0;
    } else if (c >= '0' && c <= '9') {
      if (++groupLength > 3) return false;
      groupValue = groupValue * 10 + static_cast<unsigned>(c - '0');
      if (groupValue > 255) return false;
    } else {
      return false;
    }
  }
  return dots == 3;
}

}  // namespace qv
