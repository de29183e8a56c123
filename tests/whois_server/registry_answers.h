#pragma once

// Canned answers in the formats the registries' whois servers use.

#include <string>
#include <string_view>

namespace qv::test::answers {

// ARIN's organisation record for a block it handed to another registry.
inline std::string arinOrgRecord(std::string_view orgId, std::string_view orgName) {
  return "OrgName:    " + std::string(orgName) +
         "\n"
         "OrgID:      " +
         std::string(orgId) +
         "\n"
         "Address:    P.O. Box 10096\n"
         "City:       Amsterdam\n"
         "Country:    NL\n"
         "\n"
         "NetRange:   193.0.0.0 - 193.255.255.255\n"
         "CIDR:       193.0.0.0/8\n"
         "NetName:    RIPE-CIDR4\n"
         "NetHandle:  NET-193-0-0-0-1\n"
         "NetType:    Allocated to " +
         std::string(orgId) +
         "\n"
         "RegDate:    1993-07-01\n"
         "\n"
         "# ARIN WHOIS database, last updated 2006-01-12 19:10\n"
         "# Enter ? for additional hints on searching ARIN's WHOIS database.\n";
}

// ARIN's list of the networks that hold an address: no OrgID, handles in
// parentheses.
inline constexpr std::string_view kArinNetworkList =
    "Level 3 Communications, Inc. LVLT-ORG-4-8 (NET-4-0-0-0-1) \n"
    "                                  4.0.0.0 - 4.255.255.255\n"
    "Example Customer LVLT-EXAMPLE-4-2 (NET-4-2-0-0-1) \n"
    "                                  4.2.0.0 - 4.2.255.255\n"
    "\n"
    "# ARIN WHOIS database, last updated 2006-01-12 19:10\n"
    "# Enter ? for additional hints on searching ARIN's WHOIS database.\n";

// ARIN's own record for a network it holds (the answer to a handle query).
inline constexpr std::string_view kArinNetworkRecord =
    "OrgName:    Level 3 Communications, Inc.\n"
    "OrgID:      LVLT\n"
    "Address:    1025 Eldorado Blvd.\n"
    "City:       Broomfield\n"
    "Country:    US\n"
    "\n"
    "NetRange:   4.0.0.0 - 4.255.255.255\n"
    "CIDR:       4.0.0.0/8\n"
    "NetName:    LVLT-ORG-4-8\n"
    "NetHandle:  NET-4-0-0-0-1\n"
    "\n"
    "# ARIN WHOIS database, last updated 2006-01-12 19:10\n";

// ARIN pointing at the IPv6 registry's server.
inline std::string arinIpv6Referral(std::string_view ipv6Host) {
  return "OrgName:    6bone\n"
         "NetRange:   3FFE:0000:0000:0000:0000:0000:0000:0000 - 3FFE:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF\n"
         "Comment:    This space is used by the 6bone testing network; see\n"
         "Comment:    via " +
         std::string(ipv6Host) +
         " (port 43)\n"
         "\n"
         "# ARIN WHOIS database, last updated 2006-01-12 19:10\n";
}

// RIPE's inetnum object, with a Windows-1250 name (Łódź).
inline constexpr std::string_view kRipeInetnum =
    "% This is the RIPE Whois query server #1.\r\n"
    "% The objects are in RPSL format.\r\n"
    "\r\n"
    "inetnum:      193.0.0.0 - 193.0.7.255\r\n"
    "netname:      RIPE-NCC\r\n"
    "descr:        RIPE Network Coordination Centre\r\n"
    "descr:        \xA3\xF3" "d\x9F\r\n"
    "country:      NL\r\n"
    "admin-c:      AMR68-RIPE\r\n"
    "status:       ASSIGNED PI\r\n"
    "source:       RIPE # Filtered\r\n"
    "\r\n";

inline constexpr std::string_view kApnicInetnum =
    "% [whois.apnic.net node-1]\n"
    "\n"
    "inetnum:      202.12.28.0 - 202.12.29.255\n"
    "netname:      APNIC-AP\n"
    "descr:        Asia Pacific Network Information Centre\n"
    "country:      AU\n"
    "source:       APNIC\n";

inline constexpr std::string_view kLacnicInetnum =
    "% Joint Whois - whois.lacnic.net\n"
    "\n"
    "inetnum:     200.3.12.0/22\n"
    "status:      allocated\n"
    "owner:       Latin American and Caribbean IP address Regional Registry\n"
    "ownerid:     UY-LACN-LACNIC\n"
    "country:     UY\n";

inline constexpr std::string_view kIpv6Inet6num =
    "inet6num:     3FFE:0B00::/24\n"
    "netname:      6BONE\n"
    "descr:        IPv6 testing network\n"
    "source:       6BONE\n";

}  // namespace qv::test::answers
