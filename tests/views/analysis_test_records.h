#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"

namespace qv::test {

// A traffic event with the fields the views look at; the rest left empty.
inline TrafficRecord trafficEvent(std::uint8_t flags, std::string_view remoteIp, std::uint16_t remotePort,
                                  std::uint16_t localPort, std::string_view time = "2024/03/01 10:00:00") {
  TrafficRecord record;
  record.flags = flags;
  record.remoteIp = remoteIp;
  record.localIp = "192.168.0.2";
  record.remotePort = remotePort;
  record.localPort = localPort;
  record.time = time;
  record.beginTime = time;
  record.endTime = time;
  record.occurrences = 1;
  record.applicationName = "C:\\Windows\\System32\\svchost.exe";
  record.ruleName = "Block_all";
  return record;
}

// A packet whose frame lives in a buffer of its own.
inline PacketRecord packet(std::string_view protocol, std::string_view remoteIp, std::string_view localIp,
                           std::uint16_t remotePort, std::uint16_t localPort, std::vector<std::uint8_t> frame = {},
                           std::uint32_t packetLength = UINT32_MAX) {
  PacketRecord record;
  record.buffer = readBufferOf(packetRecordTextOfFrame(
      frame, packetLength == UINT32_MAX ? static_cast<std::uint32_t>(frame.size()) : packetLength));
  record.protocol = protocol;
  record.remoteIp = remoteIp;
  record.localIp = localIp;
  record.remotePort = remotePort;
  record.localPort = localPort;
  record.time = "2024/03/01 10:00:00.000";
  return record;
}

// A shown list over these packets, in this order.
inline PacketShownList shownPackets(std::vector<PacketRecord> packets) {
  std::vector<RecordIndex> order(packets.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<RecordIndex>(i);
  return PacketShownList(std::make_shared<const std::vector<PacketRecord>>(std::move(packets)), std::move(order));
}

}  // namespace qv::test
