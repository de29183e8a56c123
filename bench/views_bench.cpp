#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "filter/add_to_filter_list.h"
#include "filter/filter_list.h"
#include "filter/quick_filter.h"
#include "filter/quick_filter_run.h"
#include "filter/filter_list_index.h"
#include "views/packet_sort.h"
#include "views/pattern_merge.h"
#include "views/read_operation.h"
#include "views/traffic_sort.h"

namespace {

constexpr std::size_t kEvents = 1000000;

std::string timeText(std::uint64_t second) {
  char text[32];
  std::snprintf(text, sizeof text, "2024/%.2u/%.2u %.2u:%.2u:%.2u", static_cast<unsigned>(1 + second / 2419200 % 12),
                static_cast<unsigned>(1 + second / 86400 % 28), static_cast<unsigned>(second / 3600 % 24),
                static_cast<unsigned>(second / 60 % 60), static_cast<unsigned>(second % 60));
  return text;
}

// The shown list of a read of QV_BENCH_TRAFFIC_LOG (a log written by
// logs_gen), when that is set.
std::optional<std::vector<qv::TrafficRecord>> trafficLogEvents() {
  const char* path = std::getenv("QV_BENCH_TRAFFIC_LOG");
  if (path == nullptr) return std::nullopt;
  qv::TrafficLogState state;
  const qv::ReadResult read = qv::readTrafficLog(state, path, qv::FilterCriteria{}, 0);
  if (read.status != qv::ReadStatus::kShown) {
    std::fprintf(stderr, "cannot read %s: %s\n", path, read.message.c_str());
    std::exit(1);
  }
  const qv::TrafficRows rows = state.shown.rows();
  return std::vector<qv::TrafficRecord>(rows.begin(), rows.end());
}

// The events of the log named by QV_BENCH_TRAFFIC_LOG; without it, a month of
// made-up events, newest first as a filter run leaves them: a few thousand
// remote hosts, a few dozen applications and rules, mostly blocked probes of
// a handful of ports, and bursts of events within one second.
const std::vector<qv::TrafficRecord>& trafficEvents() {
  static const std::vector<qv::TrafficRecord> events = [] {
    if (auto fromLog = trafficLogEvents()) return std::move(*fromLog);
    std::mt19937 random(1);
    std::vector<qv::TrafficRecord> result(kEvents);
    std::uint64_t second = 2600000;
    static constexpr std::uint16_t kProbedPorts[] = {135, 137, 139, 445, 1433, 3389, 80, 21, 22, 53};
    static constexpr std::uint8_t kFlags[] = {
        qv::RecordFlag::kBlocked | qv::RecordFlag::kIncoming | qv::RecordFlag::kTcp,
        qv::RecordFlag::kBlocked | qv::RecordFlag::kIncoming | qv::RecordFlag::kUdp,
        qv::RecordFlag::kAllowed | qv::RecordFlag::kOutgoing | qv::RecordFlag::kTcp,
        qv::RecordFlag::kAllowed | qv::RecordFlag::kOutgoing | qv::RecordFlag::kUdp,
        qv::RecordFlag::kBlocked | qv::RecordFlag::kIncoming | qv::RecordFlag::kIcmp,
        qv::RecordFlag::kAllowed | qv::RecordFlag::kIncoming | qv::RecordFlag::kTcp,
    };
    for (std::size_t i = 0; i < kEvents; ++i) {
      if (random() % 3 == 0) second -= 1 + random() % 4;
      qv::TrafficRecord& event = result[i];
      event.flags = kFlags[random() % 6];
      const unsigned host = random() % 5000;
      event.remoteIp = std::to_string(10 + host % 200) + "." + std::to_string(host / 200) + ".0." +
                       std::to_string(random() % 256);
      event.localIp = random() % 10 == 0 ? "10.0.0.5" : "192.168.0.2";
      event.remotePort = static_cast<std::uint16_t>((event.flags & qv::RecordFlag::kOutgoing) != 0
                                                        ? kProbedPorts[random() % 10]
                                                        : 1024 + random() % 64000);
      event.localPort = static_cast<std::uint16_t>((event.flags & qv::RecordFlag::kOutgoing) != 0
                                                       ? 1024 + random() % 64000
                                                       : kProbedPorts[random() % 10]);
      event.applicationName = "C:\\Program Files\\Vendor " + std::to_string(random() % 40) + "\\service.exe";
      event.ruleName = random() % 2 ? "Block_all" : "GUI%GUICONFIG#SRULE@ADVRULE" + std::to_string(random() % 20);
      event.nameAddress = random() % 4 == 0 ? "host" + std::to_string(host) + ".example.net" : "";
      event.time = timeText(second);
      event.endTime = event.time;
      event.beginTime = timeText(second - random() % 600);
      event.occurrences = 1 + random() % 3;
    }
    return result;
  }();
  return events;
}

// The events as the read's record list, and a shown list of all of them in that order.
const qv::TrafficRecordList& trafficRecords() {
  static const qv::TrafficRecordList records = std::make_shared<const std::vector<qv::TrafficRecord>>(trafficEvents());
  return records;
}

qv::TrafficShownList allTrafficShown() {
  std::vector<qv::RecordIndex> order(trafficRecords()->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<qv::RecordIndex>(i);
  return qv::TrafficShownList(trafficRecords(), std::move(order));
}

void BM_SortTraffic(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    qv::TrafficShownList shown = allTrafficShown();
    state.ResumeTiming();
    qv::sortTrafficRows(shown, column, qv::SortDirection::kFirstClick);
    benchmark::DoNotOptimize(shown.order().data());
  }
}
BENCHMARK(BM_SortTraffic)->DenseRange(0, 13)->Unit(benchmark::kMillisecond)->Iterations(2);

// The records of a read of QV_BENCH_PACKET_LOG, when that is set; without it,
// packets made from the traffic events.
void BM_SortPackets(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  static const qv::PacketRecordList records = [] {
    if (const char* path = std::getenv("QV_BENCH_PACKET_LOG")) {
      qv::PacketLogState log;
      const qv::ReadResult read = qv::readPacketLog(log, path, qv::FilterCriteria{}, 0);
      if (read.status != qv::ReadStatus::kShown) {
        std::fprintf(stderr, "cannot read %s: %s\n", path, read.message.c_str());
        std::exit(1);
      }
      return log.records;
    }
    static constexpr std::string_view kProtocols[] = {"TCP", "UDP", "ICMP", "IGMP", "ARP"};
    auto packets = std::make_shared<std::vector<qv::PacketRecord>>();
    packets->reserve(kEvents);
    std::size_t i = 0;
    for (const qv::TrafficRecord& event : trafficEvents()) {
      qv::PacketRecord packet;
      packet.time = event.time.str() + ".123";
      packet.flags = event.flags & 0x78;
      packet.protocol = kProtocols[i++ % 5];
      packet.remoteIp = event.remoteIp.text();
      packet.localIp = event.localIp.text();
      packet.remotePort = event.remotePort;
      packet.localPort = event.localPort;
      packet.applicationName = event.applicationName.text();
      packet.nameAddress = event.nameAddress.text();
      packet.tcpFlags = static_cast<std::uint8_t>(event.remotePort);
      packets->push_back(std::move(packet));
    }
    return qv::PacketRecordList(std::move(packets));
  }();
  std::vector<qv::RecordIndex> order(records->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<qv::RecordIndex>(i);
  for (auto _ : state) {
    qv::PacketShownList shown(records, order);
    qv::sortPacketRows(shown, column, qv::SortDirection::kFirstClick);
    benchmark::DoNotOptimize(shown.order().data());
  }
}
BENCHMARK(BM_SortPackets)->DenseRange(0, 10)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_MergeEventPatterns(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    qv::TrafficShownList shown = allTrafficShown();
    state.ResumeTiming();
    qv::mergeEventPatterns(shown);
    state.counters["rows"] = static_cast<double>(shown.size());
    state.PauseTiming();
    shown = {};
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MergeEventPatterns)->Unit(benchmark::kMillisecond)->Iterations(3);

// A filter run over the whole log, without and with a 50-entry filter list
// of entries made from events that do occur: patterns only (argument 1), or
// patterns and single fields in turn (argument 2).
void BM_TrafficFilterRun(benchmark::State& state) {
  const std::vector<qv::TrafficRecord>& records = trafficEvents();
  qv::FilterList list;
  static constexpr qv::AddToFilterListCommand kCommands[] = {
      qv::AddToFilterListCommand::kPattern, qv::AddToFilterListCommand::kRemoteIp,
      qv::AddToFilterListCommand::kLocalPort, qv::AddToFilterListCommand::kApplicationName,
      qv::AddToFilterListCommand::kRemotePort};
  for (std::size_t i = 0; state.range(0) != 0 && i < 50; ++i) {
    const qv::TrafficRecord& source = records[i * 9973 % records.size()];
    list.append(qv::makeFilterEntry(source, state.range(0) == 1 ? kCommands[0] : kCommands[i % 5]));
  }
  const qv::QuickFilter filter(qv::FilterCriteria{}, qv::TimeWindow{});
  const qv::FilterListIndex index(list);
  qv::TrafficExclusion excluded;
  if (!list.empty()) excluded = [&index](const qv::TrafficRecord& record) { return index.isExcluded(record); };
  for (auto _ : state) {
    std::vector<qv::RecordIndex> shown =
        qv::runTrafficFilter(records, static_cast<std::int32_t>(records.size() - 1), filter, excluded);
    state.counters["shown"] = static_cast<double>(shown.size());
    benchmark::DoNotOptimize(shown.data());
  }
}
BENCHMARK(BM_TrafficFilterRun)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
