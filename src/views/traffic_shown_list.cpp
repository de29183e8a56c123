#include "views/traffic_shown_list.h"

namespace qv {

template <>
TrafficShownList TrafficShownList::noData() {
  return TrafficShownList(std::make_shared<const std::vector<TrafficRecord>>(1, noDataTrafficRecord()), {0});
}

}  // namespace qv
