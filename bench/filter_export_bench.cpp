#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/filter_list.h"
#include "logdata/log_export.h"

namespace {

std::vector<qv::TrafficRecord> sampleEvents(std::size_t count) {
  std::vector<qv::TrafficRecord> events(count);
  for (std::size_t i = 0; i < count; ++i) {
    qv::TrafficRecord& event = events[i];
    event.flags = static_cast<std::uint8_t>((i % 2 ? qv::RecordFlag::kTcp : qv::RecordFlag::kUdp) |
                                            qv::RecordFlag::kIncoming | qv::RecordFlag::kBlocked);
    event.remoteIp = "10.0." + std::to_string(i % 200) + "." + std::to_string(i % 250);
    event.localIp = "192.168.0.2";
    event.remotePort = static_cast<std::uint16_t>(1024 + i % 60000);
    event.localPort = static_cast<std::uint16_t>(i % 1000);
    event.applicationName = "C:\\Program Files\\Some Vendor\\service" + std::to_string(i % 7) + ".exe";
    event.ruleName = "Block_all";
    event.time = "2004/01/02 03:04:" + std::to_string(10 + i % 50);
    event.beginTime = event.time;
    event.endTime = event.time;
    event.occurrences = 1;
  }
  return events;
}

// A filter run: every event against a list of tens of entries, most of which do not match.
void BM_IsExcluded(benchmark::State& state) {
  const std::vector<qv::TrafficRecord> events = sampleEvents(100000);
  qv::FilterList list;
  for (std::size_t i = 0; i < static_cast<std::size_t>(state.range(0)); ++i) {
    qv::TrafficRecord source = events[i * 7 + 3];
    source.localPort = static_cast<std::uint16_t>(5000 + i);  // not in the sample
    list.append(qv::makeFilterEntry(source, i % 2 ? qv::AddToFilterListCommand::kPattern
                                                  : qv::AddToFilterListCommand::kLocalPort));
  }
  for (auto _ : state) {
    std::size_t excluded = 0;
    for (const qv::TrafficRecord& event : events) excluded += list.isExcluded(event) ? 1 : 0;
    benchmark::DoNotOptimize(excluded);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * events.size()));
}
BENCHMARK(BM_IsExcluded)->Arg(10)->Arg(50);

void BM_TrafficExport(benchmark::State& state) {
  const std::vector<qv::TrafficRecord> events = sampleEvents(20000);
  for (auto _ : state) benchmark::DoNotOptimize(qv::trafficExportImage(events));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * events.size()));
}
BENCHMARK(BM_TrafficExport);

}  // namespace

BENCHMARK_MAIN();
