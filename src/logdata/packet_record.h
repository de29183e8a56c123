#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "logdata/name_text.h"
#include "logdata/protocol_names.h"
#include "logdata/read_buffer.h"
#include "logdata/record_address.h"
#include "logdata/record_time.h"
#include "logdata/text.h"
#include "logdata/traffic_record.h"

namespace qv {

// One captured packet of the packet log. Its own bytes and the frame stay in
// the shared read buffer; the record holds offsets into it. Like a traffic
// record it keeps the time and addresses as numbers and the names as shared
// blocks, and makes texts when asked: a log of short frames holds nearly as
// many bytes of records as of frames otherwise.
struct PacketRecord {
  SharedReadBuffer buffer;         // keeps recordStart and the frame valid
  std::uint64_t recordStart = 0;   // offset of the record's first character
  std::uint64_t packetOffset = 0;  // offset of the first frame byte
  std::uint32_t recordLength = 0;  // the record-length field, as stored
  std::uint32_t packetLength = 0;  // the packet-length field, as stored
  RecordTime time;                 // its text shows milliseconds
  RecordAddress localIp;
  RecordAddress remoteIp;
  NameText applicationName;
  NameText nameAddress;
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  std::uint8_t flags = 0;  // RecordFlag direction and action bits only
  std::uint8_t tcpFlags = 0;
  PacketProtocol protocol;  // from the frame; none when it names none

  // The frame bytes that the buffer really holds: at most packetLength bytes,
  // cut short where the file ends. Empty without a buffer.
  std::span<const std::uint8_t> packetBytes() const noexcept {
    return clampedSpan(packetOffset, packetLength);
  }
  // The record's own bytes (for the export), cut short where the file ends.
  std::span<const std::uint8_t> recordBytes() const noexcept {
    return clampedSpan(recordStart, recordLength);
  }

 private:
  std::span<const std::uint8_t> clampedSpan(std::uint64_t offset, std::uint64_t length) const noexcept {
    if (!buffer || offset >= buffer->fileLength) return {};
    const std::uint64_t available = buffer->fileLength - offset;
    const std::uint64_t size = length < available ? length : available;
    return {reinterpret_cast<const std::uint8_t*>(buffer->bytes.data()) + offset, static_cast<std::size_t>(size)};
  }
};

static_assert(sizeof(PacketRecord) <= 88);

inline PacketRecord noDataPacketRecord() {
  PacketRecord record;
  record.time = "No Data";
  return record;
}

}  // namespace qv
