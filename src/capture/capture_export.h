#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "logdata/packet_record.h"
#include "platform/output_file.h"

namespace qv {

// A capture made from packet records, one frame per record in the given order.
struct CaptureExport {
  bool ok = false;
  std::string message;  // what failed, when not ok
  std::size_t frameCount = 0;
  // Records whose stored time is no time a capture can hold (not 16 hex
  // digits, before 1970, after 2106): their frames carry the time 0,
  // 1970-01-01 00:00:00 UTC.
  std::size_t framesWithoutTime = 0;
  // Records whose frame the log file ends inside: the bytes present are
  // written and the frame's stated length is kept as its original length.
  std::size_t framesCutShort = 0;
  std::string captureBytes;
};

// The time value stored in the record's own bytes (the 16 digits after the
// record-length field), when they are a time value.
std::optional<std::uint64_t> storedTimeValue(const PacketRecord& record);

// The message of a failed write of a capture or an imported log:
// "File Open Error : <system text>" when the file could not be created,
// "File Write Error : <system text>" when its content could not be stored.
std::string fileWriteMessage(const platform::FileWriteResult& result);

// The records to export, in order: how many, and the one at a position. Views
// hold rows as indexes into the record list, so they need not copy records.
struct PacketSequence {
  std::size_t count = 0;
  std::function<const PacketRecord&(std::size_t)> at;

  static PacketSequence of(std::span<const PacketRecord> records) {
    return {records.size(), [records](std::size_t i) -> const PacketRecord& { return records[i]; }};
  }
};

// Writes the frames of the records as a classic capture file (Ethernet link
// type, microsecond time stamps) through libpcap's writer, into memory. A
// record with an empty frame becomes a frame of 0 bytes, so that frames and
// records still correspond one to one.
CaptureExport captureFromPackets(const PacketSequence& packets);

// The same, stored as the file at `path` (see platform::writeFileAtomically);
// a failed write leaves ok false and the message of fileWriteMessage.
CaptureExport exportCaptureFile(const PacketSequence& packets, const std::string& path);

inline CaptureExport captureFromPackets(std::span<const PacketRecord> records) {
  return captureFromPackets(PacketSequence::of(records));
}
inline CaptureExport exportCaptureFile(std::span<const PacketRecord> records, const std::string& path) {
  return exportCaptureFile(PacketSequence::of(records), path);
}

}  // namespace qv
