#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "filter/quick_filter.h"

namespace qv {
namespace {

TrafficRecord traffic(std::uint8_t flags) {
  TrafficRecord record;
  record.flags = flags;
  record.time = "2024/03/10 10:00:00";
  record.remoteIp = "10.0.0.1";
  record.localIp = "192.168.0.2";
  record.remotePort = 80;
  record.localPort = 1025;
  record.applicationName = "C:\\WINDOWS\\system32\\svchost.exe";
  record.ruleName = "Allow_web";
  return record;
}

bool passes(const FilterCriteria& criteria, const TrafficRecord& record) {
  return QuickFilter(criteria, {}).passes(record);
}

using namespace RecordFlag;

TEST(QuickFilterMatch, ActionAndDirectionBoxes) {
  FilterCriteria criteria;
  const TrafficRecord allowedIn = traffic(kAllowed | kIncoming | kTcp);
  const TrafficRecord blockedOut = traffic(kBlocked | kOutgoing | kTcp);
  const TrafficRecord blockedNoDirection = traffic(kBlocked | kTcp);
  EXPECT_TRUE(passes(criteria, allowedIn) && passes(criteria, blockedOut));

  criteria.allow = false;
  EXPECT_FALSE(passes(criteria, allowedIn));
  EXPECT_TRUE(passes(criteria, blockedOut));
  criteria = {};
  criteria.block = false;
  EXPECT_TRUE(passes(criteria, allowedIn));
  EXPECT_FALSE(passes(criteria, blockedOut));

  criteria = {};
  criteria.in = false;
  EXPECT_FALSE(passes(criteria, allowedIn));
  EXPECT_TRUE(passes(criteria, blockedOut));
  EXPECT_TRUE(passes(criteria, blockedNoDirection));
  criteria.in = true;
  criteria.out = false;
  EXPECT_TRUE(passes(criteria, allowedIn));
  EXPECT_FALSE(passes(criteria, blockedOut));
  EXPECT_TRUE(passes(criteria, blockedNoDirection));
  // Both boxes of a group clear (only the command line can ask for it):
  // only records with neither bit pass.
  criteria.in = false;
  EXPECT_FALSE(passes(criteria, allowedIn));
  EXPECT_TRUE(passes(criteria, blockedNoDirection));
}

TEST(QuickFilterMatch, TrafficProtocolBoxes) {
  const TrafficRecord tcp = traffic(kAllowed | kTcp);
  const TrafficRecord udp = traffic(kAllowed | kUdp);
  const TrafficRecord icmp = traffic(kAllowed | kIcmp);
  const TrafficRecord none = traffic(kAllowed);  // shown as TCP, yet no box hides it
  FilterCriteria onlyTcp;
  onlyTcp.udp = onlyTcp.icmp = false;
  EXPECT_TRUE(passes(onlyTcp, tcp));
  EXPECT_FALSE(passes(onlyTcp, udp));
  EXPECT_FALSE(passes(onlyTcp, icmp));
  EXPECT_TRUE(passes(onlyTcp, none));
  FilterCriteria noTcp;
  noTcp.tcp = false;
  EXPECT_FALSE(passes(noTcp, tcp));
  EXPECT_TRUE(passes(noTcp, udp) && passes(noTcp, icmp) && passes(noTcp, none));
}

TEST(QuickFilterMatch, AddressesArePrefixes) {
  TrafficRecord record = traffic(kAllowed);
  FilterCriteria criteria;
  criteria.remoteIp = "10.0.0.1";
  for (const char* ip : {"10.0.0.1", "10.0.0.15", "10.0.0.100"}) {
    record.remoteIp = ip;
    EXPECT_TRUE(passes(criteria, record)) << ip;
  }
  record.remoteIp = "10.0.0.2";
  EXPECT_FALSE(passes(criteria, record));
  record.remoteIp = "110.0.0.1";
  EXPECT_FALSE(passes(criteria, record));

  criteria.remoteIp = "!192.168.";
  record.remoteIp = "192.168.44.1";
  EXPECT_FALSE(passes(criteria, record));
  record.remoteIp = "192.169.0.1";
  EXPECT_TRUE(passes(criteria, record));
  // "!" alone negates the empty prefix, which every address has.
  criteria.remoteIp = "!";
  EXPECT_FALSE(passes(criteria, record));

  criteria = {};
  criteria.localIp = "192.168.0.2";
  EXPECT_TRUE(passes(criteria, record));
  criteria.localIp = "!192.168.0";
  EXPECT_FALSE(passes(criteria, record));
  criteria.localIp = "10.";  // the remote address is not looked at
  record.remoteIp = "10.0.0.1";
  EXPECT_FALSE(passes(criteria, record));
}

std::vector<unsigned> passingPorts(const char* remoteField, const std::vector<unsigned>& ports) {
  FilterCriteria criteria;
  criteria.remotePort = remoteField;
  const QuickFilter filter(criteria, {});
  std::vector<unsigned> passing;
  for (const unsigned port : ports) {
    TrafficRecord record = traffic(kAllowed);
    record.remotePort = static_cast<std::uint16_t>(port);
    if (filter.passes(record)) passing.push_back(port);
  }
  return passing;
}

TEST(QuickFilterMatch, PortFields) {
  const std::vector<unsigned> ports = {0, 8, 80, 800, 1023, 1024, 8080, 65535};
  using Ports = std::vector<unsigned>;
  EXPECT_EQ(passingPorts("80", ports), (Ports{80}));
  EXPECT_EQ(passingPorts("080", ports), Ports{});  // the port is written without leading zeros
  EXPECT_EQ(passingPorts("0", ports), (Ports{0}));
  EXPECT_EQ(passingPorts("99999", ports), Ports{});
  EXPECT_EQ(passingPorts("!80", ports), (Ports{0, 8, 800, 1023, 1024, 8080, 65535}));
  EXPECT_EQ(passingPorts("!", ports), ports);
  EXPECT_EQ(passingPorts("1024-", ports), (Ports{1024, 8080, 65535}));
  EXPECT_EQ(passingPorts("-1023", ports), (Ports{0, 8, 80, 800, 1023}));
  EXPECT_EQ(passingPorts("!1024-", ports), (Ports{0, 8, 80, 800, 1023}));
  EXPECT_EQ(passingPorts("80-80", ports), (Ports{80}));
  EXPECT_EQ(passingPorts("080-0800", ports), (Ports{80, 800}));  // ranges compare padded texts
  EXPECT_EQ(passingPorts("-", ports), ports);
  EXPECT_EQ(passingPorts("!-", ports), Ports{});

  FilterCriteria local;
  local.localPort = "1025";
  TrafficRecord record = traffic(kAllowed);
  EXPECT_TRUE(passes(local, record));
  record.localPort = 80;
  EXPECT_FALSE(passes(local, record));
}

TEST(QuickFilterMatch, NamesAreCaseSensitiveSubstrings) {
  TrafficRecord record = traffic(kAllowed);
  FilterCriteria criteria;
  criteria.applicationName = "svchost";
  EXPECT_TRUE(passes(criteria, record));
  criteria.applicationName = "SVCHOST";
  EXPECT_FALSE(passes(criteria, record));
  criteria.applicationName = "!/svchost";
  EXPECT_FALSE(passes(criteria, record));
  criteria.applicationName = "!/SVCHOST";
  EXPECT_TRUE(passes(criteria, record));
  criteria.applicationName = "!svchost";  // only "!/" negates a name
  EXPECT_FALSE(passes(criteria, record));
  record.applicationName = "C:\\Apps\\!svchost.exe";
  EXPECT_TRUE(passes(criteria, record));

  record.applicationName = "C:\\Programme\\Caf\xe9\\app.exe";  // bytes of the log's code page
  criteria.applicationName = "Caf\xe9";
  EXPECT_TRUE(passes(criteria, record));

  criteria = {};
  criteria.ruleName = "web";
  EXPECT_TRUE(passes(criteria, record));
  criteria.ruleName = "!/Allow";
  EXPECT_FALSE(passes(criteria, record));
  criteria.ruleName = "Block";
  EXPECT_FALSE(passes(criteria, record));
}

PacketRecord packet(std::string_view protocol) {
  PacketRecord record;
  record.flags = kAllowed | kIncoming;
  record.time = "2024/03/10 10:00:00.250";
  record.remoteIp = "10.0.0.1";
  record.localIp = "192.168.0.2";
  record.remotePort = 53;
  record.localPort = 1025;
  record.applicationName = "C:\\app.exe";
  record.protocol = protocol;
  return record;
}

TEST(QuickFilterMatch, PacketProtocolsByName) {
  FilterCriteria onlyTcp;
  onlyTcp.udp = onlyTcp.icmp = false;
  const QuickFilter filter(onlyTcp, {});
  EXPECT_TRUE(filter.passes(packet("TCP")));
  EXPECT_TRUE(filter.passes(packet("ARP")));
  EXPECT_TRUE(filter.passes(packet("IGMP")));
  EXPECT_TRUE(filter.passes(packet("")));
  EXPECT_FALSE(filter.passes(packet("UDP")));
  EXPECT_FALSE(filter.passes(packet("ICMP")));

  FilterCriteria noTcp;
  noTcp.tcp = false;
  EXPECT_FALSE(QuickFilter(noTcp, {}).passes(packet("TCP")));
  EXPECT_TRUE(QuickFilter(noTcp, {}).passes(packet("ICMPv6/MLD")));
}

TEST(QuickFilterMatch, PacketFieldsAndNoRuleName) {
  FilterCriteria criteria;
  criteria.ruleName = "nothing matches this";  // packets have no rule name
  criteria.remotePort = "53";
  criteria.localIp = "192.";
  criteria.applicationName = "app";
  criteria.block = false;
  criteria.out = false;
  EXPECT_TRUE(QuickFilter(criteria, {}).passes(packet("UDP")));
  criteria.in = false;
  EXPECT_FALSE(QuickFilter(criteria, {}).passes(packet("UDP")));
  criteria.in = true;
  criteria.localPort = "!1025";
  EXPECT_FALSE(QuickFilter(criteria, {}).passes(packet("UDP")));
}

}  // namespace
}  // namespace qv
