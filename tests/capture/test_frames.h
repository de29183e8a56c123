#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "capture/ipv4_network.h"

namespace qv::test {

using Frame = std::vector<std::uint8_t>;

// An Ethernet II header with the given EtherType.
inline Frame ethernetHeader(std::uint16_t etherType) {
  Frame frame = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x00, 0x0c, 0x29, 0x01, 0x02, 0x03};
  frame.push_back(static_cast<std::uint8_t>(etherType >> 8));
  frame.push_back(static_cast<std::uint8_t>(etherType & 0xFF));
  return frame;
}

// Byte by byte: GCC 12 at -O3 reports a false -Wstringop-overflow in an
// inlined range insert here.
inline void append(Frame& frame, std::initializer_list<std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) frame.push_back(byte);
}

inline void appendPort(Frame& frame, std::uint16_t port) {
  append(frame, {static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port & 0xFF)});
}

// Ethernet + a 20-byte IPv4 header (no options unless `extraHeaderWords`)
// carrying `protocol`, followed by `payload`.
inline Frame ipv4Frame(const Ipv4Address& source, const Ipv4Address& destination, std::uint8_t protocol,
                       const Frame& payload, std::uint16_t fragmentField = 0, std::uint8_t versionAndLength = 0x45) {
  Frame frame = ethernetHeader(0x0800);
  const std::size_t headerBytes = std::size_t{versionAndLength & 0x0Fu} * 4;
  append(frame, {versionAndLength, 0x00});
  appendPort(frame, static_cast<std::uint16_t>(headerBytes + payload.size()));
  append(frame, {0x12, 0x34});
  appendPort(frame, fragmentField);
  append(frame, {64, protocol, 0x00, 0x00});
  frame.insert(frame.end(), source.begin(), source.end());
  frame.insert(frame.end(), destination.begin(), destination.end());
  for (std::size_t extra = 20; extra < headerBytes; ++extra) frame.push_back(0x01);
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

// A TCP header (20 bytes) with the given flag byte, then `data`.
inline Frame tcpSegment(std::uint16_t sourcePort, std::uint16_t destinationPort, std::uint8_t flags,
                        const Frame& data = {}) {
  Frame segment;
  appendPort(segment, sourcePort);
  appendPort(segment, destinationPort);
  append(segment, {0, 0, 0, 1, 0, 0, 0, 0, 0x50, flags, 0xFF, 0xFF, 0, 0, 0, 0});
  segment.insert(segment.end(), data.begin(), data.end());
  return segment;
}

inline Frame udpDatagram(std::uint16_t sourcePort, std::uint16_t destinationPort, const Frame& data = {}) {
  Frame datagram;
  appendPort(datagram, sourcePort);
  appendPort(datagram, destinationPort);
  appendPort(datagram, static_cast<std::uint16_t>(8 + data.size()));
  append(datagram, {0, 0});
  datagram.insert(datagram.end(), data.begin(), data.end());
  return datagram;
}

}  // namespace qv::test
