#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "logdata/packet_record.h"
#include "views/packet_shown_list.h"
#include "views/row_index.h"

namespace qv {

enum class SearchMode { kString, kHex };

inline constexpr std::string_view kInvalidHexMessage = "Error : Invalid Hex Data";

// The bytes to search for. String: the text exactly as typed. Hex: blank-
// separated tokens of one or two hex digits, blanks trimmed at both ends.
// Nothing (std::nullopt) when a hex text is invalid; the caller then shows
// kInvalidHexMessage. An empty result means there is nothing to search.
std::optional<std::vector<std::uint8_t>> searchPatternBytes(std::string_view text, SearchMode mode);

// How many frame bytes a search looks at: the IPv4 total length + 14 for an
// IP packet whose frame carries padding beyond that, otherwise the packet
// length; never more than the bytes the record really holds.
std::size_t searchFrameLength(const PacketRecord& packet) noexcept;
// The first searchFrameLength bytes of the packet's frame.
std::span<const std::uint8_t> searchedFrame(const PacketRecord& packet) noexcept;

struct SearchHit {
  RowIndex row = 0;
  std::size_t frameOffset = 0;
};

// The first row after `selectedRow` (from row 0 when none is selected) whose
// frame contains the pattern, wrapping round to the selected row itself;
// nothing when no row matches or the pattern is empty.
std::optional<SearchHit> searchPackets(const PacketShownList& shown, std::optional<RowIndex> selectedRow,
                                       std::span<const std::uint8_t> pattern);

}  // namespace qv
