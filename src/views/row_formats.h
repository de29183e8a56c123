#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "logdata/record_rows.h"
#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"
#include "views/packet_columns.h"
#include "views/traffic_columns.h"

namespace qv {

// How shown rows are written for other programs. Tab-separated is what the
// list shows (log bytes as they are); CSV and JSON Lines carry UTF-8.
enum class RowFormat { kTsv, kCsv, kJsonLines };

// The format a command line names: "tsv", "csv" or "json".
std::optional<RowFormat> rowFormatNamed(std::string_view name);

// The JSON field name of each column, by column index. Other programs rely
// on these names: never change one, only add.
extern const std::array<std::string_view, kTrafficColumnCount> kTrafficFieldNames;
extern const std::array<std::string_view, kPacketColumnCount> kPacketFieldNames;

// CSV (RFC 4180): the column titles as header, one record per row. A field is
// quoted when it holds a comma, a quote or a line break. Lines end in CR LF;
// these append one line without its end.
void appendTrafficCsvHeader(std::string& out);
void appendTrafficCsvRow(std::string& out, const TrafficRecord& record);
void appendPacketCsvHeader(std::string& out);
void appendPacketCsvRow(std::string& out, const PacketRecord& record);

// JSON Lines: one object per record with the fields above in column order;
// ports and occurrences are numbers, the rest strings. Appends one line
// without its end.
void appendTrafficJsonLine(std::string& out, const TrafficRecord& record);
void appendPacketJsonLine(std::string& out, const PacketRecord& record);

// Whole documents of these rows in display order: the CSV header and rows,
// each line ended by CR LF.
std::string trafficRowsCsv(TrafficRows rows);
std::string packetRowsCsv(std::span<const PacketRecord> rows);

}  // namespace qv
