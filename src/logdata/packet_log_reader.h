#pragma once

#include <cstdint>
#include <vector>

#include "logdata/log_header.h"
#include "logdata/packet_record.h"
#include "logdata/read_buffer.h"

namespace qv {

struct PacketLog {
  LogParseStatus status = LogParseStatus::kNoRecords;
  std::vector<PacketRecord> records;  // in file order; each shares the buffer
  std::int32_t newestIndex = -1;      // where ring order starts; negative: from the last record
};

// Parses a whole packet log read into `buffer`. Records refer into the buffer
// and share its ownership. An empty file (or no buffer) has no records.
// Nothing is ever read outside the data: a frame byte that the record's
// packet does not hold reads as absent (no protocol name, no ICMP type and
// code, no TCP flags), and a record whose packet runs past the end of the data
// keeps what there is and ends the scan.
PacketLog parsePacketLog(SharedReadBuffer buffer);

// Parses the one record that starts at `start` of `buffer`, as parsePacketLog
// does each record of a log. Throws std::out_of_range unless `start` lies
// inside the buffer's data.
PacketRecord parsePacketRecord(const SharedReadBuffer& buffer, std::uint64_t start);

}  // namespace qv
