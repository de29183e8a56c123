#include "views/port_statistics.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <unordered_map>

namespace qv {

namespace {

std::string_view protocolKey(std::uint8_t flags) {
  if ((flags & RecordFlag::kUdp) != 0) return " UDP";
  if ((flags & RecordFlag::kIcmp) != 0) return " ICMP";
  return " TCP";
}

void appendDecimal(std::string& text, std::uint64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, result.ptr);
}

// "%6.2f", without the locale's say in the decimal point.
void appendRatio(std::string& text, double percent) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, percent, std::chars_format::fixed, 2);
  const std::size_t length = static_cast<std::size_t>(result.ptr - digits);
  if (length < 6) text.append(6 - length, ' ');
  text.append(digits, length);
}

}  // namespace

std::vector<PortCount> rankBlockedIncomingPorts(TrafficRows shown) {
  constexpr std::uint8_t kBlockedIncoming = RecordFlag::kBlocked | RecordFlag::kIncoming;
  std::vector<PortCount> table;
  // Key: the protocol text's first byte after the blank (T, U, I) and the port.
  std::unordered_map<std::uint32_t, std::size_t> positions;
  for (const TrafficRecord& row : shown) {
    if ((row.flags & kBlockedIncoming) != kBlockedIncoming) continue;
    const std::string_view protocol = protocolKey(row.flags);
    const std::uint32_t id = (static_cast<std::uint32_t>(static_cast<unsigned char>(protocol[1])) << 16) | row.localPort;
    const auto [found, inserted] = positions.try_emplace(id, table.size());
    if (inserted) {
      PortCount entry;
      entry.key.assign(protocol);
      entry.key.push_back('\t');
      appendDecimal(entry.key, row.localPort);
      table.push_back(std::move(entry));
    }
    table[found->second].count += row.occurrences;
  }
  std::stable_sort(table.begin(), table.end(),
                   [](const PortCount& a, const PortCount& b) { return a.count > b.count; });
  return table;
}

std::string portStatisticsText(TrafficRows shown) {
  const std::vector<PortCount> ranking = rankBlockedIncomingPorts(shown);
  std::uint64_t total = 0;
  for (const PortCount& entry : ranking) total += entry.count;
  std::string text = "[Proto]\t[Port]\t[Count]\t[ratio(%)]\r\n";
  for (std::size_t i = 0; i < ranking.size(); ++i) {
    const PortCount& entry = ranking[i];
    text += entry.key;
    text.push_back('\t');
    appendDecimal(text, entry.count);
    text.push_back('\t');
    // Events logged with no occurrences at all leave nothing to divide by.
    appendRatio(text, total == 0 ? 0.0 : static_cast<double>(entry.count) * 100.0 / static_cast<double>(total));
    if (i + 1 < ranking.size()) text += "\r\n";
  }
  return text;
}

}  // namespace qv
