#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::whois {

// The registries a query chain can reach: ARIN first, then whichever one its
// answer refers to.
enum class ServerId : std::uint8_t { kArin, kApnic, kLacnic, kRipe, kIpv6 };

inline constexpr std::size_t kServerCount = 5;
inline constexpr std::uint16_t kWhoisPort = 43;

// "arin", "apnic", "lacnic", "ripe", "ipv6": the names the command line uses.
std::string_view serverName(ServerId server);
std::optional<ServerId> serverFromName(std::string_view name);

// Where one registry's whois server listens.
struct ServerAddress {
  std::string host;
  std::uint16_t port = kWhoisPort;

  // "host", or "host:port" when the port is not 43: how messages name it.
  std::string text() const;

  friend bool operator==(const ServerAddress&, const ServerAddress&) = default;
};

// "host" or "host:port" (port 1-65535); an IPv6 literal is written in
// brackets ("[::1]:4343"). Nullopt for an empty host, a bad port or a host
// holding blanks or control characters (it would be sent to the resolver).
std::optional<ServerAddress> parseServerAddress(std::string_view text);

// The five servers a chain uses; the public registries' hosts by default.
class WhoisServers {
 public:
  WhoisServers();

  const ServerAddress& address(ServerId server) const { return addresses_[index(server)]; }
  void setAddress(ServerId server, ServerAddress address) { addresses_[index(server)] = std::move(address); }

  static const ServerAddress& defaultAddress(ServerId server);

 private:
  static std::size_t index(ServerId server) { return static_cast<std::size_t>(server); }
  std::array<ServerAddress, kServerCount> addresses_;
};

}  // namespace qv::whois
