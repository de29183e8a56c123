#include "capture/frame_endpoints.h"

#include <algorithm>
#include <optional>

namespace qv {

namespace {

constexpr std::size_t kEthernetHeaderBytes = 14;
constexpr std::size_t kIpv4MinimumHeaderBytes = 20;
constexpr std::uint8_t kIcmp = 1;
constexpr std::uint8_t kTcp = 6;
constexpr std::uint8_t kUdp = 17;

struct TransportPorts {
  std::uint16_t source = 0;
  std::uint16_t destination = 0;
};

std::uint16_t bigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept {
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

Ipv4Address addressAt(std::span<const std::uint8_t> bytes, std::size_t offset) noexcept {
  return {bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]};
}

// The TCP or UDP ports of a first (or only) fragment whose header is present.
std::optional<TransportPorts> transportPorts(std::span<const std::uint8_t> frame, std::size_t transportStart) noexcept {
  if (frame.size() < transportStart + 4) return std::nullopt;
  return TransportPorts{bigEndian16(frame, transportStart), bigEndian16(frame, transportStart + 2)};
}

bool isLocal(const Ipv4Address& address, std::span<const Ipv4Network> localNetworks) noexcept {
  if (isLinkScopeAddress(address)) return true;
  return std::any_of(localNetworks.begin(), localNetworks.end(),
                     [&](const Ipv4Network& network) { return network.contains(address); });
}

}  // namespace

FrameEndpoints frameEndpoints(std::span<const std::uint8_t> frame, std::span<const Ipv4Network> localNetworks) {
  FrameEndpoints ends;
  if (frame.size() < kEthernetHeaderBytes + kIpv4MinimumHeaderBytes) return ends;
  if (bigEndian16(frame, 12) != 0x0800) return ends;

  const Ipv4Address source = addressAt(frame, 26);
  const Ipv4Address destination = addressAt(frame, 30);
  const std::uint8_t versionAndLength = frame[14];
  const std::size_t headerBytes = std::size_t{versionAndLength & 0x0Fu} * 4;
  const bool fragmentOffsetZero = (bigEndian16(frame, 20) & 0x1FFF) == 0;
  const bool headerUsable = (versionAndLength >> 4) == 4 && headerBytes >= kIpv4MinimumHeaderBytes && fragmentOffsetZero;
  const std::uint8_t protocol = frame[23];
  const std::size_t transportStart = kEthernetHeaderBytes + headerBytes;

  std::optional<TransportPorts> ports;
  if (headerUsable && (protocol == kTcp || protocol == kUdp)) ports = transportPorts(frame, transportStart);

  const bool sourceLocal = isLocal(source, localNetworks);
  const bool destinationLocal = isLocal(destination, localNetworks);
  bool outgoing = true;
  if (sourceLocal != destinationLocal) {
    outgoing = sourceLocal;
  } else if (ports && ports->source != ports->destination) {
    outgoing = ports->source > ports->destination;
  }

  ends.direction = outgoing ? PacketDirection::kOutgoing : PacketDirection::kIncoming;
  ends.localAddress = outgoing ? source : destination;
  ends.remoteAddress = outgoing ? destination : source;
  if (ports) {
    ends.localPort = outgoing ? ports->source : ports->destination;
    ends.remotePort = outgoing ? ports->destination : ports->source;
  } else if (headerUsable && protocol == kIcmp && frame.size() >= transportStart + 2) {
    ends.localPort = frame[transportStart];
    ends.remotePort = frame[transportStart + 1];
  }
  return ends;
}

}  // namespace qv
