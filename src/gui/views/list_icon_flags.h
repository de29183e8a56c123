#pragma once

namespace qv::gui {

// Which columns of a list view show icons besides the Time column, which
// always shows the action/direction icon. The packet view has no rule icons.
struct ListIconFlags {
  bool applicationName = false;
  bool protocol = false;
  bool ruleName = false;

  friend bool operator==(const ListIconFlags&, const ListIconFlags&) = default;
};

}  // namespace qv::gui
