#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "logdata/image_offset.h"
#include "logdata/name_text.h"
#include "logdata/packet_record_layout.h"
#include "logdata/protocol_names.h"
#include "logdata/read_buffer.h"
#include "logdata/record_address.h"
#include "logdata/record_time.h"
#include "logdata/text.h"
#include "logdata/traffic_record.h"

namespace qv {

// One captured packet of the packet log. Its own bytes and the frame stay in
// the shared read buffer. Like a traffic record it keeps the time and
// addresses as numbers and the names as shared blocks, and makes texts when
// asked; where the frame lies it finds again from the record's own text when
// asked, as only the viewer, searches and exports need it. A log of short
// frames holds nearly as many bytes of records as of frames otherwise.
struct PacketRecord {
  SharedReadBuffer buffer;  // keeps recordStart and the frame valid
  RecordTime time;          // its text shows milliseconds
  NameText applicationName;
  NameText nameAddress;
  RecordAddress localIp;
  RecordAddress remoteIp;
  ImageOffset recordStart;  // offset of the record's first character
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  std::uint8_t flags = 0;  // RecordFlag direction and action bits only
  std::uint8_t tcpFlags = 0;
  PacketProtocol protocol;  // from the frame; none when it names none

  // Where the record's parts lie in the buffer; empty without a buffer or
  // past its end.
  PacketRecordLayout layout() const noexcept;
  // The offset of the first frame byte.
  std::uint64_t packetOffset() const noexcept { return layout().packetOffset; }
  // The record's length and packet length fields, as stored.
  std::uint32_t recordLength() const noexcept { return layout().recordLength; }
  std::uint32_t packetLength() const noexcept { return layout().packetLength; }

  // The frame bytes that the buffer really holds: at most packetLength bytes,
  // cut short where the file ends. Empty without a buffer.
  std::span<const std::uint8_t> packetBytes() const noexcept { return frame().bytes; }
  // The record's own bytes (for the export), cut short where the file ends.
  std::span<const std::uint8_t> recordBytes() const noexcept { return ownBytes().bytes; }

  // The bytes of a part and the length its record states for it, found in
  // one look, for callers that need both on a million packets (searches,
  // exports, the follow digests).
  struct Part {
    std::span<const std::uint8_t> bytes;
    std::uint32_t statedLength = 0;
  };
  Part frame() const noexcept;
  Part ownBytes() const noexcept;
};

static_assert(sizeof(PacketRecord) <= 56);

inline PacketRecord noDataPacketRecord() {
  PacketRecord record;
  record.time = "No Data";
  return record;
}

}  // namespace qv
