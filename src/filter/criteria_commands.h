#pragma once

#include <string_view>

#include "filter/filter_criteria.h"

namespace qv {

enum class CheckBox { kAllow, kBlock, kIn, kOut, kTcp, kUdp, kIcmp };

// Called after a click has toggled `clicked`: a group (Allow/Block, In/Out,
// TCP/UDP/ICMP) is never left all clear, so when every other box of the
// clicked one's group is clear they are all checked again.
void applyCheckBoxClick(FilterCriteria& criteria, CheckBox clicked);

// The fields that the Filter Out / Filter In menu commands fill.
enum class FilterField { kRemoteIp, kRemotePort, kLocalIp, kLocalPort, kApplicationName, kRuleName };

// Filter In sets the field to the cell text; Filter Out to its negation
// ("!" before addresses and ports, "!/" before names). An empty cell text
// (no selected row) changes nothing and answers false.
bool fillFilterField(FilterCriteria& criteria, FilterField field, bool filterOut, std::string_view cellText);

}  // namespace qv
