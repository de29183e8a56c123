#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "logdata/packet_record.h"
#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"

namespace qv {

// Messages of "Save to File". The two error texts are followed by " : " and
// the system's text for the failure.
inline constexpr std::string_view kExportNothingSelected = "Select items on the list!";
inline constexpr std::string_view kExportOpenError = "File Open Error";
inline constexpr std::string_view kExportWriteError = "File Write Error";

// The format tags of the two logs' header lines.
inline constexpr std::string_view kTrafficExportTag = "00000002";
inline constexpr std::string_view kPacketExportTag = "00000003";

// The 46 bytes written after every traffic record text: two 16-byte reserved
// fields of NUL bytes and three "N/A" fields, ended by CR (the LF that
// completes the line end comes once, after the last record).
inline constexpr std::string_view kTrafficRecordTrailer{
    "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\t\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\tN/A\tN/A\tN/A\r", 46};


// One traffic record line without the trailer: its total length (including
// the trailer) as 8 hex digits and TAB, then the fields in the log's own
// layout, each ended by TAB.
std::string trafficRecordText(const TrafficRecord& record);
void appendTrafficRecordText(std::string& out, const TrafficRecord& record);

// The whole file that an export of these records writes. `selected` is in
// display order; the file holds the records last to first, so that reading
// it back shows them in display order again.
std::string trafficExportImage(TrafficRows selected);
std::string packetExportImage(std::span<const PacketRecord> selected);

enum class ExportStatus {
  kWritten,
  kNothingSelected,  // nothing was created
  kOpenFailed,       // nothing was created
  kWriteFailed,      // an existing file was left as it was
};

struct ExportResult {
  ExportStatus status = ExportStatus::kWritten;
  std::string message;  // the text to show; empty after a successful export

  bool written() const noexcept { return status == ExportStatus::kWritten; }
};

// "Save to File" of the traffic view once the user has chosen `path`: writes
// the selected records (display order) as a traffic log, creating or
// replacing the file atomically (a failure leaves an existing file whole).
// Failures come back with their message.
ExportResult exportTrafficSelection(TrafficRows selected, const std::string& path);

// The same for the packet view: each record's own bytes are copied unchanged.
ExportResult exportPacketSelection(std::span<const PacketRecord> selected, const std::string& path);

}  // namespace qv
