#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "decode/hex_span.h"

namespace qv {

// The hex pane's text as a text widget holds it: each CR LF is one line break,
// so a line takes 49 positions there where the hex pane's own positions (the
// ones spans and offsets use) count 50. These are the only places that map
// between the two.
std::string hexDocumentText(std::string_view hexText);

// The widget position of hex position `position` within a text of
// `documentLength` characters. A position on the line break (or an open
// end) maps to the line's end, never past the text.
std::size_t documentPositionOf(HexCharPos position, std::size_t documentLength) noexcept;

// The hex position of widget position `position`; the line break maps to
// the first of its two characters.
HexCharPos hexPositionOfDocument(std::size_t position) noexcept;

}  // namespace qv
