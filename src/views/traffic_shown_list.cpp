#include "views/traffic_shown_list.h"

namespace qv {

TrafficShownList TrafficShownList::noData() {
  TrafficShownList list;
  list.rows.push_back(noDataTrafficRecord());
  return list;
}

bool TrafficShownList::isNoDataPlaceholder() const noexcept {
  return rows.size() == 1 && rows.front().time == "No Data";
}

}  // namespace qv
