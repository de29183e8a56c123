#include "capture/ipv4_network.h"

namespace qv {

namespace {

std::uint32_t addressNumber(const Ipv4Address& address) noexcept {
  return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) | (std::uint32_t{address[2]} << 8) |
         std::uint32_t{address[3]};
}

// Reads a decimal number of 1 to `maxDigits` digits from the front of `text`.
std::optional<unsigned> takeDecimal(std::string_view& text, std::size_t maxDigits) noexcept {
  std::size_t used = 0;
  unsigned value = 0;
  while (used < text.size() && text[used] >= '0' && text[used] <= '9') {
    if (used == maxDigits) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(text[used] - '0');
    ++used;
  }
  if (used == 0) return std::nullopt;
  text.remove_prefix(used);
  return value;
}

}  // namespace

std::optional<Ipv4Address> parseIpv4Address(std::string_view text) noexcept {
  Ipv4Address address{};
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    const std::optional<unsigned> octet = takeDecimal(text, 3);
    if (!octet || *octet > 255) return std::nullopt;
    address[i] = static_cast<std::uint8_t>(*octet);
  }
  if (!text.empty()) return std::nullopt;
  return address;
}

std::string ipv4AddressText(const Ipv4Address& address) {
  std::string text;
  for (std::size_t i = 0; i < address.size(); ++i) {
    if (i > 0) text.push_back('.');
    text += std::to_string(address[i]);
  }
  return text;
}

bool Ipv4Network::contains(const Ipv4Address& candidate) const noexcept {
  if (prefixLength <= 0) return true;
  const std::uint32_t mask = prefixLength >= 32 ? 0xFFFFFFFFU : ~(0xFFFFFFFFU >> prefixLength);
  return (addressNumber(candidate) & mask) == (addressNumber(address) & mask);
}

std::optional<Ipv4Network> parseIpv4Network(std::string_view text) noexcept {
  const std::size_t slash = text.find('/');
  const std::optional<Ipv4Address> address = parseIpv4Address(text.substr(0, slash));
  if (!address) return std::nullopt;
  if (slash == std::string_view::npos) return Ipv4Network{*address, 32};
  std::string_view prefix = text.substr(slash + 1);
  const std::optional<unsigned> length = takeDecimal(prefix, 2);
  if (!length || *length > 32 || !prefix.empty()) return std::nullopt;
  return Ipv4Network{*address, static_cast<int>(*length)};
}

std::vector<Ipv4Network> privateIpv4Networks() {
  return {
      {{10, 0, 0, 0}, 8},     {{172, 16, 0, 0}, 12}, {{192, 168, 0, 0}, 16},
      {{169, 254, 0, 0}, 16}, {{127, 0, 0, 0}, 8},
  };
}

bool isLinkScopeAddress(const Ipv4Address& address) noexcept {
  if (address[0] == 0) return true;
  if ((address[0] & 0xF0) == 0xE0) return true;
  return address == Ipv4Address{255, 255, 255, 255};
}

}  // namespace qv
