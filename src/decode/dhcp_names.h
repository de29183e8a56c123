#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// "<code> : <name>" for a DHCP option code, e.g. "1 : Subnet Mask", or
// "<code> : Unknown Option Code" for a code without a name.
std::string dhcpOptionName(std::uint8_t code);

// " ( <name> )" for an ARP hardware type (BOOTP hardware type, client
// identifier type), e.g. " ( Ethernet )"; empty for an unknown type.
std::string_view hardwareTypeName(std::uint8_t type) noexcept;

}  // namespace qv
