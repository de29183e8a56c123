#pragma once

#include <cstdint>
#include <span>

#include "capture/ipv4_network.h"
#include "capture/packet_log_writer.h"

namespace qv {

// The two ends of a captured frame as the packet log records them.
struct FrameEndpoints {
  Ipv4Address localAddress{};
  Ipv4Address remoteAddress{};
  std::uint16_t localPort = 0;   // for ICMP the message type
  std::uint16_t remotePort = 0;  // for ICMP the message code
  PacketDirection direction = PacketDirection::kUnknown;
};

// Reads the addresses and ports of an Ethernet frame and decides which end is
// the firewall's host. Only IPv4 frames have ends; every other frame (ARP,
// IPv6, ...) gets zero addresses and ports and an unknown direction.
//
// An end is local when its address lies in one of `localNetworks`, or is an
// address of the local link only (0.0.0.0/8, multicast, 255.255.255.255).
// When exactly one end is local the direction follows from it. When both or
// neither are, a TCP or UDP end with the higher port is taken as local (the
// client side; services listen on low ports); otherwise the sender is.
FrameEndpoints frameEndpoints(std::span<const std::uint8_t> frame, std::span<const Ipv4Network> localNetworks);

}  // namespace qv
