#include "viewer/viewer_search.h"

#include <algorithm>
#include <functional>

#include "views/packet_search.h"

namespace qv {

namespace {

std::optional<std::size_t> findWith(const PacketRecord& packet,
                                    const std::boyer_moore_horspool_searcher<const std::uint8_t*>& searcher) {
  const std::span<const std::uint8_t> frame = searchedFrame(packet);
  const auto found = std::search(frame.begin(), frame.end(), searcher);
  if (found == frame.end()) return std::nullopt;
  return static_cast<std::size_t>(found - frame.begin());
}

}  // namespace

std::optional<std::size_t> findInFrame(const PacketRecord& packet, std::span<const std::uint8_t> pattern) {
  if (pattern.empty()) return std::nullopt;
  const std::boyer_moore_horspool_searcher searcher(pattern.data(), pattern.data() + pattern.size());
  return findWith(packet, searcher);
}

std::optional<ViewerSearchHit> searchViewerPackets(std::span<const PacketRecord> packets, std::size_t currentIndex,
                                                   std::span<const std::uint8_t> pattern) {
  if (pattern.empty() || packets.empty()) return std::nullopt;
  const std::boyer_moore_horspool_searcher searcher(pattern.data(), pattern.data() + pattern.size());
  const std::size_t count = packets.size();
  const std::size_t current = currentIndex < count ? currentIndex : count - 1;
  // One pass over every packet, starting after the current one.
  for (std::size_t step = 1; step <= count; ++step) {
    const std::size_t index = (current + step) % count;
    if (const auto offset = findWith(packets[index], searcher)) return ViewerSearchHit{index, *offset};
  }
  return std::nullopt;
}

}  // namespace qv
