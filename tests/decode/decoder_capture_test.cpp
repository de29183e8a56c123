#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "support/bundled_data.h"

namespace qv {
namespace {

using namespace test;

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QV_REQUIRE_BUNDLED_DATA(test::sharedPcapFolderPresent(), "captures at " << test::sharedPcapPath(""));
  }

  static std::vector<DecodeResult> decodeCapture(std::string_view name) {
    std::vector<DecodeResult> results;
    for (const auto& frame : test::readPcapFile(test::sharedPcapPath(name))) {
      results.push_back(decodeWithoutVendors(test::recordFromFrame(frame.bytes)));
    }
    EXPECT_FALSE(results.empty()) << name;
    return results;
  }

  static bool hasErrorNode(const DecodeTree& tree) {
    bool found = false;
    tree.forEachInOrder([&](NodeId id, unsigned) {
      const std::string& label = tree.node(id).label;
      if (label == "Error" || label.ends_with(" : Error") || label.ends_with("( Error? )")) found = true;
    });
    return found;
  }

  static std::string transportChecksum(const DecodeTree& tree) {
    for (const char* data : {"Data : TCP", "Data : UDP"}) {
      if (const auto node = findNode(tree, data)) {
        if (const auto checksum = findNodeUnder(tree, *node, "Checksum")) return tree.node(*checksum).label;
      }
    }
    return {};
  }
};

TEST_F(CaptureTest, EveryFrameOfEveryCaptureDecodesWithinItsBytes) {
  std::size_t frames = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test::sharedPcapPath(""))) {
    if (entry.path().extension() != ".pcap") continue;
    SCOPED_TRACE(entry.path().filename().string());
    for (const auto& frame : test::readPcapFile(entry.path().string())) {
      ++frames;
      const DecodeResult result = decodeWithoutVendors(test::recordFromFrame(frame.bytes));
      ASSERT_FALSE(result.tree.empty());
      EXPECT_TRUE(result.tree.node(result.tree.root()).label.starts_with("Ethernet"));
      EXPECT_LE(result.hexText.size(), frame.bytes.size() * 3 + frame.bytes.size() / 8);
      if (!result.payloadText.empty()) {
        EXPECT_LE(result.payloadBase + result.payloadText.size(), frame.bytes.size());
      }
      result.tree.forEachInOrder([&](NodeId id, unsigned) {
        const HexSpan span = result.tree.node(id).span;
        EXPECT_TRUE(span.end == HexSpan::kToEnd || span.start < span.end) << result.tree.node(id).label;
      });
    }
  }
  EXPECT_GT(frames, 3000u);
}

TEST_F(CaptureTest, ChecksumVerdictsOfWellFormedTraffic) {
  struct Capture {
    const char* name;
    std::set<std::size_t> badTransportChecksums;  // frame numbers from 1
  };
  const Capture captures[] = {
      {"whois.pcap", {1, 3, 4, 7, 9, 10}},  // outgoing frames captured before checksum offload
      {"print-flags.pcap", {4, 6}},
      {"ntp.pcap", {1, 3, 5, 7}},
      {"syslog_udp.pcap", {1, 2, 3, 4}},
      {"tfo-5c1fa7f9ae91.pcap", {}},
      {"mptcp-fclose.pcap", {}},
  };
  for (const Capture& capture : captures) {
    const std::vector<DecodeResult> results = decodeCapture(capture.name);
    for (std::size_t i = 0; i < results.size(); ++i) {
      SCOPED_TRACE(std::string(capture.name) + " frame " + std::to_string(i + 1));
      const DecodeTree& tree = results[i].tree;
      EXPECT_FALSE(hasErrorNode(tree));
      if (!findNode(tree, "Data : IP")) continue;  // ARP
      const auto ipChecksum = findNode(tree, "Checksum");
      ASSERT_TRUE(ipChecksum);
      EXPECT_TRUE(tree.node(*ipChecksum).label.ends_with(" (Correct)"));
      const std::string checksum = transportChecksum(tree);
      const bool bad = capture.badTransportChecksums.contains(i + 1);
      EXPECT_TRUE(checksum.ends_with(bad ? " (Error)" : " (Correct)")) << checksum;
    }
  }
}

