#include "views/port_report.h"

#include "decode/icmp_names.h"
#include "filter/filter_entry.h"
#include "views/traffic_columns.h"

namespace qv {

namespace {

// The types that have a table of codes; another type never shows a code line.
bool hasCodeTable(std::uint16_t type) noexcept {
  switch (type) {
    case 3:
    case 5:
    case 9:
    case 11:
    case 12:
    case 30:
    case 31:
    case 40:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string portReportUrl(std::string_view portText) {
  std::string url(kPortReportBaseAddress);
  url.append(portText);
  return url;
}

std::string servicePortText(const TrafficRecord& event) {
  const FilterEntry pattern = makeEventPattern(event);
  return trafficCellText(event, pattern.matchesAnyLocalPort() ? TrafficColumn::kRemotePort : TrafficColumn::kLocalPort);
}

std::string icmpExplanation(std::uint16_t type, std::uint16_t code) {
  std::string text = "Type : ";
  text.append(icmpTypeName(type));
  if (hasCodeTable(type)) {
    const std::string_view codeName = icmpCodeName(type, code);
    // A code outside its type's table is left out rather than named "Unknown".
    if (codeName != "Unknown") {
      text.append(type == 30 && code == 1 ? "\r\n Code : " : "\r\nCode : ");
      text.append(codeName);
    }
  }
  return text;
}

PortReport portReportFor(const TrafficRecord* selectedEvent) {
  if (selectedEvent == nullptr) return PortReportPage{portReportUrl({})};
  if ((selectedEvent->flags & RecordFlag::kIcmp) != 0) {
    return IcmpExplanationBox{"ICMP\r\n" + icmpExplanation(selectedEvent->localPort, selectedEvent->remotePort)};
  }
  return PortReportPage{portReportUrl(servicePortText(*selectedEvent))};
}

}  // namespace qv
