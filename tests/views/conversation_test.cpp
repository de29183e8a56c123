#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_test_records.h"
#include "views/conversation.h"

namespace qv {
namespace {

using test::packet;

// Each packet's name address labels it, so that lists read as names.
PacketRecord named(PacketRecord record, const char* name) {
  record.nameAddress = name;
  return record;
}

std::vector<std::string> names(const ViewerPackets& packets) {
  std::vector<std::string> result;
  for (const PacketRecord& record : packets.packets) result.push_back(record.nameAddress.str());
  return result;
}

TEST(Conversation, TcpTakesTheSameAddressesPortsAndProtocolBottomToTop) {
  const PacketShownList shown = test::shownPackets({
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025), "a"),
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1026), "other local port"),
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025), "b"),
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 80, 1025), "udp"),
      named(packet("TCP", "10.0.0.2", "192.168.0.2", 80, 1025), "other remote"),
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025), "c"),
  });
  const ViewerPackets opened = conversationOf(shown, 2);
  EXPECT_EQ(names(opened), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(opened.currentIndex, 1u);
  EXPECT_THROW(conversationOf(shown, 6), std::out_of_range);
}

TEST(Conversation, IcmpTakesEveryProtocolOfTheRemoteAddress) {
  const PacketShownList shown = test::shownPackets({
      named(packet("ICMP", "10.0.0.1", "192.168.0.2", 0, 8), "ping"),
      named(packet("TCP", "10.0.0.1", "192.168.0.9", 80, 1025), "tcp"),
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 53, 1025), "udp"),
      named(packet("ICMP", "10.0.0.3", "192.168.0.2", 0, 8), "elsewhere"),
  });
  const ViewerPackets opened = conversationOf(shown, 0);
  EXPECT_EQ(names(opened), (std::vector<std::string>{"udp", "tcp", "ping"}));
  EXPECT_EQ(opened.currentIndex, 2u);
}

TEST(Conversation, UdpMatchesEitherPortAndDhcpFollowsTheLocalAddress) {
  const PacketShownList udp = test::shownPackets({
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 53, 1025), "p"),
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 53, 2000), "same remote port"),
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 54, 1025), "same local port"),
      named(packet("UDP", "10.0.0.1", "192.168.0.2", 1025, 53), "swapped ports"),
  });
  EXPECT_EQ(names(conversationOf(udp, 0)), (std::vector<std::string>{"same local port", "same remote port", "p"}));

  const PacketShownList dhcp = test::shownPackets({
      named(packet("UDP", "0.0.0.0", "192.168.0.2", 67, 68), "request"),
      named(packet("UDP", "192.168.0.1", "192.168.0.2", 67, 68), "offer"),
      named(packet("UDP", "192.168.0.1", "192.168.0.2", 68, 67), "remote port is our local port"),
      named(packet("UDP", "192.168.0.1", "192.168.0.3", 67, 68), "other host"),
      named(packet("TCP", "192.168.0.1", "192.168.0.2", 67, 68), "tcp"),
  });
  const ViewerPackets opened = conversationOf(dhcp, 0);
  EXPECT_EQ(names(opened), (std::vector<std::string>{"remote port is our local port", "offer", "request"}));
  EXPECT_EQ(opened.currentIndex, 2u);
}

TEST(Conversation, IgmpOtherProtocolsAndIdenticalTwins) {
  const PacketShownList shown = test::shownPackets({
      named(packet("IGMP", "224.0.0.22", "192.168.0.2", 0, 0), "join"),
      named(packet("IGMP", "224.0.0.22", "192.168.0.5", 0, 0), "other host"),
      named(packet("ARP", "224.0.0.22", "192.168.0.2", 0, 0), "arp"),
      named(packet("ARP", "224.0.0.22", "192.168.0.2", 0, 0), "arp twin"),
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025), "first"),
      named(packet("TCP", "10.0.0.1", "192.168.0.2", 80, 1025), "second"),
  });
  EXPECT_EQ(names(conversationOf(shown, 0)), (std::vector<std::string>{"other host", "join"}));
  const ViewerPackets alone = conversationOf(shown, 2);
  EXPECT_EQ(names(alone), (std::vector<std::string>{"arp"}));
  EXPECT_EQ(alone.currentIndex, 0u);
  // The viewer starts on the clicked packet itself, not on an equal one.
  const ViewerPackets twins = conversationOf(shown, 4);
  EXPECT_EQ(names(twins), (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(twins.currentIndex, 1u);
}

TEST(SelectedPackets, HighestRowFirstWhateverTheSelectionOrder) {
  std::vector<PacketRecord> packets;
  for (int row = 0; row < 10; ++row) {
    packets.push_back(named(packet("TCP", "10.0.0.1", "l", 1, 1), std::to_string(row).c_str()));
  }
  const PacketShownList shown = test::shownPackets(packets);
  const std::vector<RowIndex> selection = {3, 9, 7, 9, 42};
  const ViewerPackets opened = selectedPackets(shown, selection);
  EXPECT_EQ(names(opened), (std::vector<std::string>{"9", "7", "3"}));
  EXPECT_EQ(opened.currentIndex, 0u);
}

}  // namespace
}  // namespace qv
