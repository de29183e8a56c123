#include "decode/dhcp_names.h"

#include <array>

#include "decode/field_text.h"

namespace qv {

namespace {

struct OptionName {
  std::uint8_t code;
  const char* name;
};

// Names are shown exactly as written here, "IPX Compatability" and the
// FQDN name that 81 and 89 share included.
constexpr OptionName kOptionNames[] = {
    {0, "Pad"},
    {1, "Subnet Mask"},
    {2, "Time Offset"},
    {3, "Router IP Address"},
    {4, "Time Server Option"},
    {5, "Name Server Option"},
    {6, "Domain Name Server Option"},
    {7, "Log Server Option"},
    {8, "Cookie Server Option"},
    {9, "LPR Server Option"},
    {10, "Impress Server Option"},
    {11, "Resource Location Server Option"},
    {12, "Host Name Option"},
    {13, "Boot File Size Option"},
    {14, "Merit Dump File"},
    {15, "Domain Name"},
    {16, "Swap Server IP Address"},
    {17, "Root Path"},
    {18, "Extensions Path"},
    {19, "IP Forwarding"},
    {20, "Non-Local Source Routing"},
    {21, "Policy Filter Option"},
    {22, "Maximum Datagram Reassembly Size"},
    {23, "Default IP Time-to-live"},
    {24, "Path MTU Aging Timeout Option"},
    {25, "Path MTU Plateau Table Option"},
    {26, "Interface MTU Option"},
    {27, "All Subnets are Local Option"},
    {28, "Broadcast Address Option"},
    {29, "Perform Mask Discovery Option"},
    {30, "Mask Supplier Option"},
    {31, "Perform Router Discovery Option"},
    {32, "Router Solicitation Address Option"},
    {33, "Static Route Option"},
    {34, "Trailer Encapsulation Option"},
    {35, "ARP Cache Timeout Option"},
    {36, "Ethernet Encapsulation Option"},
    {37, "TCP Default TTL Option"},
    {38, "TCP Keepalive Interval Option"},
    {39, "TCP Keepalive Garbage Option"},
    {40, "Network Information Service Domain Option"},
    {41, "Network Information Servers Option"},
    {42, "Network Time Protocol Servers Option"},
    {43, "Vendor Specific Information"},
    {44, "NetBIOS over TCP/IP Name Server Option"},
    {45, "NetBIOS over TCP/IP Datagram Distribution Server Option"},
    {46, "NetBIOS over TCP/IP Node Type Option"},
    {47, "NetBIOS over TCP/IP Scope Option"},
    {48, "X Window System Font Server Option"},
    {49, "X Window System Display Manager Option"},
    {50, "Requested IP Address"},
    {51, "IP Address Lease Time"},
    {52, "Option Overload"},
    {53, "DHCP Message Type"},
    {54, "Server Identifier"},
    {55, "Parameter Request List"},
    {56, "Message"},
    {57, "Maximum DHCP Message Size"},
    {58, "Renewal (T1) Time Value"},
    {59, "Rebinding (T2) Time Value"},
    {60, "Vendor class identifier"},
    {61, "Client-identifier"},
    {62, "NetWare/IP Domain Name option"},
    {63, "NetWare/IP Information option"},
    {64, "Network Information Service+ Domain Option"},
    {65, "Network Information Service+ Servers Option"},
    {66, "TFTP server name"},
    {67, "Bootfile name"},
    {68, "Mobile IP Home Agent option"},
    {69, "Simple Mail Transport Protocol (SMTP) Server Option"},
    {70, "Post Office Protocol (POP3) Server Option"},
    {71, "Network News Transport Protocol (NNTP) Server Option"},
    {72, "Default World Wide Web (WWW) Server Option"},
    {73, "Default Finger Server Option"},
    {74, "Default Internet Relay Chat (IRC) Server Option"},
    {75, "StreetTalk Server Option"},
    {76, "StreetTalk Directory Assistance (STDA) Server Option"},
    {77, "User Class option"},
    {78, "Service Location Protocol (SLP) Directory Agent Option"},
    {79, "Service Location Protocol (SLP) Service Scope Option"},
    {80, "Naming Authority"},
    {81, "Fully Qualified Domain Name (FQDN) Option"},
    {82, "Relay Agent Information Option"},
    {83, "Agent Remote ID"},
    {84, "Agent Subnet Mask"},
    {85, "Novell Directory Services (NDS) Servers Option"},
    {86, "Novell Directory Services (NDS) Tree Name Option"},
    {87, "Novell Directory Services (NDS) Context Option"},
    {88, "IEEE 1003.1 POSIX Timezone"},
    {89, "Fully Qualified Domain Name (FQDN) Option"},
    {90, "Authentication"},
    {91, "Vines TCP/IP Server Option"},
    {92, "Server Selection Option"},
    {93, "Client System Architecture"},
    {94, "Client Network Device Interface"},
    {95, "Lightweight Directory Access Protocol (LDAP) Option"},
    {96, "IPv6 Transitions"},
    {97, "UUID/GUID-based Client Identifier"},
    {98, "Option for The Open Group's User Authentication Protocol"},
    {100, "Printer Name"},
    {101, "MDHCP Multicast Address"},
    {108, "Swap Path Option"},
    {109, "Autonomous System Number"},
    {110, "IPX Compatability"},
    {112, "NetInfo Parent Server Address"},
    {113, "NetInfo Parent Server Tag"},
    {114, "URL"},
    {115, "DHCP Failover Protocol"},
    {116, "Auto-Configure"},
    {117, "Name Service Search Option"},
    {118, "IPv4 Subnet Selection Option"},
    {119, "DHCP Domain Search Option"},
    {120, "DHCP-for-IPv4 Option for Session Initiation Protocol (SIP) Servers"},
    {121, "Classless Static Route Option for DHCP version 4"},
    {122, "CableLabs Client Configuration (CCC) Option"},
    {255, "End ( 1 Octet )"},
};

constexpr std::array<const char*, 256> makeOptionNameTable() {
  std::array<const char*, 256> table{};
  for (const OptionName& entry : kOptionNames) table[entry.code] = entry.name;
  return table;
}

constexpr std::array<const char*, 256> kOptionNameByCode = makeOptionNameTable();

constexpr std::string_view kHardwareTypeNames[] = {
    "",
    " ( Ethernet )",
    " ( Experimental Ethernet )",
    " ( Amateur Radio AX.25 )",
    " ( Proteon ProNET Token Ring )",
    " ( Chaos )",
    " ( IEEE 802 )",
    " ( ARCNET )",
    " ( Hyperchannel )",
    " ( Lanstar )",
    " ( Autonet Short Address )",
    " ( LocalTalk )",
    " ( LocalNet )",
    " ( Ultra link )",
    " ( SMDS )",
    " ( Frame Relay )",
    " ( Asynchronous Transmission Mode )",
    " ( HDLC )",
    " ( Fibre Channel )",
    " ( Asynchronous Transmission Mode )",
    " ( Serial Line )",
    " ( Asynchronous Transmission Mode )",
    " ( MIL-STD-188-220 )",
    " ( Metricom )",
    " ( IEEE 1394-1995 )",
    " ( MAPOS )",
    " ( Twinaxial )",
    " ( EUI-64 )",
    " ( HIPARP )",
    " ( IP and ARP over ISO 7816-3 )",
    " ( ARPSec )",
    " ( IPsec tunnel )",
    " ( Infiniband )",
};

}  // namespace

std::string dhcpOptionName(std::uint8_t code) {
  const char* const name = kOptionNameByCode[code];
  return formatText("%hu : %s", static_cast<unsigned short>(code), name != nullptr ? name : "Unknown Option Code");
}

std::string_view hardwareTypeName(std::uint8_t type) noexcept {
  return type < std::size(kHardwareTypeNames) ? kHardwareTypeNames[type] : std::string_view();
}

}  // namespace qv
