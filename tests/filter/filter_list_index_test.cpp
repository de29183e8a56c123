#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/filter_list_index.h"

namespace qv {
namespace {

using namespace RecordFlag;

std::string pick(std::mt19937& random, std::initializer_list<const char*> pool) {
  return *(pool.begin() + std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random));
}

TrafficRecord randomEvent(std::mt19937& random) {
  TrafficRecord event;
  event.flags = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
  event.remoteIp = pick(random, {"10.0.0.1", "10.0.0.2", "All", ""});
  event.localIp = pick(random, {"192.168.0.2", "All"});
  event.applicationName = pick(random, {"C:\\a.exe", "C:\\a much longer application path\\b.exe", "All/App"});
  event.ruleName = pick(random, {"Block_all", "Allow", "All/Rule"});
  event.remotePort = static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 3)(random) * 20);
  event.localPort = static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 3)(random) * 20);
  return event;
}

// Entries of every kind the lists hold: added by field or pattern, and
// hand-edited ones with some flags, fields and port markers.
FilterEntry randomEntry(std::mt19937& random) {
  const int kind = std::uniform_int_distribution<int>(0, 8)(random);
  const TrafficRecord source = randomEvent(random);
  if (kind < 7) return makeFilterEntry(source, kAddToFilterListItems[static_cast<std::size_t>(kind)].command);
  FilterEntry entry = blankFilterEntry();
  entry.flags = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
  if (kind == 8) entry.flags = 0xFF;
  if (random() % 2) entry.remoteIp = source.remoteIp;
  if (random() % 3 == 0) entry.applicationName = source.applicationName;
  entry.remotePort = source.remotePort;
  entry.localPort = source.localPort;
  entry.setPortMarker(pick(random, {"", "RPTN", "LPTN", "RPTNLPTN", "xLPTNx"}));
  return entry;
}

TEST(FilterListIndex, AnswersAsTheListDoes) {
  std::mt19937 random(50);
  for (int round = 0; round < 300; ++round) {
    FilterList list;
    const int entries = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < entries; ++i) list.append(randomEntry(random));
    const FilterListIndex index(list);
    for (int i = 0; i < 200; ++i) {
      const TrafficRecord event = randomEvent(random);
      ASSERT_EQ(index.isExcluded(event), list.isExcluded(event)) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace qv
