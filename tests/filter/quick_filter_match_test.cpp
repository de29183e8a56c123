#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "filter/quick_filter.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord event(std::uint8_t flags) {
  TrafficRecord record;
  record.flags = flags;
  record.remoteIp = "10.0.0.1";
  record.localIp = "192.168.0.2";
  record.remotePort = 80;
  record.localPort = 1025;
  record.applicationName = "C:\\WINDOWS\\system32\\svchost.exe";
  record.ruleName = "Allow_web";
  return record;
}

// Which of the records pass criteria made by `set` from the defaults.
template <class Record>
std::vector<int> passing(const std::function<void(FilterCriteria&)>& set, const std::vector<Record>& records) {
  FilterCriteria criteria;
  set(criteria);
  const QuickFilter filter(criteria, {});
  std::vector<int> indexes;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (filter.passes(records[i])) indexes.push_back(static_cast<int>(i));
  }
  return indexes;
}

using Indexes = std::vector<int>;

TEST(QuickFilterMatch, CheckBoxes) {
  const std::vector<TrafficRecord> records = {
      event(kAllowed | kIncoming | kTcp), event(kBlocked | kOutgoing | kUdp), event(kBlocked | kIcmp),
      event(kAllowed)};  // 3: no direction, no protocol bit (shown as TCP)
  EXPECT_EQ(passing([](auto& c) { c.allow = false; }, records), (Indexes{1, 2}));
  EXPECT_EQ(passing([](auto& c) { c.block = false; }, records), (Indexes{0, 3}));
  EXPECT_EQ(passing([](auto& c) { c.in = false; }, records), (Indexes{1, 2, 3}));
  EXPECT_EQ(passing([](auto& c) { c.out = false; }, records), (Indexes{0, 2, 3}));
  EXPECT_EQ(passing([](auto& c) { c.udp = c.icmp = false; }, records), (Indexes{0, 3}));
  EXPECT_EQ(passing([](auto& c) { c.tcp = false; }, records), (Indexes{1, 2, 3}));
  // Whole groups clear, which only the command line can ask for.
  EXPECT_EQ(passing([](auto& c) { c.in = c.out = false; }, records), (Indexes{2, 3}));
  EXPECT_EQ(passing([](auto& c) { c.allow = c.block = false; }, records), Indexes{});
}

TEST(QuickFilterMatch, AddressesAreTextPrefixes) {
  std::vector<TrafficRecord> records(5, event(kAllowed));
  const char* addresses[] = {"10.0.0.1", "10.0.0.15", "10.0.0.100", "110.0.0.1", "192.168.44.1"};
  for (std::size_t i = 0; i < records.size(); ++i) records[i].remoteIp = addresses[i];
  EXPECT_EQ(passing([](auto& c) { c.remoteIp = "10.0.0.1"; }, records), (Indexes{0, 1, 2}));
  EXPECT_EQ(passing([](auto& c) { c.remoteIp = "!192.168."; }, records), (Indexes{0, 1, 2, 3}));
  EXPECT_EQ(passing([](auto& c) { c.remoteIp = "!"; }, records), Indexes{});  // every address begins with ""
  EXPECT_EQ(passing([](auto& c) { c.localIp = "192.168.0.2"; }, records), (Indexes{0, 1, 2, 3, 4}));
  EXPECT_EQ(passing([](auto& c) { c.localIp = "!192."; }, records), Indexes{});
}

TEST(QuickFilterMatch, PortsCompareAsTexts) {
  const unsigned ports[] = {0, 8, 80, 800, 1023, 1024, 8080, 65535};
  std::vector<TrafficRecord> records;
  for (const unsigned port : ports) {
    records.push_back(event(kAllowed));
    records.back().remotePort = static_cast<std::uint16_t>(port);
    records.back().localPort = static_cast<std::uint16_t>(port);
  }
  const std::pair<const char*, Indexes> cases[] = {
      {"80", {2}},
      {"080", {}},  // the port is written without leading zeros
      {"0", {0}},
      {"99999", {}},
      {"!80", {0, 1, 3, 4, 5, 6, 7}},
      {"!", {0, 1, 2, 3, 4, 5, 6, 7}},
      {"1024-", {5, 6, 7}},
      {"-1023", {0, 1, 2, 3, 4}},
      {"!1024-", {0, 1, 2, 3, 4}},
      {"80-80", {2}},
      {"080-0800", {2, 3}},  // a range compares padded texts
      {"!-", {}},
  };
  for (const auto& testCase : cases) {
    // Not a structured binding: Clang 14 cannot capture one in a lambda.
    const auto& field = testCase.first;
    const auto& expected = testCase.second;
    EXPECT_EQ(passing([&](auto& c) { c.remotePort = field; }, records), expected) << field;
    EXPECT_EQ(passing([&](auto& c) { c.localPort = field; }, records), expected) << field;
  }
}

TEST(QuickFilterMatch, NamesAreCaseSensitiveByteSubstrings) {
  std::vector<TrafficRecord> records(3, event(kAllowed));
  records[1].applicationName = "C:\\Apps\\!svchost.exe";
  records[2].applicationName = "C:\\Programme\\Caf\xe9\\app.exe";  // bytes of the log's code page
  records[2].ruleName = "Block_all";
  EXPECT_EQ(passing([](auto& c) { c.applicationName = "svchost"; }, records), (Indexes{0, 1}));
  EXPECT_EQ(passing([](auto& c) { c.applicationName = "SVCHOST"; }, records), Indexes{});
  EXPECT_EQ(passing([](auto& c) { c.applicationName = "!/svchost"; }, records), (Indexes{2}));
  EXPECT_EQ(passing([](auto& c) { c.applicationName = "!svchost"; }, records), (Indexes{1}));  // only "!/" negates
  EXPECT_EQ(passing([](auto& c) { c.applicationName = "Caf\xe9"; }, records), (Indexes{2}));
  EXPECT_EQ(passing([](auto& c) { c.ruleName = "web"; }, records), (Indexes{0, 1}));
  EXPECT_EQ(passing([](auto& c) { c.ruleName = "!/Allow"; }, records), (Indexes{2}));
}

PacketRecord packet(std::string_view protocol, std::uint8_t flags = kAllowed | kIncoming) {
  PacketRecord record;
  record.flags = flags;
  record.protocol = protocol;
  record.remotePort = 53;
  record.localIp = "192.168.0.2";
  record.applicationName = "C:\\app.exe";
  return record;
}

TEST(QuickFilterMatch, PacketsMatchTheirProtocolNameAndHaveNoRuleName) {
  const std::vector<PacketRecord> records = {packet("TCP"), packet("UDP"), packet("ICMP"), packet("ARP"),
                                             packet("IGMP"), packet(""), packet("UDP", kBlocked | kOutgoing)};
  EXPECT_EQ(passing([](auto& c) { c.udp = c.icmp = false; }, records), (Indexes{0, 3, 4, 5}));
  EXPECT_EQ(passing([](auto& c) { c.tcp = c.udp = c.icmp = false; }, records), (Indexes{3, 4, 5}));
  EXPECT_EQ(passing([](auto& c) { c.block = false; }, records), (Indexes{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(passing([](auto& c) { c.in = false; }, records), (Indexes{6}));
  EXPECT_EQ(passing([](auto& c) { c.ruleName = "no packet has one"; }, records).size(), records.size());
  EXPECT_EQ(passing([](auto& c) { c.remotePort = "!53"; }, records), Indexes{});
  EXPECT_EQ(passing([](auto& c) { c.localIp = "192."; c.applicationName = "!/app"; }, records), Indexes{});
}

}  // namespace
}  // namespace qv
