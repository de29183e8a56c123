#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "logdata/traffic_record.h"

namespace qv {

// The items of the "Add to Filter List" submenu; the values are their command
// identifiers.
enum class AddToFilterListCommand : std::uint16_t {
  kRemoteIp = 32811,
  kRemotePort = 32812,
  kLocalIp = 32813,
  kLocalPort = 32814,
  kApplicationName = 32815,
  kRuleName = 32816,
  kPattern = 32817,
};

struct AddToFilterListItem {
  AddToFilterListCommand command;
  std::string_view label;  // with the menu's '&' accelerator marks
};

inline constexpr std::array<AddToFilterListItem, 7> kAddToFilterListItems{{
    {AddToFilterListCommand::kRemoteIp, "Remote &IP"},
    {AddToFilterListCommand::kRemotePort, "Remote &Port"},
    {AddToFilterListCommand::kLocalIp, "&Local IP"},
    {AddToFilterListCommand::kLocalPort, "Local Por&t"},
    {AddToFilterListCommand::kApplicationName, "&Application Name"},
    {AddToFilterListCommand::kRuleName, "&Rule Name"},
    {AddToFilterListCommand::kPattern, "Patter&n"},
}};

// The command with this identifier, if it is one of the submenu's.
std::optional<AddToFilterListCommand> addToFilterListCommandFromValue(int value) noexcept;

// The entry a submenu item makes from an event: the blank entry narrowed to
// one field of the event (a port entry also compares only that port), or the
// event's pattern.
FilterEntry makeFilterEntry(const TrafficRecord& event, AddToFilterListCommand command);

// Appends the entry for the selected event; without a selected event nothing
// happens. The shown list is not filtered again here.
void addToFilterList(FilterList& list, const TrafficRecord* selectedEvent, AddToFilterListCommand command);

}  // namespace qv
