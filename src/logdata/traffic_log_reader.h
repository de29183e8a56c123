#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "logdata/log_header.h"
#include "logdata/traffic_record.h"

namespace qv {

struct TrafficLog {
  LogParseStatus status = LogParseStatus::kNoRecords;
  std::vector<TrafficRecord> records;  // in file order
  std::int32_t newestIndex = -1;       // where ring order starts; negative: from the last record
};

// Parses the whole content of a traffic log (`bytes`; the NUL that ends the
// read buffer is implied). Fields are read in place at their fixed offsets.
// The caller can release the bytes as soon as this returns: records hold
// their own texts.
TrafficLog parseTrafficLog(std::string_view bytes);

struct TrafficLogFileRead {
  bool opened = false;
  std::string errorText;  // the system's text when the file could not be opened or read
  TrafficLog log;
};

// Reads and parses a traffic log file in one pass, as parseTrafficLog parses
// the file's whole content, but through a small window instead of a copy of
// the whole file: the records are all that stays in memory.
TrafficLogFileRead readTrafficLogFile(const std::string& path);
// The same, the lines after the header parsed in up to `parts` parts at once,
// each on a thread of its own (0: one part per processor, up to four, none
// smaller than 4 MiB). The parts begin just after a CR, where a single pass
// begins a line as well, and the ring rule is replayed over their fragment
// lines in order, so the result equals a single pass's.
TrafficLogFileRead readTrafficLogFile(const std::string& path, unsigned parts);

// One record line: from its first character up to its CR (a CR or NUL inside
// `line` ends the text that the fields are read from).
TrafficRecord parseTrafficRecordLine(std::string_view line);

}  // namespace qv
