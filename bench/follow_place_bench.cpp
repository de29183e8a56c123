// The core part of one follow cycle on a million events with one appended:
// the new read's digests and carrying the place (selection, top row) over.
// The previous read's digests are kept from the cycle before.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "views/follow_place.h"

namespace {

std::vector<qv::TrafficRecord> events(std::size_t count) {
  std::vector<qv::TrafficRecord> made(count);
  for (std::size_t i = 0; i < count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "2024/03/%02zu %02zu:%02zu:%02zu", 1 + i / 86400 % 28, i / 3600 % 24,
                  i / 60 % 60, i % 60);
    made[i].time = made[i].beginTime = made[i].endTime = qv::Text(text);
    std::snprintf(text, sizeof text, "10.%zu.%zu.%zu", i >> 16 & 255, i >> 8 & 255, i & 255);
    made[i].remoteIp = qv::Text(text);
    made[i].localIp = qv::Text("192.168.1.10");
    made[i].ruleName = qv::Text("Block_all");
    made[i].applicationName = qv::Text("C:\\Program Files\\Mozilla Firefox\\firefox.exe");
    made[i].remotePort = static_cast<std::uint16_t>(i * 7);
    made[i].localPort = static_cast<std::uint16_t>(i * 13);
    made[i].flags = qv::RecordFlag::kBlocked | qv::RecordFlag::kTcp;
    made[i].occurrences = 1;
  }
  return made;
}

void BM_FollowCycleOneAppended(benchmark::State& state) {
  const std::vector<qv::TrafficRecord> after = events(1'000'001);
  const std::vector<qv::TrafficRecord> shownBefore(after.begin() + 1, after.end());  // newest first
  const std::vector<std::uint64_t> before = qv::eventDigests(shownBefore);
  const qv::ListPlace place{{10, 500'000, 999'999}, 250'000, 500'000};
  for (auto _ : state) {
    const std::vector<std::uint64_t> digests = qv::eventDigests(after);
    const qv::KeptPlace kept = qv::keepPlace(before, place, digests);
    if (kept.newRows.size() != 1 || kept.selectedRows.size() != 3) state.SkipWithError("place not kept");
    benchmark::DoNotOptimize(kept);
  }
}
BENCHMARK(BM_FollowCycleOneAppended)->Unit(benchmark::kMillisecond)->Iterations(5);

// The two halves of the cycle on their own.
void BM_DigestsOfMillionEvents(benchmark::State& state) {
  const std::vector<qv::TrafficRecord> rows = events(1'000'000);
  for (auto _ : state) benchmark::DoNotOptimize(qv::eventDigests(rows));
}
BENCHMARK(BM_DigestsOfMillionEvents)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KeepPlaceMillionEvents(benchmark::State& state) {
  const std::vector<std::uint64_t> after = qv::eventDigests(events(1'000'001));
  const std::vector<std::uint64_t> before(after.begin() + 1, after.end());
  const qv::ListPlace place{{10, 500'000, 999'999}, 250'000, 500'000};
  for (auto _ : state) benchmark::DoNotOptimize(qv::keepPlace(before, place, after));
}
BENCHMARK(BM_KeepPlaceMillionEvents)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
