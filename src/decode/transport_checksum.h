#pragma once

#include <cstddef>
#include <cstdint>

#include "decode/byte_view.h"
#include "decode/internet_checksum.h"

namespace qv {

// Verifies a TCP or UDP checksum: the pseudo-header (source and destination
// address of the frame's IPv4 header, a zero byte, `protocolNumber`,
// `pseudoLength` big-endian) followed by `segment` with its checksum field at
// `checksumOffset` read as the stored value and summed as zero.
ChecksumVerdict verifyTransportChecksum(ByteView ipHeader, std::uint8_t protocolNumber, std::uint16_t pseudoLength,
                                        ByteView segment, std::size_t checksumOffset);

}  // namespace qv
