// The vendor table's lookup alone, and the whole per-address lookup the
// decoder makes (load the library, look up, unload), twice per frame.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "decode/vendor_lookup.h"
#include "platform/dynamic_library.h"
#include "vendtab/vendtab.h"

namespace {

void BM_GetVendorFromMac(benchmark::State& state) {
  const qv::platform::DynamicLibrary library(qv::vendorLibraryPath());
  const auto getVendor =
      reinterpret_cast<qv::vendtab::GetVendorFromMacFunction>(library.findSymbol(qv::vendtab::kExportName));
  if (getVendor == nullptr) {
    state.SkipWithError("vendor library not found beside the benchmark");
    return;
  }
  std::uint32_t key = 0x12345;
  for (auto _ : state) {
    // A cheap scramble over the whole key space, so that hits and misses mix.
    key = (key * 1103515245u + 12345u) & 0xFFFFFFu;
    benchmark::DoNotOptimize(getVendor(key));
  }
}
BENCHMARK(BM_GetVendorFromMac);

void BM_LookupVendorLoadingTheLibraryEachTime(benchmark::State& state) {
  if (qv::lookupVendor("00-a0-c9").empty()) {
    state.SkipWithError("vendor library not found beside the benchmark");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(qv::lookupVendor("00-a0-c9"));
}
BENCHMARK(BM_LookupVendorLoadingTheLibraryEachTime);

}  // namespace

BENCHMARK_MAIN();
