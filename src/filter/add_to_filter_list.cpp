#include "filter/add_to_filter_list.h"

namespace qv {

std::optional<AddToFilterListCommand> addToFilterListCommandFromValue(int value) noexcept {
  for (const AddToFilterListItem& item : kAddToFilterListItems) {
    if (static_cast<int>(item.command) == value) return item.command;
  }
  return std::nullopt;
}

FilterEntry makeFilterEntry(const TrafficRecord& event, AddToFilterListCommand command) {
  if (command == AddToFilterListCommand::kPattern) return makeEventPattern(event);
  FilterEntry entry = blankFilterEntry();
  switch (command) {
    case AddToFilterListCommand::kRemoteIp:
      entry.remoteIp = event.remoteIp;
      break;
    case AddToFilterListCommand::kRemotePort:
      entry.remotePort = event.remotePort;
      entry.setPortMarker(Text(FilterWildcard::kAnyLocalPort));
      break;
    case AddToFilterListCommand::kLocalIp:
      entry.localIp = event.localIp;
      break;
    case AddToFilterListCommand::kLocalPort:
      entry.localPort = event.localPort;
      entry.setPortMarker(Text(FilterWildcard::kAnyRemotePort));
      break;
    case AddToFilterListCommand::kApplicationName:
      entry.applicationName = event.applicationName;
      break;
    case AddToFilterListCommand::kRuleName:
      entry.ruleName = event.ruleName;
      break;
    case AddToFilterListCommand::kPattern:
      break;
  }
  return entry;
}

void addToFilterList(FilterList& list, const TrafficRecord* selectedEvent, AddToFilterListCommand command) {
  if (selectedEvent == nullptr) return;
  list.append(makeFilterEntry(*selectedEvent, command));
}

}  // namespace qv
