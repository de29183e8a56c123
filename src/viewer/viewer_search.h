#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "logdata/packet_record.h"

namespace qv {

// Where a byte pattern was found: the packet's index in the viewer's list and
// the frame offset of the match.
struct ViewerSearchHit {
  std::size_t packetIndex = 0;
  std::size_t frameOffset = 0;
  friend constexpr bool operator==(ViewerSearchHit, ViewerSearchHit) noexcept = default;
};

// The frame offset of the first occurrence of `pattern` in the bytes of
// `packet` that a search looks at (searchFrameLength), or nothing.
std::optional<std::size_t> findInFrame(const PacketRecord& packet, std::span<const std::uint8_t> pattern);

// The viewer's search: the packets after `currentIndex` to the last, then the
// first up to and including the current one, so a match in the current packet
// alone is found last. Nothing for an empty pattern or no match.
std::optional<ViewerSearchHit> searchViewerPackets(std::span<const PacketRecord> packets, std::size_t currentIndex,
                                                   std::span<const std::uint8_t> pattern);

}  // namespace qv
