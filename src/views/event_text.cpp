#include "views/event_text.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace qv {

namespace {

void appendField(std::string& text, std::string_view field) {
  text.append(field);
  text.push_back('\t');
}

void appendField(std::string& text, const RecordTime& field) { appendField(text, field.text().view()); }
void appendField(std::string& text, const RecordAddress& field) { appendField(text, field.text().view()); }

void appendNumber(std::string& text, std::uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  appendField(text, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

std::string_view actionText(std::uint8_t flags) {
  return (flags & RecordFlag::kAllowed) != 0 ? "Allowed" : "Blocked";
}

std::string_view directionText(std::uint8_t flags) {
  if ((flags & RecordFlag::kIncoming) != 0) return "Incoming";
  if ((flags & RecordFlag::kOutgoing) != 0) return "Outgoing";
  return "Unknown";
}

// Fields both texts share, from the time up to the local port.
template <class Record>
void appendCommonFields(std::string& text, const Record& event, std::string_view protocol) {
  appendField(text, event.time);
  appendField(text, actionText(event.flags));
  appendField(text, directionText(event.flags));
  appendField(text, protocol);
  appendField(text, event.remoteIp);
  if (!event.nameAddress.empty()) {
    text.push_back('[');
    text.append(event.nameAddress.view());
    text.append("]\t");
  }
  appendNumber(text, event.remotePort);
  appendField(text, event.localIp);
  appendNumber(text, event.localPort);
}

}  // namespace

std::string trafficEventText(const TrafficRecord& event) {
  // The copied text tests TCP first and falls back to ICMP, while the cell
  // falls back to TCP: an event without a protocol bit copies as ICMP.
  std::string_view protocol = "ICMP";
  if ((event.flags & RecordFlag::kTcp) != 0) {
    protocol = "TCP";
  } else if ((event.flags & RecordFlag::kUdp) != 0) {
    protocol = "UDP";
  }
  std::string text;
  text.reserve(160);
  appendCommonFields(text, event, protocol);
  appendField(text, event.applicationName);
  appendNumber(text, event.occurrences);
  appendField(text, event.beginTime);
  appendField(text, event.endTime);
  appendField(text, event.ruleName);
  return text;
}

std::string packetEventText(const PacketRecord& packet) {
  std::string text;
  text.reserve(128);
  appendCommonFields(text, packet, packet.protocol);
  appendField(text, packet.applicationName);
  return text;
}

}  // namespace qv
