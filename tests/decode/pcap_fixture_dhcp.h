#pragma once

// Frames for the DHCP/TFTP decoder tests: written as hex in a test, or read
// from the bundled captures, and turned into packet records the way the
// packet-log reader names them.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/decode_tree.h"
#include "logdata/packet_record.h"
#include "logdata/protocol_names.h"
#include "logdata/read_buffer.h"

namespace qv::test::dhcpfixture {

using Bytes = std::vector<std::uint8_t>;

// Bytes from hex digits; anything else between the pairs is ignored.
inline Bytes hex(std::string_view digits) {
  Bytes bytes;
  int high = -1;
  for (const char c : digits) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    if (value < 0) continue;
    if (high < 0) {
      high = value;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | value));
      high = -1;
    }
  }
  return bytes;
}

inline void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// The frames of a classic pcap file (either byte order, micro- or
// nanosecond stamps); empty when the file cannot be read. A record that
// runs past the end of the file ends the list.
inline std::vector<Bytes> readPcapFrames(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const Bytes data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<Bytes> frames;
  if (data.size() < 24) return frames;
  const auto read32 = [&data](std::size_t at, bool bigEndian) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{data[at + i]} << (8 * (bigEndian ? 3 - i : i));
    return value;
  };
  const std::uint32_t magic = read32(0, false);
  bool bigEndian = false;
  if (magic == 0xD4C3B2A1u || magic == 0x4D3CB2A1u) {
    bigEndian = true;
  } else if (magic != 0xA1B2C3D4u && magic != 0xA1B23C4Du) {
    return frames;
  }
  std::size_t at = 24;
  while (at + 16 <= data.size()) {
    const std::uint32_t captured = read32(at + 8, bigEndian);
    at += 16;
    if (captured > data.size() - at) break;
    frames.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(at),
                        data.begin() + static_cast<std::ptrdiff_t>(at + captured));
    at += captured;
  }
  return frames;
}

inline std::string capturePath(std::string_view name) {
  return std::string(QV_SHARED_DATA_DIR) + "/pcap/" + std::string(name);
}

// A packet record over its own buffer holding `frame`, with the protocol
// name and ports the packet-log reader gives such a frame (source port as
// local, destination port as remote).
inline PacketRecord recordForFrame(const Bytes& frame) {
  const auto at = [&frame](std::size_t i) -> unsigned { return i < frame.size() ? frame[i] : 0u; };
  auto buffer = std::make_shared<ReadBuffer>();
  buffer->bytes.assign(frame.begin(), frame.end());
  buffer->bytes.push_back('\0');
  buffer->fileLength = frame.size();
  PacketRecord record;
  record.buffer = buffer;
  record.packetLength = static_cast<std::uint32_t>(frame.size());
  const unsigned etherType = at(12) << 8 | at(13);
  if (etherType == 0x0800) {
    record.protocol = ipProtocolName(at(23));
    const std::size_t transport = 14 + (at(14) * 4) % 256;
    if (at(23) == 6 || at(23) == 17) {
      record.localPort = static_cast<std::uint16_t>(at(transport) << 8 | at(transport + 1));
      record.remotePort = static_cast<std::uint16_t>(at(transport + 2) << 8 | at(transport + 3));
    }
  } else {
    record.protocol = etherTypeProtocolName(static_cast<std::uint16_t>(etherType));
  }
  return record;
}

// The first node, in display order, whose label starts with `prefix`.
inline std::optional<NodeId> findNode(const DecodeTree& tree, std::string_view prefix) {
  std::optional<NodeId> found;
  tree.forEachInOrder([&](NodeId id, unsigned) {
    if (!found && tree.node(id).label.starts_with(prefix)) found = id;
  });
  return found;
}

inline std::vector<std::string> childLabels(const DecodeTree& tree, NodeId parent) {
  std::vector<std::string> labels;
  for (const NodeId child : tree.node(parent).children) labels.push_back(tree.node(child).label);
  return labels;
}

}  // namespace qv::test::dhcpfixture
