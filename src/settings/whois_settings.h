#pragma once

#include "settings/settings_store.h"
#include "whois/whois_servers.h"

#include <string_view>

namespace qv::settings {

// The value that holds one whois server's "host" or "host:port".
std::string_view whoisServerValueName(whois::ServerId server);

// The five whois servers as stored; a missing, empty or unusable value keeps
// that registry's public host, so a damaged value never leaves a server
// without an address.
whois::WhoisServers readWhoisServers(const SettingsStore& store);

}  // namespace qv::settings
