#include "views/port_chart_bars.h"

#include "views/port_statistics.h"

namespace qv {

std::vector<PortChartBar> portChartBars(TrafficRows shown, std::size_t limit) {
  const std::vector<PortCount> ranking = rankBlockedIncomingPorts(shown);
  std::uint64_t total = 0;
  for (const PortCount& entry : ranking) total += entry.count;
  std::vector<PortChartBar> bars;
  for (std::size_t i = 0; i < ranking.size() && i < limit; ++i) {
    const PortCount& entry = ranking[i];
    // The key is the protocol after a blank, a TAB, then the port.
    const std::size_t tab = entry.key.find('\t');
    PortChartBar bar;
    bar.protocol = entry.key.substr(1, tab == std::string::npos ? std::string::npos : tab - 1);
    if (tab != std::string::npos) bar.port = entry.key.substr(tab + 1);
    bar.count = entry.count;
    bar.percent = total == 0 ? 0.0 : static_cast<double>(entry.count) * 100.0 / static_cast<double>(total);
    bars.push_back(std::move(bar));
  }
  return bars;
}

}  // namespace qv
