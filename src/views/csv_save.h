#pragma once

#include <span>
#include <string>

#include "logdata/record_rows.h"
#include "logdata/log_export.h"
#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"

namespace qv {

// "Save as CSV..." once the user has chosen `path`: the selected events in
// display order, or every shown event when none is selected, as CSV. The file
// is replaced atomically, so a failed save leaves the old file whole. With
// nothing to save, nothing is written and the answer says so.
ExportResult saveTrafficCsv(TrafficRows selected, TrafficRows shown, const std::string& path);
ExportResult savePacketCsv(std::span<const PacketRecord> selected, std::span<const PacketRecord> shown,
                           const std::string& path);

}  // namespace qv
