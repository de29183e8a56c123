#include "filter/criteria_commands.h"

#include <span>
#include <string>

namespace qv {
namespace {

bool& box(FilterCriteria& criteria, CheckBox which) {
  switch (which) {
    case CheckBox::Allow: return criteria.allow;
    case CheckBox::Block: return criteria.block;
    case CheckBox::In: return criteria.in;
    case CheckBox::Out: return criteria.out;
    case CheckBox::Tcp: return criteria.tcp;
    case CheckBox::Udp: return criteria.udp;
    case CheckBox::Icmp: return criteria.icmp;
  }
  return criteria.allow;
}

constexpr CheckBox kActionGroup[] = {CheckBox::Allow, CheckBox::Block};
constexpr CheckBox kDirectionGroup[] = {CheckBox::In, CheckBox::Out};
constexpr CheckBox kProtocolGroup[] = {CheckBox::Tcp, CheckBox::Udp, CheckBox::Icmp};

std::span<const CheckBox> groupOf(CheckBox which) {
  switch (which) {
    case CheckBox::Allow:
    case CheckBox::Block: return kActionGroup;
    case CheckBox::In:
    case CheckBox::Out: return kDirectionGroup;
    case CheckBox::Tcp:
    case CheckBox::Udp:
    case CheckBox::Icmp: break;
  }
  return kProtocolGroup;
}

std::string& field(FilterCriteria& criteria, FilterField which) {
  switch (which) {
    case FilterField::RemoteIp: return criteria.remoteIp;
    case FilterField::RemotePort: return criteria.remotePort;
    case FilterField::LocalIp: return criteria.localIp;
    case FilterField::LocalPort: return criteria.localPort;
    case FilterField::ApplicationName: return criteria.applicationName;
    case FilterField::RuleName: return criteria.ruleName;
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

int filterFieldColumn(FilterField which) {
  switch (which) {
    case FilterField::RemoteIp: return 4;
    case FilterField::RemotePort: return 6;
    case FilterField::LocalIp: return 7;
    case FilterField::LocalPort: return 8;
    case FilterField::ApplicationName: return 10;
    case FilterField::RuleName: return 11;
  }
  return 4;
}

bool fillFilterField(FilterCriteria& criteria, FilterField which, bool filterOut, std::string_view cellText) {
  if (cellText.empty()) return false;
  const bool isName = which == FilterField::ApplicationName || which == FilterField::RuleName;
  std::string text;
  if (filterOut) text = isName ? "!/" : "!";
  text += cellText;
  field(criteria, which) = std::move(text);
  return true;
}

}  // namespace qv
