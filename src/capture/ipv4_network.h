#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// An IPv4 address as its four octets in the order they are written.
using Ipv4Address = std::array<std::uint8_t, 4>;

// Dotted decimal text ("a.b.c.d", each 0-255, no extra characters).
std::optional<Ipv4Address> parseIpv4Address(std::string_view text) noexcept;
std::string ipv4AddressText(const Ipv4Address& address);

// An address range "a.b.c.d/n"; a plain address is the range of that one address.
struct Ipv4Network {
  Ipv4Address address{};
  int prefixLength = 32;

  bool contains(const Ipv4Address& candidate) const noexcept;
  friend bool operator==(const Ipv4Network&, const Ipv4Network&) = default;
};

// "a.b.c.d/n" with n from 0 to 32, or "a.b.c.d". Host bits may be set
// (192.168.1.7/24 is the range of 192.168.1.0/24).
std::optional<Ipv4Network> parseIpv4Network(std::string_view text) noexcept;

// The private, link-local and loopback ranges: where a personal firewall's
// own host usually has its address.
std::vector<Ipv4Network> privateIpv4Networks();

// Addresses that name no host elsewhere: "this network" (0.0.0.0/8), multicast
// (224.0.0.0/4) and the limited broadcast 255.255.255.255. A packet to or from
// them concerns the local link.
bool isLinkScopeAddress(const Ipv4Address& address) noexcept;

}  // namespace qv
