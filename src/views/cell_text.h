#pragma once

// The cells the traffic and packet views show the same way. Both views' column
// enums name these columns alike, so one template writes them for either.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "logdata/traffic_record.h"

namespace qv::celltext {

inline void appendNumber(std::string& out, std::uint32_t value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

// A field's text: texts as they are, times and addresses made from their numbers.
inline void appendField(std::string& out, const Text& text) { out += text.view(); }
inline void appendField(std::string& out, const NameText& text) { out += text.view(); }
inline void appendField(std::string& out, const RecordTime& time) { out += time.text().view(); }
inline void appendField(std::string& out, const RecordAddress& address) {
  if (address.holdsNumber()) {
    appendDottedAddress(out, address.number());
  } else {
    out += address.text().view();
  }
}

inline std::string_view directionText(std::uint8_t flags) {
  if (flags & RecordFlag::kIncoming) return "Incoming";
  if (flags & RecordFlag::kOutgoing) return "Outgoing";
  return "Unknown";
}

// Appends the cell when it is one both views share and returns true; returns
// false, having written nothing, for a column the view must write itself. The
// "No Data" row shows its time in the Time column and nothing in the others,
// which counts as written.
template <class Record, class Column>
bool appendSharedCellText(std::string& out, const Record& record, Column column) {
  if (column != Column::kTime && record.time == "No Data") return true;
  switch (column) {
    case Column::kTime: appendField(out, record.time); return true;
    case Column::kAction: out += (record.flags & RecordFlag::kAllowed) ? "Allow" : "Block"; return true;
    case Column::kDirection: out += directionText(record.flags); return true;
    case Column::kRemoteIp: appendField(out, record.remoteIp); return true;
    case Column::kNameAddress: appendField(out, record.nameAddress); return true;
    case Column::kRemotePort: appendNumber(out, record.remotePort); return true;
    case Column::kLocalIp: appendField(out, record.localIp); return true;
    case Column::kLocalPort: appendNumber(out, record.localPort); return true;
    case Column::kApplicationName: appendField(out, record.applicationName); return true;
    default: return false;
  }
}

}  // namespace qv::celltext
