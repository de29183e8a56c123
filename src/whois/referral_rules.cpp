#include "whois/referral_rules.h"

namespace qv::whois {

namespace {

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::optional<std::string> networkHandle(std::string_view answer) {
  const std::size_t open = answer.find("(NET-");
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t start = open + 1;
  const std::size_t close = answer.find(')', start);
  if (close == std::string_view::npos) return std::string();
  return std::string(answer.substr(start, close - start));
}

}  // namespace

std::optional<Referral> findReferral(std::string_view answer, std::string_view query, std::string_view ipv6Host) {
  if (contains(answer, "OrgID:      APNIC")) return Referral{ServerId::kApnic, std::string(query), false};
  if (contains(answer, "OrgID:      LACNIC")) return Referral{ServerId::kLacnic, std::string(query), true};
  if (contains(answer, "OrgID:      RIPE")) return Referral{ServerId::kRipe, std::string(query), true};
  const std::string ipv6Comment = "Comment:    via " + std::string(ipv6Host) + " (port 43)";
  if (contains(answer, ipv6Comment)) return Referral{ServerId::kIpv6, std::string(query), false};
  if (!contains(answer, "OrgID:") && contains(answer, "# ARIN WHOIS database")) {
    if (std::optional<std::string> handle = networkHandle(answer)) {
      return Referral{ServerId::kArin, std::move(*handle), false};
    }
  }
  return std::nullopt;
}

}  // namespace qv::whois
