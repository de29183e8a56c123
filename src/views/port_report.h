#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "logdata/traffic_record.h"

namespace qv {

inline constexpr std::string_view kPortReportBaseAddress = "https://isc.sans.edu/port_details.html?port=";
inline constexpr std::string_view kIcmpExplanationCaption = "What's this?";

// The address of the port-report page for a port text (empty when no event
// is selected).
std::string portReportUrl(std::string_view portText);

// The service port of an event as its cell shows it: the remote port when the
// event's pattern leaves the local port open (the local port changes from
// connection to connection), otherwise the local port.
std::string servicePortText(const TrafficRecord& event);

// What an ICMP type and code mean: "Type : " and the type's name, then, when
// the type has a table of codes that holds this code, a line with the code's
// name.
std::string icmpExplanation(std::uint16_t type, std::uint16_t code);

// The outcome of "Search ISC Port Reports" on an event.
struct PortReportPage {
  std::string url;
};
struct IcmpExplanationBox {
  std::string text;  // "ICMP\r\n" followed by the explanation
};
using PortReport = std::variant<PortReportPage, IcmpExplanationBox>;

// The port report of the selected event: a page to open, or for an ICMP event
// (whose log keeps the type in the local port and the code in the remote
// port) a message to show. With no event selected, the page for an empty port.
PortReport portReportFor(const TrafficRecord* selectedEvent);

}  // namespace qv
