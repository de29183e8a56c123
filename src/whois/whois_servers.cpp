#include "whois/whois_servers.h"

#include <charconv>
#include <utility>

namespace qv::whois {

namespace {

constexpr std::array<std::string_view, kServerCount> kNames = {"arin", "apnic", "lacnic", "ripe", "ipv6"};

const std::array<ServerAddress, kServerCount>& defaultAddresses() {
  static const std::array<ServerAddress, kServerCount> addresses = {
      ServerAddress{"whois.arin.net", kWhoisPort},  ServerAddress{"whois.apnic.net", kWhoisPort},
      ServerAddress{"whois.lacnic.net", kWhoisPort}, ServerAddress{"whois.ripe.net", kWhoisPort},
      ServerAddress{"whois.6bone.net", kWhoisPort},
  };
  return addresses;
}

bool isUsableHost(std::string_view host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  return true;
}

std::optional<std::uint16_t> parsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value == 0 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::string_view serverName(ServerId server) { return kNames[static_cast<std::size_t>(server)]; }

std::optional<ServerId> serverFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<ServerId>(i);
  }
  return std::nullopt;
}

std::string ServerAddress::text() const {
  const bool bracket = host.find(':') != std::string::npos;
  if (port == kWhoisPort) return host;
  std::string result = bracket ? "[" + host + "]" : host;
  return result + ":" + std::to_string(port);
}

std::optional<ServerAddress> parseServerAddress(std::string_view text) {
  std::string_view host = text;
  std::string_view port;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      port = rest.substr(1);
      if (port.empty()) return std::nullopt;
    }
  } else if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
    // A second colon would be an IPv6 literal without brackets: ambiguous.
    if (text.find(':', colon + 1) != std::string_view::npos) return std::nullopt;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (port.empty()) return std::nullopt;
  }
  if (!isUsableHost(host)) return std::nullopt;
  ServerAddress address{std::string(host), kWhoisPort};
  if (!port.empty()) {
    const std::optional<std::uint16_t> number = parsePort(port);
    if (!number) return std::nullopt;
    address.port = *number;
  }
  return address;
}

WhoisServers::WhoisServers() : addresses_(defaultAddresses()) {}

const ServerAddress& WhoisServers::defaultAddress(ServerId server) {
  return defaultAddresses()[static_cast<std::size_t>(server)];
}

}  // namespace qv::whois
