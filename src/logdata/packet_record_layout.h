#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "logdata/log_header.h"

namespace qv {

// Where the parts of one packet-log record lie. The record's text ends at its
// first CR or NUL (or where the data ends); its first field is the record
// length in hex, then after a TAB come fixed fields, the name address and the
// application name, each ended by a TAB; the frame follows the TAB after the
// application name, inside that text or, without that TAB, at the text's end.
struct PacketRecordLayout {
  std::string_view text;             // from the record's start to its end
  std::size_t fixedStart = 0;        // just past the first TAB; 0 when there is none
  std::uint32_t recordLength = 0;    // the record-length field, as stored
  std::uint32_t packetLength = 0;    // the packet-length field, as stored
  ByteOffset packetOffset = 0;       // of the first frame byte, in the data
  std::string_view nameAddress;      // empty when the text ends before it
  std::string_view applicationName;  // empty when the text ends before it

  // Where the next line starts: past the frame as the packet length states
  // it and the CR LF after it. 64-bit: a stated length near 4 GiB cannot
  // wrap the position back.
  ByteOffset next() const noexcept { return packetOffset + packetLength + 2; }
};

// Offsets of fixed fields from the position just past the first TAB (the
// addresses and ports are in EndpointField).
namespace PacketField {
inline constexpr std::size_t kTime = 0;
inline constexpr std::size_t kPacketLength = 62;
inline constexpr std::size_t kDirectionChar = 78;
inline constexpr std::size_t kActionChar = 87;
inline constexpr std::size_t kNames = 98;
}  // namespace PacketField

// The layout of the record starting at `start` of `data` (start < data.size()).
// Reads nothing outside `data`.
PacketRecordLayout layoutPacketRecord(std::string_view data, ByteOffset start) noexcept;

// At most `length` bytes of `data` from `offset`, cut short where the data
// ends (empty from an offset past it).
std::span<const std::uint8_t> bytesWithin(std::string_view data, std::uint64_t offset, std::uint64_t length) noexcept;

// The text of a record that holds `frame` and nothing else (zero time,
// addresses and ports, no names), its packet-length field stating
// `statedFrameLength`, without the CR LF after the frame: a stated length
// above the frame's size reads as a frame cut short by the file's end. For
// packets made of frames alone (the decoder's checks, benchmarks).
std::string packetRecordTextOfFrame(std::span<const std::uint8_t> frame, std::uint32_t statedFrameLength);

}  // namespace qv
