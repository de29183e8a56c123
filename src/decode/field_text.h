#pragma once

#include <cstddef>
#include <string>

#include "decode/byte_view.h"

namespace qv {

// MinGW's C++ runtime formats as C99 does (%zu included); its plain "printf"
// archetype would check against the older Microsoft rules instead.
#ifdef __MINGW_PRINTF_FORMAT
#define QV_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define QV_PRINTF_FORMAT printf
#endif

// printf-style label text, so that labels read exactly as their formats
// ("Version : %hu", "Checksum : 0x%x (Correct)", ...).
std::string formatText(const char* format, ...) __attribute__((format(QV_PRINTF_FORMAT, 1, 2)));

// Dotted decimal of the four bytes at `offset` (e.g. 192.168.0.1).
std::string dottedQuadText(ByteView bytes, std::size_t offset);

// `count` bytes from `offset` as two-digit lower-case hex pairs joined by '-'
// (e.g. 00-11-22-33-44-55), the form of MAC addresses and OUIs in labels.
std::string hexPairsText(ByteView bytes, std::size_t offset, std::size_t count);

}  // namespace qv
