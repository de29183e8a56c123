#pragma once

#include "whois/whois_servers.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv::whois {

// Where a complete answer sends the chain next.
struct Referral {
  ServerId server = ServerId::kArin;
  std::string query;
  // The LACNIC and RIPE answers are shown as Central European text.
  bool centralEuropean = false;

  friend bool operator==(const Referral&, const Referral&) = default;
};

// The referral rules, tested in order on a complete answer; the first that
// matches decides:
//   1 "OrgID:      APNIC"  -> APNIC, same query
//   2 "OrgID:      LACNIC" -> LACNIC, same query, Central European text
//   3 "OrgID:      RIPE"   -> RIPE, same query, Central European text
//   4 "Comment:    via <ipv6Host> (port 43)" -> the IPv6 registry, same query
//   5 no "OrgID:" but "# ARIN WHOIS database" (a list of networks) -> ARIN
//     again with the network handle: from the first "(NET-" on (without the
//     parenthesis) up to the next ")", empty when no ")" follows
// Nullopt: the answer is final and is shown. A network list without any
// "(NET-" names nothing to ask for, so it is shown too.
std::optional<Referral> findReferral(std::string_view answer, std::string_view query, std::string_view ipv6Host);

}  // namespace qv::whois
