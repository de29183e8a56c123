#include "settings/whois_settings.h"

#include "settings/value_names.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace qv::settings {

std::string_view whoisServerValueName(whois::ServerId server) {
  static constexpr std::array<std::string_view, whois::kServerCount> kNames = {
      names::kWhoisArinServer, names::kWhoisApnicServer, names::kWhoisLacnicServer, names::kWhoisRipeServer,
      names::kWhoisIpv6Server};
  return kNames[static_cast<std::size_t>(server)];
}

whois::WhoisServers readWhoisServers(const SettingsStore& store) {
  whois::WhoisServers servers;
  const std::unique_ptr<const SettingsKey> key = store.openForReading();
  if (!key) return servers;
  for (std::size_t i = 0; i < whois::kServerCount; ++i) {
    const auto server = static_cast<whois::ServerId>(i);
    const std::optional<std::string> text = key->readText(whoisServerValueName(server));
    if (!text) continue;
    if (std::optional<whois::ServerAddress> address = whois::parseServerAddress(*text)) {
      servers.setAddress(server, std::move(*address));
    }
  }
  return servers;
}

}  // namespace qv::settings
