#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "views/port_chart_bars.h"
#include "views/port_statistics.h"

namespace qv {
namespace {

using namespace RecordFlag;

TrafficRecord blockedIncoming(std::uint8_t protocol, std::uint16_t port, std::uint32_t occurrences) {
  TrafficRecord record;
  record.flags = static_cast<std::uint8_t>(kBlocked | kIncoming | protocol);
  record.localPort = port;
  record.occurrences = occurrences;
  return record;
}

TEST(PortChartBars, AreTheStatisticsTextsFirstTenLines) {
  std::vector<TrafficRecord> shown;
  for (std::uint16_t port = 1; port <= 12; ++port) shown.push_back(blockedIncoming(kTcp, port, port));
  shown.push_back(blockedIncoming(kUdp, 53, 7));  // ties with TCP 7, which came first
  shown.push_back(blockedIncoming(kIcmp, 3, 30));
  TrafficRecord allowed = blockedIncoming(kTcp, 80, 1000);
  allowed.flags = kAllowed | kIncoming | kTcp;
  shown.push_back(allowed);

  const std::vector<PortChartBar> bars = portChartBars(shown);
  ASSERT_EQ(bars.size(), 10u);
  EXPECT_EQ(bars[0].protocol, "ICMP");
  EXPECT_EQ(bars[0].port, "3");
  EXPECT_EQ(bars[0].count, 30u);

  // Each bar says what the text's line says, share rounded as the text rounds it.
  const std::string text = portStatisticsText(shown);
  std::size_t at = text.find("\r\n") + 2;
  for (const PortChartBar& bar : bars) {
    const std::size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    char percent[16];
    std::snprintf(percent, sizeof percent, "%6.2f", bar.percent);
    EXPECT_EQ(line, " " + bar.protocol + "\t" + bar.port + "\t" + std::to_string(bar.count) + "\t" + percent);
    at = end + 2;
  }
  EXPECT_EQ(bars[6].protocol, "TCP");
  EXPECT_EQ(bars[6].port, "7");
  EXPECT_EQ(bars[7].protocol, "UDP");

  EXPECT_TRUE(portChartBars({}).empty());
  EXPECT_EQ(portChartBars(shown, 3).size(), 3u);
}

}  // namespace
}  // namespace qv