TEST_F(CaptureTest, IcmpErrorsQuoteTheOriginalUdpHeader) {
  std::size_t quoted = 0;
  for (const DecodeResult& result : decodeCapture("afs.pcap")) {
    const DecodeTree& tree = result.tree;
    const auto data = findNode(tree, "Data : IP header + the first 64 bits");
    if (!data) continue;
    ++quoted;
    EXPECT_TRUE(findNode(tree, "Type : 3 (Destination Unreachable)"));
    EXPECT_TRUE(findNode(tree, "Code : 3 (Port Unreachable)"));
    const auto icmpChecksum = findNodeUnder(tree, *findNode(tree, "Data : ICMP"), "Checksum");
    ASSERT_TRUE(icmpChecksum);
    EXPECT_TRUE(tree.node(*icmpChecksum).label.ends_with("(Correct)"));
    ASSERT_EQ(childLabels(tree, *data), (std::vector<std::string>{"IP Header", "IP Data"}));
    EXPECT_TRUE(findNodeUnder(tree, *data, "Protocol : 17 (UDP)"));
    EXPECT_TRUE(result.payloadText.empty());
  }
  EXPECT_GE(quoted, 10u);
}

TEST_F(CaptureTest, IgmpMessagesOfEachVersion) {
  auto typesIn = [](std::string_view name) {
    std::set<std::string> types;
    for (const DecodeResult& result : decodeCapture(name)) {
      const auto data = findNode(result.tree, "Data : IGMP");
      if (!data) continue;
      const auto labels = childLabels(result.tree, *data);
      EXPECT_GE(labels.size(), 4u);
      if (labels.size() < 4) continue;
      types.insert(labels[0]);
      EXPECT_TRUE(labels[2].ends_with(" (Correct)")) << labels[2];
    }
    return types;
  };
  EXPECT_EQ(typesIn("IGMP_V1.pcap"), (std::set<std::string>{"Type : 0x11 ( Group Membership Query )",
                                                             "Type : 0x12 ( IGMPv1 Membership Report )"}));
  EXPECT_EQ(typesIn("IGMP_V2.pcap"),
            (std::set<std::string>{"Type : 0x11 ( Group Membership Query )",
                                   "Type : 0x16 ( IGMPv2 Membership Report )", "Type : 0x17 ( IGMPv2 Leave Group )"}));
  EXPECT_EQ(typesIn("mtrace.pcap"), std::set<std::string>{"Type : 0x1f ( Multicast Traceroute )"});
  EXPECT_EQ(typesIn("mrinfo_query.pcap"), std::set<std::string>{"Type : 0x13 ( DVMRP )"});

  std::size_t v3Reports = 0;
  for (const DecodeResult& result : decodeCapture("eapon1.pcap")) {
    if (!findNode(result.tree, "Type : 0x22")) continue;
    ++v3Reports;
    EXPECT_TRUE(findNode(result.tree, "Number of Group Records : "));
    EXPECT_TRUE(findNode(result.tree, "Group Records"));
  }
  EXPECT_EQ(v3Reports, 2u);
}

TEST_F(CaptureTest, MalformedFramesEndInErrorNodes) {
  const auto tiny = decodeCapture("pim_header_asan-2.pcap");
  ASSERT_EQ(tiny.size(), 3u);
  EXPECT_EQ(tiny[1].tree.size(), 1u);
  EXPECT_EQ(tiny[1].tree.node(0).label, "Ethernet : Error");
  EXPECT_EQ(tiny[2].tree.node(0).label, "Ethernet : Error");

  EXPECT_TRUE(findNode(decodeCapture("ipv4_invalid_length.pcap").at(0).tree, "IP : Error"));

  const auto shortHeaderResults = decodeCapture("ipv4_invalid_hdr_length.pcap");
  ASSERT_EQ(shortHeaderResults.size(), 1u);
  const DecodeTree& shortHeader = shortHeaderResults[0].tree;
  EXPECT_TRUE(findNode(shortHeader, "Header Length : 16"));
  EXPECT_EQ(childLabels(shortHeader, *findNode(shortHeader, "Data : UDP")), std::vector<std::string>{"Error"});
}

}  // namespace
}  // namespace qv
