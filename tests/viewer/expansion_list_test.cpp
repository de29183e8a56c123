#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/decoder_test_support.h"
#include "viewer/expansion_list.h"

namespace qv {
namespace {

using namespace test;

std::vector<std::string> expandedLabels(const DecodeTree& tree, const TreeExpansion& expansion) {
  std::vector<std::string> labels;
  tree.forEachInOrder([&](NodeId id, unsigned) {
    if (expansion.at(id)) labels.push_back(tree.node(id).label);
  });
  return labels;
}

DecodeResult firstFrameOf(const char* capture, std::string_view protocol) {
  for (const CapturedFrame& frame : readPcapFile(sharedPcapPath(capture))) {
    PacketRecord record = recordFromFrame(frame.bytes);
    if (record.protocol == protocol) return decodeWithoutVendors(record);
  }
  ADD_FAILURE() << "no " << protocol << " frame in " << capture;
  return {};
}

TEST(ExpansionListTest, PathsCutEveryLabelBeforeItsColon) {
  const DecodeResult tcp = decodeWithoutVendors(recordFromFrame(kTcpSyn));
  EXPECT_EQ(expansionPath(tcp.tree, *findNode(tcp.tree, "Source Port")), "Source Port \tHeader\tData \tData \tEthernet\t");
}

TEST(ExpansionListTest, AViewOfATcpPacketCarriesOverToAUdpPacket) {
  if (!sharedPcapFolderPresent()) GTEST_SKIP() << "shared captures not present";
  const DecodeResult tcp = firstFrameOf("whois.pcap", "TCP");
  const DecodeResult udp = firstFrameOf("ntp.pcap", "UDP");
  const DecodeTree& tree = tcp.tree;
  TreeExpansion expansion = decoderExpansion(tree);
  const NodeId ipData = *findNode(tree, "Data : IP");
  const NodeId tcpData = *findNode(tree, "Data : TCP");
  expansion[*findNodeUnder(tree, ipData, "Header")] = true;
  expansion[tcpData] = true;
  // Expanded under a collapsed parent: the user cannot see it, so it is not kept.
  expansion[*findNodeUnder(tree, *findNode(tree, "Header"), "Destination MAC")] = true;
  const NodeId tcpHeader = *findNodeUnder(tree, tcpData, "Header");
  const ExpansionList list = recordExpansionList(tree, expansion);
  ASSERT_EQ(list.size(), 4U);
  EXPECT_EQ(list.front(), "Ethernet\t");

  const TreeExpansion carried = applyExpansionList(udp.tree, list);
  EXPECT_EQ(expandedLabels(udp.tree, carried), (std::vector<std::string>{"Ethernet", "Data : IP", "Header", "Data : UDP"}));

  // Back on the TCP packet the same four nodes open, the TCP header stays shut.
  const TreeExpansion again = applyExpansionList(tree, recordExpansionList(udp.tree, carried));
  EXPECT_EQ(expandedLabels(tree, again), (std::vector<std::string>{"Ethernet", "Data : IP", "Header", "Data : TCP"}));
  EXPECT_FALSE(again[tcpHeader]);
}

TEST(ExpansionListTest, ACollapsedRootOrAnotherRootKeepsEverythingShut) {
  const DecodeResult tcp = decodeWithoutVendors(recordFromFrame(kTcpSyn));
  const TreeExpansion allShut(tcp.tree.size(), false);
  EXPECT_TRUE(recordExpansionList(tcp.tree, allShut).empty());
  EXPECT_EQ(applyExpansionList(tcp.tree, {}), allShut);

  // A frame too short for Ethernet has the root "Ethernet : Error".
  const std::vector<std::uint8_t> shortFrame(10, 0xAB);
  const DecodeResult broken = decodeWithoutVendors(recordOf(shortFrame, "TCP"));
  const ExpansionList list = recordExpansionList(tcp.tree, decoderExpansion(tcp.tree));
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(applyExpansionList(broken.tree, list), TreeExpansion(broken.tree.size(), false));
  // And the other way round: nothing of the broken frame's view opens a good one.
  TreeExpansion brokenOpen(broken.tree.size(), true);
  EXPECT_EQ(applyExpansionList(tcp.tree, recordExpansionList(broken.tree, brokenOpen)), allShut);
}

}  // namespace
}  // namespace qv
