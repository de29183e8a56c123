#pragma once

#include <cstddef>
#include <string>

#include "decode/byte_view.h"

namespace qv {

// printf-style label text, so that labels read exactly as their formats
// ("Version : %hu", "Checksum : 0x%x (Correct)", ...).
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Dotted decimal of the four bytes at `offset` (e.g. 192.168.0.1).
std::string dottedQuadText(ByteView bytes, std::size_t offset);

// `count` bytes from `offset` as two-digit lower-case hex pairs joined by '-'
// (e.g. 00-11-22-33-44-55), the form of MAC addresses and OUIs in labels.
std::string hexPairsText(ByteView bytes, std::size_t offset, std::size_t count);

}  // namespace qv
