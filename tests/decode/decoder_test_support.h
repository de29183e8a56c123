#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/decode_result.h"
#include "decode/decode_tree.h"
#include "decode/packet_decoder.h"
#include "logdata/packet_record.h"
#include "logdata/protocol_names.h"
#include "logdata/read_buffer.h"

namespace qv {

// Readable spans in test failures.
inline void PrintTo(const HexSpan& span, std::ostream* out) { *out << '(' << span.start << ", " << span.end << ')'; }

}  // namespace qv

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;

inline void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// Bytes from hex digits; white space between pairs is ignored.
inline std::vector<std::uint8_t> hexBytes(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : hex) {
    int value;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    else continue;
    if (high < 0) {
      high = value;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | value));
      high = -1;
    }
  }
  return bytes;
}

// A TCP SYN from 192.168.0.1:1025 to 192.168.0.2:80 behind a 20-byte IP header.
inline const Bytes kTcpSyn = hexBytes(
    "0011223344550a1b2c3d4e5f080045000028123440004006a748c0a80001c0a8"
    "000204010050000003e8000000005002200006560000");

// A packet record over its own read buffer holding `frame`, as the packet-log
// reader would build it.
inline PacketRecord recordOf(std::span<const std::uint8_t> frame, std::string_view protocol,
                                 std::uint8_t tcpFlags = 0, std::uint16_t localPort = 0,
                                 std::uint16_t remotePort = 0) {
  PacketRecord record;
  record.buffer = readBufferOf(packetRecordTextOfFrame(frame, static_cast<std::uint32_t>(frame.size())));
  record.protocol = protocol;
  record.tcpFlags = tcpFlags;
  record.localPort = localPort;
  record.remotePort = remotePort;
  return record;
}

// Names the protocol, TCP flags and ports of a captured frame the way the
// packet-log reader does (ports: source as local, destination as remote).
inline PacketRecord recordFromFrame(std::span<const std::uint8_t> frame) {
  auto byteAt = [&](std::size_t i) -> unsigned { return i < frame.size() ? frame[i] : 0; };
  std::string_view protocol;
  std::uint8_t tcpFlags = 0;
  std::uint16_t localPort = 0, remotePort = 0;
  const unsigned etherType = byteAt(12) << 8 | byteAt(13);
  if (etherType == 0x0800) {
    protocol = ipProtocolName(byteAt(23));
    const std::size_t t = 14 + (byteAt(14) * 4) % 256;
    if (byteAt(23) == 6 || byteAt(23) == 17) {
      localPort = static_cast<std::uint16_t>(byteAt(t) << 8 | byteAt(t + 1));
      remotePort = static_cast<std::uint16_t>(byteAt(t + 2) << 8 | byteAt(t + 3));
    }
    if (byteAt(23) == 6 && frame.size() > t + 13) tcpFlags = static_cast<std::uint8_t>(byteAt(t + 13));
  } else {
    protocol = etherTypeProtocolName(static_cast<std::uint16_t>(etherType));
  }
  return recordOf(frame, protocol, tcpFlags, localPort, remotePort);
}

inline DecodeResult decodeWithoutVendors(const PacketRecord& record) {
  return PacketDecoder(VendorLookup{}).decodePacket(record);
}

// The first node (display order) whose label starts with `prefix`.
inline std::optional<NodeId> findNode(const DecodeTree& tree, std::string_view prefix) {
  std::optional<NodeId> found;
  tree.forEachInOrder([&](NodeId id, unsigned) {
    if (!found && tree.node(id).label.starts_with(prefix)) found = id;
  });
  return found;
}

// The first node below `parent` (display order) whose label starts with `prefix`.
inline std::optional<NodeId> findNodeUnder(const DecodeTree& tree, NodeId parent, std::string_view prefix) {
  for (NodeId child : tree.node(parent).children) {
    if (tree.node(child).label.starts_with(prefix)) return child;
    if (auto found = findNodeUnder(tree, child, prefix)) return found;
  }
  return std::nullopt;
}

inline std::vector<std::string> childLabels(const DecodeTree& tree, NodeId parent) {
  std::vector<std::string> labels;
  for (NodeId child : tree.node(parent).children) labels.push_back(tree.node(child).label);
  return labels;
}

inline std::vector<std::string> allLabels(const DecodeTree& tree) {
  std::vector<std::string> labels;
  tree.forEachInOrder([&](NodeId id, unsigned) { labels.push_back(tree.node(id).label); });
  return labels;
}

// A frame of a classic pcap file.
struct CapturedFrame {
  std::vector<std::uint8_t> bytes;
};

// Reads a classic pcap file of either byte order; empty when it cannot be read.
inline std::vector<CapturedFrame> readPcapFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<CapturedFrame> frames;
  if (data.size() < 24) return frames;
  auto read32 = [&](std::size_t at, bool swapped) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(data[at + i]) << (8 * (swapped ? 3 - i : i));
    return v;
  };
  const std::uint32_t magic = read32(0, false);
  bool swapped;
  if (magic == 0xA1B2C3D4u || magic == 0xA1B23C4Du) swapped = false;
  else if (magic == 0xD4C3B2A1u || magic == 0x4D3CB2A1u) swapped = true;
  else return frames;
  std::size_t at = 24;
  while (at + 16 <= data.size()) {
    const std::uint32_t captured = read32(at + 8, swapped);
    at += 16;
    if (captured > data.size() - at) break;
    frames.push_back({std::vector<std::uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(at),
                                                data.begin() + static_cast<std::ptrdiff_t>(at + captured))});
    at += captured;
  }
  return frames;
}

inline std::string sharedPcapPath(std::string_view name) {
  return std::string(QV_SHARED_DATA_DIR) + "/pcap/" + std::string(name);
}

inline bool sharedPcapFolderPresent() {
  std::ifstream probe(sharedPcapPath("README.md"));
  return probe.good();
}

}  // namespace qv::test
