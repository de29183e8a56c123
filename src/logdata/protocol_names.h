#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct PacketRecord;

// The name of an IP protocol number as assigned in 2004: 1-135 named,
// 255 "Reserved = Error", every other number "Unknown Protocol".
std::string_view ipProtocolName(unsigned protocolNumber);

// The protocol name of an EtherType other than IPv4 (whose name comes from
// the IP header); empty for the types that have none.
std::string_view etherTypeProtocolName(std::uint16_t etherType);

// Six characters, one per TCP flag from URG to FIN: the flag's letter when it
// is set, 'x' when not ("xAxxSx" for SYN+ACK).
std::string tcpFlagsText(std::uint8_t tcpFlags);
std::string tcpFlagsText(const PacketRecord& record);

}  // namespace qv
