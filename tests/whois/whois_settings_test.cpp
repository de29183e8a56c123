#include <gtest/gtest.h>

#include "settings/memory_settings_store.h"
#include "settings/whois_settings.h"

namespace qv::settings {
namespace {

StoredValue text(std::string_view value) {
  StoredValue stored{ValueType::kText, {value.begin(), value.end()}};
  stored.bytes.push_back(0);
  return stored;
}

TEST(WhoisSettings, ReadsEachServerAndKeepsDefaultsForBadValues) {
  MemorySettingsStore store;
  EXPECT_EQ(readWhoisServers(store).address(whois::ServerId::kArin).host, "whois.arin.net");
  store.putValue("WhoisARIN", text("127.0.0.1:4343"));
  store.putValue("WhoisRIPE", text("whois.example.net"));
  store.putValue("WhoisAPNIC", text("host:99999"));
  store.putValue("WhoisLACNIC", text(""));
  const whois::WhoisServers servers = readWhoisServers(store);
  EXPECT_EQ(servers.address(whois::ServerId::kArin), (whois::ServerAddress{"127.0.0.1", 4343}));
  EXPECT_EQ(servers.address(whois::ServerId::kRipe), (whois::ServerAddress{"whois.example.net", 43}));
  EXPECT_EQ(servers.address(whois::ServerId::kApnic), whois::WhoisServers::defaultAddress(whois::ServerId::kApnic));
  EXPECT_EQ(servers.address(whois::ServerId::kLacnic), whois::WhoisServers::defaultAddress(whois::ServerId::kLacnic));
  EXPECT_EQ(servers.address(whois::ServerId::kIpv6).host, "whois.6bone.net");
}

}  // namespace
}  // namespace qv::settings
