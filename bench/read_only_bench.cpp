// Times the log readers alone on whole files: one read into memory, the
// parse, and a visit of every record in ring order. The files come from the
// environment (see bench/README.md):
//   QV_BENCH_TRAFFIC_LOG=... QV_BENCH_PACKET_LOG=... read_only_bench

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "logdata/log_file.h"
#include "logdata/packet_log_reader.h"
#include "logdata/ring_order.h"
#include "logdata/traffic_log_reader.h"

namespace {

const char* pathFromEnvironment(benchmark::State& state, const char* variable) {
  const char* path = std::getenv(variable);
  if (path == nullptr || *path == '\0') state.SkipWithError((std::string(variable) + " is not set").c_str());
  return path;
}

void readTrafficLog(benchmark::State& state) {
  const char* path = pathFromEnvironment(state, "QV_BENCH_TRAFFIC_LOG");
  if (path == nullptr) return;
  for (auto _ : state) {
    qv::TrafficLogFileRead file = qv::readTrafficLogFile(path);
    if (!file.opened) {
      state.SkipWithError(file.errorText.c_str());
      return;
    }
    const qv::TrafficLog& log = file.log;
    std::size_t visited = 0;
    qv::forEachInRingOrder(log.records.size(), log.newestIndex, [&](std::size_t index) {
      visited += log.records[index].localPort != 0;
    });
    benchmark::DoNotOptimize(visited);
    state.counters["records"] = static_cast<double>(log.records.size());
  }
}

void readPacketLog(benchmark::State& state) {
  const char* path = pathFromEnvironment(state, "QV_BENCH_PACKET_LOG");
  if (path == nullptr) return;
  for (auto _ : state) {
    const qv::FileReadResult file = qv::readWholeFile(path);
    if (!file.opened) {
      state.SkipWithError(file.errorText.c_str());
      return;
    }
    const qv::PacketLog log = qv::parsePacketLog(file.buffer);
    std::size_t visited = 0;
    qv::forEachInRingOrder(log.records.size(), log.newestIndex, [&](std::size_t index) {
      visited += log.records[index].tcpFlags != 0;
    });
    benchmark::DoNotOptimize(visited);
    state.counters["records"] = static_cast<double>(log.records.size());
  }
}

}  // namespace

// One read a run: read_bench.sh times the whole process, as it times qvlog.
BENCHMARK(readTrafficLog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(readPacketLog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
