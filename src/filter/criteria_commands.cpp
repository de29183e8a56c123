#include "filter/criteria_commands.h"

#include <span>
#include <string>

namespace qv {
namespace {

bool& box(FilterCriteria& criteria, CheckBox which) {
  switch (which) {
    case CheckBox::kAllow: return criteria.allow;
    case CheckBox::kBlock: return criteria.block;
    case CheckBox::kIn: return criteria.in;
    case CheckBox::kOut: return criteria.out;
    case CheckBox::kTcp: return criteria.tcp;
    case CheckBox::kUdp: return criteria.udp;
    case CheckBox::kIcmp: return criteria.icmp;
  }
  return criteria.allow;
}

constexpr CheckBox kActionGroup[] = {CheckBox::kAllow, CheckBox::kBlock};
constexpr CheckBox kDirectionGroup[] = {CheckBox::kIn, CheckBox::kOut};
constexpr CheckBox kProtocolGroup[] = {CheckBox::kTcp, CheckBox::kUdp, CheckBox::kIcmp};

std::span<const CheckBox> groupOf(CheckBox which) {
  switch (which) {
    case CheckBox::kAllow:
    case CheckBox::kBlock: return kActionGroup;
    case CheckBox::kIn:
    case CheckBox::kOut: return kDirectionGroup;
    case CheckBox::kTcp:
    case CheckBox::kUdp:
    case CheckBox::kIcmp: break;
  }
  return kProtocolGroup;
}

std::string& field(FilterCriteria& criteria, FilterField which) {
  switch (which) {
    case FilterField::kRemoteIp: return criteria.remoteIp;
    case FilterField::kRemotePort: return criteria.remotePort;
    case FilterField::kLocalIp: return criteria.localIp;
    case FilterField::kLocalPort: return criteria.localPort;
    case FilterField::kApplicationName: return criteria.applicationName;
    case FilterField::kRuleName: return criteria.ruleName;
  }
  return criteria.remoteIp;
}

}  // namespace

void applyCheckBoxClick(FilterCriteria& criteria, CheckBox clicked) {
  const std::span<const CheckBox> group = groupOf(clicked);
  for (const CheckBox other : group) {
    if (other != clicked && box(criteria, other)) return;
  }
  for (const CheckBox other : group) {
    if (other != clicked) box(criteria, other) = true;
  }
}

bool fillFilterField(FilterCriteria& criteria, FilterField which, bool filterOut, std::string_view cellText) {
  if (cellText.empty()) return false;
  const bool isName = which == FilterField::kApplicationName || which == FilterField::kRuleName;
  std::string text;
  if (filterOut) text = isName ? "!/" : "!";
  text += cellText;
  field(criteria, which) = std::move(text);
  return true;
}

}  // namespace qv
