#pragma once

#include <cstdint>
#include <span>

namespace qv {

enum class ChecksumVerdict { kCorrect, kError };

// The Internet checksum (RFC 1071) of `bytes`, whose checksum field the
// caller has set to zero, compared with the `stored` field. Words are read
// big-endian, so `stored` is the field as read big-endian from the packet.
ChecksumVerdict internetChecksum(std::uint16_t stored, std::span<const std::uint8_t> bytes) noexcept;

// The ones'-complement sum folded to 16 bits and complemented.
std::uint16_t internetChecksumValue(std::span<const std::uint8_t> bytes) noexcept;

// " (Correct)" / " (Error)" style verdict words without the surrounding text.
inline const char* checksumVerdictText(ChecksumVerdict verdict) noexcept {
  return verdict == ChecksumVerdict::kCorrect ? "(Correct)" : "(Error)";
}

}  // namespace qv
