#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "whois/referral_rules.h"
#include "whois/whois_servers.h"
#include "whois_server/registry_answers.h"

namespace qv::whois {
namespace {

namespace answers = qv::test::answers;

constexpr std::string_view kIpv6Host = "whois.6bone.net";

std::optional<Referral> refer(std::string_view answer, std::string_view query = "193.0.0.1") {
  return findReferral(answer, query, kIpv6Host);
}

TEST(ReferralRules, SendsEachRegistrysBlockToItsServer) {
  EXPECT_EQ(refer(answers::arinOrgRecord("APNIC", "Asia Pacific")), (Referral{ServerId::kApnic, "193.0.0.1", false}));
  EXPECT_EQ(refer(answers::arinOrgRecord("LACNIC", "Latin America")), (Referral{ServerId::kLacnic, "193.0.0.1", true}));
  EXPECT_EQ(refer(answers::arinOrgRecord("RIPE", "RIPE NCC")), (Referral{ServerId::kRipe, "193.0.0.1", true}));
  EXPECT_EQ(refer(answers::arinIpv6Referral(kIpv6Host)), (Referral{ServerId::kIpv6, "193.0.0.1", false}));
}

TEST(ReferralRules, TestsTheRulesInOrder) {
  // Every ARIN record ends with the database line: the OrgID rules win.
  EXPECT_EQ(refer(answers::arinOrgRecord("RIPE", "RIPE NCC"))->server, ServerId::kRipe);
  // APNIC before RIPE, whatever their order in the answer.
  EXPECT_EQ(refer("OrgID:      RIPE\nOrgID:      APNIC\n")->server, ServerId::kApnic);
  // An IPv6 comment naming another host is no referral; the exact spacing counts.
  EXPECT_EQ(refer("Comment:    via whois.example.net (port 43)\n"), std::nullopt);
  EXPECT_EQ(refer("Comment:   via whois.6bone.net (port 43)\n"), std::nullopt);
  EXPECT_EQ(refer("OrgID:     RIPE\n"), std::nullopt);
  // Another organisation: ARIN's own record is final.
  EXPECT_EQ(refer(answers::kArinNetworkRecord), std::nullopt);
}

TEST(ReferralRules, FollowsTheFirstNetworkHandleOfANetworkList) {
  EXPECT_EQ(refer(answers::kArinNetworkList), (Referral{ServerId::kArin, "NET-4-0-0-0-1", false}));
  // No ")" after "(NET-": the handle is empty.
  EXPECT_EQ(refer("Example (NET-4-0-0\n# ARIN WHOIS database\n"), (Referral{ServerId::kArin, "", false}));
  // A list without any handle names nothing to ask for: shown as it is.
  EXPECT_EQ(refer("No match found.\n# ARIN WHOIS database\n"), std::nullopt);
  // Neither OrgID nor the database line: shown.
  EXPECT_EQ(refer("Example (NET-4-0-0-0-1)\n"), std::nullopt);
}

TEST(ServerAddress, ParsesHostAndPort) {
  EXPECT_EQ(parseServerAddress("whois.ripe.net"), (ServerAddress{"whois.ripe.net", 43}));
  EXPECT_EQ(parseServerAddress("127.0.0.1:4343"), (ServerAddress{"127.0.0.1", 4343}));
  EXPECT_EQ(parseServerAddress("[::1]:4343"), (ServerAddress{"::1", 4343}));
  EXPECT_EQ(parseServerAddress("[::1]"), (ServerAddress{"::1", 43}));
  for (const std::string_view bad : {"", ":43", "host:", "host:0", "host:65536", "host:4x", "::1:43", "bad host",
                                     "host\r\n:43", "[::1", "[::1]43"}) {
    EXPECT_EQ(parseServerAddress(bad), std::nullopt) << bad;
  }
  EXPECT_EQ((ServerAddress{"whois.ripe.net", 43}).text(), "whois.ripe.net");
  EXPECT_EQ((ServerAddress{"127.0.0.1", 4343}).text(), "127.0.0.1:4343");
  EXPECT_EQ((ServerAddress{"::1", 4343}).text(), "[::1]:4343");
  EXPECT_EQ(serverFromName("ipv6"), ServerId::kIpv6);
  EXPECT_EQ(serverFromName("RIPE"), std::nullopt);
}

}  // namespace
}  // namespace qv::whois
