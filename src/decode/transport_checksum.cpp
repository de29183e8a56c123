#include "decode/transport_checksum.h"

#include <algorithm>
#include <vector>

namespace qv {

ChecksumVerdict verifyTransportChecksum(ByteView ipHeader, std::uint8_t protocolNumber, std::uint16_t pseudoLength,
                                        ByteView segment, std::size_t checksumOffset) {
  constexpr std::size_t kPseudoHeaderLength = 12;
  std::vector<std::uint8_t> bytes(kPseudoHeaderLength + segment.size());
  for (std::size_t i = 0; i < 8; ++i) bytes[i] = ipHeader.u8(12 + i);
  bytes[8] = 0;
  bytes[9] = protocolNumber;
  bytes[10] = static_cast<std::uint8_t>(pseudoLength >> 8);
  bytes[11] = static_cast<std::uint8_t>(pseudoLength & 0xFF);
  std::copy(segment.span().begin(), segment.span().end(), bytes.begin() + kPseudoHeaderLength);
  for (std::size_t i = checksumOffset; i < checksumOffset + 2 && i < segment.size(); ++i) {
    bytes[kPseudoHeaderLength + i] = 0;
  }
  return internetChecksum(segment.u16(checksumOffset), bytes);
}

}  // namespace qv
