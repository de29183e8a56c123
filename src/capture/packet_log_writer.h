#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "capture/ipv4_network.h"

namespace qv {

enum class PacketDirection : std::uint8_t { kUnknown, kIncoming, kOutgoing };
enum class PacketAction : std::uint8_t { kAllowed, kBlocked };

// Everything one packet-log record line holds.
struct PacketLogEntry {
  std::uint64_t timeValue = 0;  // 100 ns units since 1601-01-01 UTC
  Ipv4Address localAddress{};
  Ipv4Address remoteAddress{};
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  PacketDirection direction = PacketDirection::kUnknown;
  PacketAction action = PacketAction::kAllowed;
  std::string_view nameAddress;
  std::string_view applicationName;
  std::span<const std::uint8_t> frame;
};

// Bytes of a record's text before the names and the frame: the record-length
// field with its TAB, the fixed fields with theirs.
inline constexpr std::size_t kPacketRecordFixedBytes = 107;
// TABs after the two names, and the CR LF after the frame.
inline constexpr std::size_t kPacketRecordTrailingBytes = 4;

// Total bytes of the record written for `entry`, as its record-length field states.
std::uint64_t packetLogRecordLength(const PacketLogEntry& entry) noexcept;

// Appends one record: the text fields, the frame bytes unchanged, CR LF. A TAB
// inside a name would end that field early, so it is written as a blank.
void appendPacketLogRecord(std::string& out, const PacketLogEntry& entry);

// The reader ignores a record that starts 130 bytes or fewer before the end
// of the file, so a log ends with this filler line (it does not begin with
// '0', so it carries no record) to keep its last record visible.
std::string_view packetLogTrailer() noexcept;

}  // namespace qv
