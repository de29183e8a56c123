#include "logdata/protocol_names.h"

#include <array>
#include <stdexcept>

#include "logdata/packet_record.h"

namespace qv {
namespace {

constexpr std::array<std::string_view, 136> kIpProtocolNames = {
    "Unknown Protocol",
    "ICMP",
    "IGMP",
    "GGP",
    "IP in IP",
    "ST",
    "TCP",
    "CBT",
    "EGP",
    "IGRP",
    "BBN RCC Monitoring",
    "NVP",
    "PUP",
    "ARGUS",
    "EMCON",
    "XNET",
    "Chaos",
    "UDP",
    "TMux",
    "DCN Measurement Subsystems",
    "MHP",
    "Packet Radio Measurement",
    "XEROX NS IDP",
    "Trunk-1",
    "Trunk-2",
    "Leaf-1",
    "Leaf-2",
    "RDP",
    "IRTP",
    "ISO Transport Protocol Class 4",
    "NETBLT",
    "MFE Network Services Protocol",
    "MERIT Internodal Protocol",
    "Sequential Exchange Protocol",
    "Third Party Connect Protocol",
    "IDPR",
    "XTP",
    "Datagram Delivery Protocol",
    "IDPR",
    "TP++ Transport Protocol",
    "IL Transport Protocol",
    "IPv6",
    "SDRP",
    "IPv6 Routing header",
    "IPv6 Fragment header",
    "IDRP",
    "RSVP",
    "GRE",
    "MHRP",
    "BNA",
    "ESP",
    "AH",
    "Integrated Net Layer Security TUBA",
    "IP with Encryption",
    "NARP",
    "Minimal Encapsulation Protocol",
    "TLSP",
    "SKIP",
    "ICMPv6/MLD",
    "IPv6 No Next Header",
    "Destination Options for IPv6",
    "Any host internal protocol",
    "CFTP",
    "Any local network",
    "SATNET and Backroom EXPAK",
    "Kryptolan",
    "MIT Remote Virtual Disk Protocol",
    "Internet Pluribus Packet Core",
    "Any distributed file system",
    "SATNET Monitoring",
    "VISA Protocol",
    "Internet Packet Core Utility",
    "Computer Protocol Network Executive",
    "Computer Protocol Heart Beat",
    "Wang Span Network",
    "Packet Video Protocol",
    "Backroom SATNET Monitoring",
    "SUN ND PROTOCOL-Temporary",
    "WIDEBAND Monitoring",
    "WIDEBAND EXPAK",
    "ISO-IP",
    "VMTP",
    "SECURE-VMTP",
    "VINES",
    "TTP",
    "NSFNET-IGP",
    "Dissimilar Gateway Protocol",
    "TCF",
    "EIGRP",
    "OSPF/MOSPF",
    "Sprite RPC Protocol",
    "Locus Address Resolution Protocol",
    "MTP",
    "AX.25",
    "IP-within-IP Encapsulation Protocol",
    "Mobile Internetworking Control Protocol",
    "Semaphore Communications Sec. Pro",
    "EtherIP",
    "Encapsulation Header",
    "Any private encryption scheme",
    "GMTP",
    "IFMP",
    "PNNI over IP",
    "PIM",
    "ARIS",
    "SCPS",
    "QNX",
    "Active Networks",
    "IPPCP",
    "SNP",
    "Compaq Peer Protocol",
    "IPX in IP",
    "VRRP",
    "PGM",
    "any 0-hop protocol",
    "L2TP",
    "DDX",
    "IATP",
    "ST",
    "SRP",
    "UTI",
    "SMP",
    "SM",
    "PTP",
    "ISIS over IPv4",
    "FIRE",
    "CRTP",
    "CRUDP",
    "SSCOPMCE",
    "IPLT",
    "SPS",
    "PIPE",
    "SCTP",
    "Fibre Channel",
    "RSVP-E2E-IGNORE",
    "Mobility Header",
};

}  // namespace

std::string_view ipProtocolName(unsigned protocolNumber) {
  if (protocolNumber < kIpProtocolNames.size()) return kIpProtocolNames[protocolNumber];
  if (protocolNumber == 255) return "Reserved = Error";
  return "Unknown Protocol";
}

std::string_view etherTypeProtocolName(std::uint16_t etherType) {
  switch (etherType) {
    case 0x0806: return "ARP";
    case 0x8035: return "RARP";
    case 0x80F3: return "AARP";
    case 0x8100: return "EAPS";
    case 0x8137: return "IPX";
    case 0x814C: return "SNMP";
    case 0x86DD: return "IPv6";
    case 0x880B: return "PPP";
    case 0x880C: return "GSMP";
    case 0x8847: return "MPLS";
    case 0x8848: return "MPLS";
    case 0x88BB: return "LWAPP";
    case 0x888E: return "EAPOL";
    default: return {};
  }
}

PacketProtocol::PacketProtocol(std::string_view name) {
  if (name.empty()) return;
  for (unsigned number = 0; number < 256; ++number) {
    if (ipProtocolName(number) == name) {
      code_ = static_cast<std::uint16_t>(number + 1);
      return;
    }
  }
  for (unsigned etherType = 257; etherType <= 0xFFFF; ++etherType) {
    if (etherTypeProtocolName(static_cast<std::uint16_t>(etherType)) == name) {
      code_ = static_cast<std::uint16_t>(etherType);
      return;
    }
  }
  throw std::invalid_argument("no protocol is named " + std::string(name));
}

std::string tcpFlagsText(std::uint8_t tcpFlags) {
  static constexpr char kLetters[] = "UAPRSF";
  std::string text(6, 'x');
  for (int position = 0; position < 6; ++position) {
    if (tcpFlags & (0x20 >> position)) text[static_cast<std::size_t>(position)] = kLetters[position];
  }
  return text;
}

std::string tcpFlagsText(const PacketRecord& record) { return tcpFlagsText(record.tcpFlags); }

}  // namespace qv
