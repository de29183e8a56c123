#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "filter/filter_criteria.h"
#include "filter/quick_filter_run.h"
#include "logdata/read_buffer.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"
#include "views/traffic_shown_list.h"

namespace qv {

// What the main window holds for the traffic log between reads.
struct TrafficLogState {
  TrafficRecordList records = std::make_shared<const std::vector<TrafficRecord>>();  // file order
  std::int32_t newestIndex = 0;
  TrafficShownList shown;
  std::string countLine;
};

// What the main window holds for the packet log between reads. The buffer is
// the image of the last file read; the records (and every copy) refer into it.
struct PacketLogState {
  SharedReadBuffer buffer;
  PacketRecordList records = std::make_shared<const std::vector<PacketRecord>>();
  std::int32_t newestIndex = 0;
  PacketShownList shown;
  std::string countLine;
};

enum class ReadStatus {
  kShown,             // records read (possibly none) and filtered into the view
  kValidationFailed,  // a quick-filter field is invalid: nothing read, the state is unchanged
  kOpenFailed,        // the file could not be opened: the view is cleared
  kInvalidFormat,     // the header was rejected: the view is cleared
  kNoRecords,         // an empty log (or nothing to filter): the view is cleared, no message
};

// How a read or filter command ended; the caller shows `message` in a
// message box when it is not empty, then repaints the view.
struct ReadResult {
  ReadStatus status = ReadStatus::kShown;
  std::string message;
};

// "Records : N / M": rows shown, records read.
std::string countLineText(std::size_t shownRows, std::size_t recordCount);

// The read operation on the traffic log at `path`: validate the criteria,
// compute the time window from `nowUnixSeconds`, read and parse the whole
// file, and rebuild the shown list with a filter run. Traffic records hold
// their own texts, so the file is parsed through a small window and its
// bytes are never all held at once.
ReadResult readTrafficLog(TrafficLogState& state, const std::string& path, const FilterCriteria& criteria,
                          std::int64_t nowUnixSeconds, const TrafficExclusion& excluded = {});

// The same for the packet log; the file's image stays as the state's buffer.
// An empty file clears the view without a message.
ReadResult readPacketLog(PacketLogState& state, const std::string& path, const FilterCriteria& criteria,
                         std::int64_t nowUnixSeconds);

// The Filter command: a new filter run over the records already read. With
// no records it clears the view (before looking at the criteria).
ReadResult filterTrafficLog(TrafficLogState& state, const FilterCriteria& criteria, std::int64_t nowUnixSeconds,
                            const TrafficExclusion& excluded = {});
ReadResult filterPacketLog(PacketLogState& state, const FilterCriteria& criteria, std::int64_t nowUnixSeconds);

// clear(log): no records, the "No Data" row, "Records : 0 / 0". The packet
// buffer is kept until the next read.
void clearTrafficLog(TrafficLogState& state);
void clearPacketLog(PacketLogState& state);

}  // namespace qv
