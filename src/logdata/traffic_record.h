#pragma once

#include <cstdint>

#include "logdata/name_text.h"
#include "logdata/record_address.h"
#include "logdata/record_time.h"
#include "logdata/text.h"

namespace qv {

// Bits of TrafficRecord::flags (and of PacketRecord::flags, which has no protocol bits).
namespace RecordFlag {
inline constexpr std::uint8_t kIcmp = 0x01;
inline constexpr std::uint8_t kUdp = 0x02;
inline constexpr std::uint8_t kTcp = 0x04;
inline constexpr std::uint8_t kOutgoing = 0x08;
inline constexpr std::uint8_t kIncoming = 0x10;
inline constexpr std::uint8_t kBlocked = 0x20;
inline constexpr std::uint8_t kAllowed = 0x40;
inline constexpr std::uint8_t kProtocolMask = kIcmp | kUdp | kTcp;
inline constexpr std::uint8_t kDirectionMask = kOutgoing | kIncoming;
inline constexpr std::uint8_t kActionMask = kBlocked | kAllowed;
}  // namespace RecordFlag

// One event of the traffic log. A value: views and the filter list hold copies.
// A filter entry is a TrafficRecord too; its `time` then holds the port marker.
// Times and addresses are kept as numbers and give their texts when asked
// (`time.text()`); each name is a pointer to a block that all records
// naming the same bytes share.
struct TrafficRecord {
  NameText nameAddress;
  NameText ruleName;
  NameText applicationName;
  RecordTime time;
  RecordTime beginTime;
  RecordTime endTime;
  RecordAddress localIp;
  RecordAddress remoteIp;
  std::uint32_t occurrences = 0;
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  std::uint8_t flags = 0;

  friend bool operator==(const TrafficRecord&, const TrafficRecord&) = default;
};

// The record a cleared view shows as its only row.
inline TrafficRecord noDataTrafficRecord() {
  TrafficRecord record;
  record.time = Text("No Data");
  return record;
}

}  // namespace qv
