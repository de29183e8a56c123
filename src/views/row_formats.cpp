#include "views/row_formats.h"

#include <cstdio>

#include "logdata/windows1252.h"

namespace qv {

const std::array<std::string_view, kTrafficColumnCount> kTrafficFieldNames = {
    "time",      "action",    "direction",       "protocol", "remoteIp",  "nameAddress", "remotePort",
    "localIp",   "localPort", "occurrences",     "applicationName", "ruleName", "beginTime", "endTime",
};

const std::array<std::string_view, kPacketColumnCount> kPacketFieldNames = {
    "time",    "action",    "direction", "protocol",        "remoteIp", "nameAddress",
    "remotePort", "localIp", "localPort", "tcpFlags", "applicationName",
};

namespace {

constexpr std::string_view kCsvLineEnd = "\r\n";

// Ports and counts are written as JSON numbers.
bool isNumberColumn(TrafficColumn column) {
  return column == TrafficColumn::kRemotePort || column == TrafficColumn::kLocalPort ||
         column == TrafficColumn::kOccurrences;
}

bool isNumberColumn(PacketColumn column) {
  return column == PacketColumn::kRemotePort || column == PacketColumn::kLocalPort;
}

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// `text` is UTF-8 already.
void appendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// `text` is UTF-8 already.
void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

template <class Column, std::size_t kCount>
void appendCsvHeader(std::string& out, const std::array<ColumnLayout, kCount>& layout) {
  for (std::size_t column = 0; column < kCount; ++column) {
    if (column > 0) out += ',';
    appendCsvField(out, withoutTrailingBlanks(layout[column].title));
  }
}

// The cell texts of a record in UTF-8, one after another; `visit` gets each.
template <class Column, int kCount, class Record, class AppendCell, class Visit>
void forEachCell(const Record& record, AppendCell appendCell, Visit visit) {
  std::string bytes;
  std::string utf8;
  for (int index = 0; index < kCount; ++index) {
    const auto column = static_cast<Column>(index);
    bytes.clear();
    utf8.clear();
    appendCell(bytes, record, column);
    appendWindows1252AsUtf8(utf8, bytes);
    visit(index, column, std::string_view(utf8));
  }
}

template <class Column, int kCount, class Record, class AppendCell>
void appendCsvRow(std::string& out, const Record& record, AppendCell appendCell) {
  forEachCell<Column, kCount>(record, appendCell, [&out](int index, Column, std::string_view text) {
    if (index > 0) out += ',';
    appendCsvField(out, text);
  });
}

template <class Column, int kCount, class Record, class AppendCell>
void appendJsonLine(std::string& out, const Record& record, AppendCell appendCell,
                    const std::array<std::string_view, kCount>& names) {
  out += '{';
  forEachCell<Column, kCount>(record, appendCell, [&](int index, Column column, std::string_view text) {
    if (index > 0) out += ',';
    appendJsonString(out, names[static_cast<std::size_t>(index)]);
    out += ':';
    if (isNumberColumn(column) && !text.empty()) {
      out += text;
    } else {
      appendJsonString(out, text);
    }
  });
  out += '}';
}

template <class Rows, class AppendHeader, class AppendRow>
std::string csvDocument(const Rows& rows, AppendHeader appendHeader, AppendRow appendRow) {
  std::string out;
  appendHeader(out);
  out += kCsvLineEnd;
  for (const auto& record : rows) {
    appendRow(out, record);
    out += kCsvLineEnd;
  }
  return out;
}

}  // namespace

std::optional<RowFormat> rowFormatNamed(std::string_view name) {
  if (name == "tsv") return RowFormat::kTsv;
  if (name == "csv") return RowFormat::kCsv;
  if (name == "json") return RowFormat::kJsonLines;
  return std::nullopt;
}

void appendTrafficCsvHeader(std::string& out) { appendCsvHeader<TrafficColumn>(out, kTrafficColumnLayout); }

void appendTrafficCsvRow(std::string& out, const TrafficRecord& record) {
  appendCsvRow<TrafficColumn, kTrafficColumnCount>(out, record, &appendTrafficCellText);
}

void appendPacketCsvHeader(std::string& out) { appendCsvHeader<PacketColumn>(out, kPacketColumnLayout); }

void appendPacketCsvRow(std::string& out, const PacketRecord& record) {
  appendCsvRow<PacketColumn, kPacketColumnCount>(out, record, &appendPacketCellText);
}

void appendTrafficJsonLine(std::string& out, const TrafficRecord& record) {
  appendJsonLine<TrafficColumn, kTrafficColumnCount>(out, record, &appendTrafficCellText, kTrafficFieldNames);
}

void appendPacketJsonLine(std::string& out, const PacketRecord& record) {
  appendJsonLine<PacketColumn, kPacketColumnCount>(out, record, &appendPacketCellText, kPacketFieldNames);
}

std::string trafficRowsCsv(TrafficRows rows) {
  return csvDocument(rows, &appendTrafficCsvHeader, &appendTrafficCsvRow);
}

std::string packetRowsCsv(std::span<const PacketRecord> rows) {
  return csvDocument(rows, &appendPacketCsvHeader, &appendPacketCsvRow);
}

}  // namespace qv
