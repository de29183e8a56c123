#include "decode/icmp_names.h"

#include <array>
#include <span>

namespace qv {

namespace {

struct TypeName {
  unsigned type;
  std::string_view name;
};

constexpr TypeName kTypeNames[] = {
    {0, "Echo Reply"},
    {3, "Destination Unreachable"},
    {4, "Source Quench"},
    {5, "Redirect"},
    {6, "Alternate Host Address"},
    {8, "Echo Request"},
    {9, "Router Advertisement"},
    {10, "Router Solicitation"},
    {11, "Time Exceeded"},
    {12, "Parameter Problem"},
    {13, "Timestamp Request"},
    {14, "Timestamp Reply"},
    {15, "Information Request"},
    {16, "Information Reply"},
    {17, "Address Mask Request"},
    {18, "Address Mask Reply"},
    {30, "Traceroute"},
    {31, "Datagram Conversion Error"},
    {32, "Mobile Host Redirect"},
    {33, "IPv6 Where-Are-You"},
    {34, "IPv6 I-Am-Here"},
    {35, "Mobile Registration Request"},
    {36, "Mobile Registration Reply"},
    {37, "Domain Name Request"},
    {38, "Domain Name Reply"},
    {39, "SKIP Algorithm Discovery Protocol"},
    {40, "Photuris, Security Failures"},
};

constexpr std::string_view kUnreachableCodes[] = {
    "Net Unreachable",
    "Host Unreachable",
    "Protocol Unreachable",
    "Port Unreachable",
    "Fragmentation Needed and Don't Fragment was Set",
    "Source Route Failed",
    "Destination Network Unknown",
    "Destination Host Unknown",
    "Source Host Isolated",
    "Communication with Destination Network is Administratively Prohibited",
    "Communication with Destination Host is Administratively Prohibited",
    "Destination Network Unreachable for Type of Service",
    "Destination Host Unreachable for Type of Service",
    "Communication Administratively Prohibited",
    "Host Precedence Violation",
    "Precedence cutoff in effect",
};

constexpr std::string_view kRedirectCodes[] = {
    "Redirect Datagram for the Network (or subnet)",
    "Redirect Datagram for the Host",
    "Redirect Datagram for the Type of Service and Network",
    "Redirect Datagram for the Type of Service and Host",
};

constexpr std::string_view kTimeExceededCodes[] = {
    "Time to Live exceeded in Transit",
    "Fragment Reassembly Time Exceeded",
};

constexpr std::string_view kParameterProblemCodes[] = {
    "Pointer indicates the error",
    "Missing a Required Option",
    "Bad Length",
};

constexpr std::string_view kTracerouteCodes[] = {
    "Outbound Packet successfully forwarded",
    "No route for Outbound Packet / Packet discarded",
};

constexpr std::string_view kConversionErrorCodes[] = {
    "Unknown/unspecified error",
    "Don't Convert option present",
    "Unknown mandatory option present",
    "Known unsupported option present",
    "Unsupported transport protocol",
    "Overall length exceeded",
    "IP header length exceeded",
    "Transport protocol > 255",
    "Port conversion out of range",
    "Transport header length exceeded",
    "32 Bit Rollover missing and ACK set",
    "Unknown mandatory transport option present",
};

constexpr std::string_view kSecurityFailureCodes[] = {
    "Bad SPI",
    "Authentication Failed",
    "Decompression Failed",
    "Decryption Failed",
    "Need Authentication",
    "Need Authorization",
};

std::string_view codeFrom(std::span<const std::string_view> table, unsigned code) noexcept {
  return code < table.size() ? table[code] : std::string_view("Unknown");
}

}  // namespace

std::string_view icmpTypeName(unsigned type) noexcept {
  for (const TypeName& entry : kTypeNames) {
    if (entry.type == type) return entry.name;
  }
  return "Unknown";
}

std::string_view icmpCodeName(unsigned type, unsigned code) noexcept {
  switch (type) {
    case 3:
      return codeFrom(kUnreachableCodes, code);
    case 5:
      return codeFrom(kRedirectCodes, code);
    case 9:
      if (code == 0) return "Normal router advertisement";
      if (code == 16) return "Does not route common traffic";
      return "Unknown";
    case 11:
      return codeFrom(kTimeExceededCodes, code);
    case 12:
      return codeFrom(kParameterProblemCodes, code);
    case 30:
      return codeFrom(kTracerouteCodes, code);
    case 31:
      return codeFrom(kConversionErrorCodes, code);
    case 40:
      return codeFrom(kSecurityFailureCodes, code);
    default:
      return "N/A";
  }
}

}  // namespace qv
