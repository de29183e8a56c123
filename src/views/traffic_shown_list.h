#pragma once

#include "logdata/traffic_record.h"
#include "views/shown_list.h"

namespace qv {

using TrafficRecordList = RecordList<TrafficRecord>;

// The traffic view's rows. After an event pattern analysis they are merged
// events in a record list of their own; the read's records stay as read.
using TrafficShownList = ShownList<TrafficRecord>;

template <>
TrafficShownList TrafficShownList::noData();

}  // namespace qv
