#include "decode/internet_checksum.h"

#include <cstddef>

namespace qv {

std::uint16_t internetChecksumValue(std::span<const std::uint8_t> bytes) noexcept {
  // A 64-bit sum cannot overflow for any buffer that fits in memory; folding
  // at the end gives the same result as folding the carry in as it appears.
  std::uint64_t sum = 0;
  const std::size_t evenCount = bytes.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < evenCount; i += 2) sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
  if (evenCount != bytes.size()) sum += static_cast<std::uint32_t>(bytes[evenCount] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum & 0xFFFF);
}

ChecksumVerdict internetChecksum(std::uint16_t stored, std::span<const std::uint8_t> bytes) noexcept {
  return internetChecksumValue(bytes) == stored ? ChecksumVerdict::kCorrect : ChecksumVerdict::kError;
}

}  // namespace qv
