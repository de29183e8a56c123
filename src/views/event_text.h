#pragma once

#include <string>

#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"

namespace qv {

// The one-line text "Copy the whole Event" puts on the clipboard for a traffic
// event: every field followed by a TAB, the name address only when present
// (in brackets), no line end. A view with no selected row copies an empty text.
std::string trafficEventText(const TrafficRecord& event);

// The same for a packet: the fields a packet has, its protocol name as stored.
std::string packetEventText(const PacketRecord& packet);

}  // namespace qv
