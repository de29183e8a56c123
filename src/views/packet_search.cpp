#include "views/packet_search.h"

#include <algorithm>
#include <functional>

#include "logdata/number_text.h"

namespace qv {

namespace {

std::optional<std::vector<std::uint8_t>> hexPatternBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  for (const char c : text) {
    if (c != ' ' && hexDigitValue(c) < 0) return std::nullopt;
  }
  std::size_t position = 0;
  while (position < text.size()) {
    if (text[position] == ' ') {
      ++position;
      continue;
    }
    std::size_t end = position;
    while (end < text.size() && text[end] != ' ') ++end;
    if (end - position > 2) return std::nullopt;
    int value = 0;
    for (std::size_t i = position; i < end; ++i) value = value * 16 + hexDigitValue(text[i]);
    bytes.push_back(static_cast<std::uint8_t>(value));
    position = end;
  }
  return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> searchPatternBytes(std::string_view text, SearchMode mode) {
  if (mode == SearchMode::kHex) return hexPatternBytes(text);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::span<const std::uint8_t> searchedFrame(const PacketRecord& packet) noexcept {
  const PacketRecord::Part whole = packet.frame();
  const std::span<const std::uint8_t> frame = whole.bytes;
  std::size_t length = whole.statedLength;
  const std::string_view protocol = packet.protocol;
  // The total length is read only where the record really holds it.
  if (protocol != "ARP" && protocol != "RARP" && length >= 35 && frame.size() >= 18) {
    const std::size_t totalLength = (static_cast<std::size_t>(frame[16]) << 8) | frame[17];
    if (totalLength > 19 && length > totalLength + 14) length = totalLength + 14;
  }
  return frame.first(std::min(length, frame.size()));
}

std::size_t searchFrameLength(const PacketRecord& packet) noexcept { return searchedFrame(packet).size(); }

std::optional<SearchHit> searchPackets(const PacketShownList& shown, std::optional<RowIndex> selectedRow,
                                       std::span<const std::uint8_t> pattern) {
  if (pattern.empty() || shown.empty()) return std::nullopt;
  const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
  const auto matchIn = [&](RowIndex row) -> std::optional<SearchHit> {
    const std::span<const std::uint8_t> frame = searchedFrame(shown[row]);
    const auto found = std::search(frame.begin(), frame.end(), searcher);
    if (found == frame.end()) return std::nullopt;
    return SearchHit{row, static_cast<std::size_t>(found - frame.begin())};
  };
  // Rows after the selection first, then from the top down to the selection.
  const RowIndex start = selectedRow && *selectedRow < shown.size() ? *selectedRow + 1 : 0;
  for (RowIndex row = start; row < shown.size(); ++row) {
    if (auto hit = matchIn(row)) return hit;
  }
  for (RowIndex row = 0; row < start; ++row) {
    if (auto hit = matchIn(row)) return hit;
  }
  return std::nullopt;
}

}  // namespace qv
