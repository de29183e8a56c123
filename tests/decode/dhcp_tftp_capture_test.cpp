#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "decode/packet_decoder.h"
#include "decoder_test_support.h"
#include "support/bundled_data.h"

namespace qv {
namespace {

using namespace test;

std::vector<Bytes> capture(const char* name) {
  std::vector<Bytes> frames;
  for (test::CapturedFrame& frame : test::readPcapFile(test::sharedPcapPath(name)))
    frames.push_back(std::move(frame.bytes));
  return frames;
}

PacketRecord recordForFrame(const Bytes& frame) { return test::recordFromFrame(frame); }

// Where the IP datagram of a captured frame ends (Ethernet padding dropped).
FrameOffset datagramEnd(const Bytes& frame) {
  const std::size_t totalLength = std::size_t{frame.at(16)} << 8 | frame.at(17);
  return static_cast<FrameOffset>(std::min(frame.size(), totalLength + 14));
}

// The message type a DHCP frame carries, in short: "OFFER", "?" for a type
// without a name, "-" when the options were not read.
std::string messageType(const DecodeTree& tree) {
  const auto option = findNode(tree, "53 : DHCP Message Type ( ");
  if (!option) return "-";
  std::string label = tree.node(*option).label;
  label = label.substr(label.find("( ") + 2);
  label = label.substr(0, label.size() - 2);
  if (label == "Unknown Type") return "?";
  return label.starts_with("DHCP") ? label.substr(4) : label;
}

bool isErrorLabel(const std::string& label) {
  return label == "Error" || label.starts_with("Error : ") || label.ends_with("( Error )") ||
         label.ends_with("(Error)");
}

struct DhcpCapture {
  const char* file;
  const char* messageTypes;  // one word per DHCP frame, in capture order
};

TEST(DhcpCaptures, WalkEveryOptionToTheEndOfTheMessage) {
  QV_REQUIRE_BUNDLED_DATA(test::sharedPcapFolderPresent(), "captures at " << test::sharedPcapPath(""));
  const DhcpCapture captures[] = {
      {"dhcp-rfc4388.pcap",
       "DISCOVER OFFER REQUEST ACK ? ? DISCOVER OFFER REQUEST ACK ? ? ? ? DISCOVER OFFER REQUEST ACK ? ? "
       "DISCOVER OFFER REQUEST ACK ? ? ? ? - - ? ? ? ? ? ?"},
      {"dhcp-mud.pcap", "REQUEST ACK"},
      {"dhcp-rfc3004.pcap", "DISCOVER OFFER REQUEST ACK"},
      {"dhcp-rfc5859.pcap", "DISCOVER OFFER REQUEST ACK"},
      {"dhcp-option-33.pcap", "OFFER OFFER OFFER OFFER OFFER"},
      {"dhcpv4v6-rfc5970-rfc8572.pcap", "DISCOVER OFFER REQUEST ACK"},
      {"dcb_pfc.pcap", "DISCOVER"},
      {"eapon1.pcap", "RELEASE DISCOVER DISCOVER DISCOVER DISCOVER DISCOVER DISCOVER DISCOVER DISCOVER DISCOVER"},
  };
  const PacketDecoder decoder{VendorLookup{}};
  for (const DhcpCapture& expected : captures) {
    SCOPED_TRACE(expected.file);
    const std::vector<Bytes> frames = capture(expected.file);
    ASSERT_FALSE(frames.empty());
    std::ostringstream types;
    for (std::size_t index = 0; index < frames.size(); ++index) {
      SCOPED_TRACE("frame " + std::to_string(index + 1));
      const DecodeResult result = decoder.decodePacket(recordForFrame(frames[index]));
      const DecodeTree& tree = result.tree;
      const auto dhcp = findNode(tree, "Data : DHCP");
      if (!dhcp) continue;
      types << (types.tellp() > 0 ? " " : "") << messageType(tree);
      const auto options = findNode(tree, "Options");
      ASSERT_TRUE(options);
      const std::vector<std::string> labels = childLabels(tree, *options);
      ASSERT_FALSE(labels.empty());
      if (labels.front().ends_with("(Error)")) {
        // The two BOOTP requests whose vendor area is shifted.
        EXPECT_EQ(labels.size(), 1u);
        EXPECT_FALSE(result.scrollToRoot);
        continue;
      }
      EXPECT_TRUE(result.scrollToRoot);
      EXPECT_TRUE(labels.back() == "255 : End ( 1 Octet )" || labels.back().starts_with("0 : Pad ( ")) << labels.back();
      tree.forEachInOrder([&](NodeId id, unsigned) {
        const std::string& label = tree.node(id).label;
        if (!label.starts_with("Checksum : ")) {
          EXPECT_FALSE(isErrorLabel(label)) << label;
        }
      });
      // The options tile the message: the last one ends where the datagram ends.
      const NodeId last = tree.node(*options).children.back();
      EXPECT_EQ(tree.node(last).span.end, hexCharPos(datagramEnd(frames[index])) - 1);
    }
    EXPECT_EQ(types.str(), expected.messageTypes);
  }
}

TEST(DhcpCaptures, ReportTruncatedBootpMessages) {
  QV_REQUIRE_BUNDLED_DATA(test::sharedPcapFolderPresent(), "captures at " << test::sharedPcapPath(""));
  const PacketDecoder decoder{VendorLookup{}};
  const std::pair<const char*, const char*> cases[] = {{"bootp_asan.pcap", "Error : 48 Bytes"},
                                                       {"bootp_asan-2.pcap", "Error : 11 Bytes"}};
  for (const auto& [file, error] : cases) {
    const std::vector<Bytes> frames = capture(file);
    ASSERT_EQ(frames.size(), 1u) << file;
    const DecodeResult result = decoder.decodePacket(recordForFrame(frames[0]));
    const auto dhcp = findNode(result.tree, "Data : DHCP");
    ASSERT_TRUE(dhcp) << file;
    EXPECT_EQ(childLabels(result.tree, *dhcp), std::vector<std::string>{error});
  }
}

TEST(TftpCapture, ShowsTheRequestAndTheTransfer) {
  QV_REQUIRE_BUNDLED_DATA(test::sharedPcapFolderPresent(), "captures at " << test::sharedPcapPath(""));
  const std::vector<Bytes> frames = capture("tftp.pcap");
  ASSERT_EQ(frames.size(), 7u);
  const PacketDecoder decoder{VendorLookup{}};
  const auto tftpLabels = [&](const PacketRecord& record, DecodeResult& result) {
    result = decoder.decodePacket(record);
    const auto tftp = findNode(result.tree, "Data : TFTP");
    return tftp ? childLabels(result.tree, *tftp) : std::vector<std::string>{};
  };
  DecodeResult result;
  EXPECT_EQ(tftpLabels(recordForFrame(frames[0]), result),
            (std::vector<std::string>{"Opcode : 1 ( Read Request )", "File Name : file1", "Mode : octet"}));
  // Handed on instead of shown as a data line.
  EXPECT_EQ(childLabels(result.tree, *findNode(result.tree, "Data : UDP")),
            (std::vector<std::string>{"Header", "Data : TFTP"}));

  // The transfer runs between ephemeral ports; the firewall's record of it
  // names the server's port 69, and that is what selects the TFTP decoder.
  const auto transferRecord = [&](std::size_t index) {
    PacketRecord record = recordForFrame(frames[index]);
    record.remotePort = 69;
    return record;
  };
  const DecodeResult plain = decoder.decodePacket(recordForFrame(frames[1]));
  EXPECT_FALSE(findNode(plain.tree, "Data : TFTP"));
  EXPECT_TRUE(findNode(plain.tree, "Data : 516 Bytes"));
  EXPECT_EQ(tftpLabels(transferRecord(1), result),
            (std::vector<std::string>{"Opcode : 3 ( Data )", "Block Number : 1", "Data : 512 Bytes"}));
  EXPECT_EQ(result.payloadText.size(), 512u);
  EXPECT_EQ(result.payloadBase, 46u);
  // Ethernet padding after the acknowledgment is not taken for data.
  EXPECT_EQ(tftpLabels(transferRecord(2), result),
            (std::vector<std::string>{"Opcode : 4 ( Acknowledgment )", "Block Number : 1"}));
  EXPECT_EQ(tftpLabels(transferRecord(5), result),
            (std::vector<std::string>{"Opcode : 3 ( Data )", "Block Number : 3", "Data : 105 Bytes"}));
  EXPECT_EQ(result.payloadText.size(), 105u);
  EXPECT_EQ(tftpLabels(transferRecord(6), result),
            (std::vector<std::string>{"Opcode : 4 ( Acknowledgment )", "Block Number : 3"}));
}

}  // namespace
}  // namespace qv
