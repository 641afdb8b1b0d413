// The collector's costs: one full collection of a large live world, and
// allocation throughput with the collections it causes.
//
//   build/bench_collector_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <string>

#include "core/collector.h"
#include "core/memory.h"
#include "core/runtime.h"
#include "shell/modules.h"

namespace orvane {
namespace {

MemoryConfig large_config() {
  MemoryConfig c;
  c.symbols = 32768;
  c.nodes = 1'500'000;
  c.heap = 12u << 20;
  c.reserve = 0;
  c.node_share = 0;
  c.total = 40u << 20;
  return c;
}

// One million live nodes in lists of a thousand (the cars of a spine), and
// 4 MB of live strings of 64 bytes.
void BM_FullCollection(benchmark::State& state) {
  Runtime runtime(large_config(), register_all_modules);
  GcRoot lists, strings;
  for (int l = 0; l < 1000; ++l) {
    Value chain = kNil;
    for (int i = 0; i < 999; ++i) chain = cons(make_fixnum(i), chain);
    lists.set(cons(chain, lists.get()));
  }
  const std::string text(63, 's');
  for (int i = 0; i < (4 << 20) / 64; ++i) strings.set(cons(make_string(text), strings.get()));
  collect();
  std::uint32_t live_nodes = g_mem.node_count - g_mem.free_count;
  for (auto _ : state) collect();
  state.counters["live_nodes"] = live_nodes;
  state.counters["live_indirect_MB"] = static_cast<double>(g_mem.heap_alloc - g_mem.heap_start) / (1 << 20);
}
BENCHMARK(BM_FullCollection)->Unit(benchmark::kMillisecond);

// Short-lived pairs; every collection is included in the time.
void BM_ConsWithCollections(benchmark::State& state) {
  MemoryConfig c = large_config();
  c.nodes = static_cast<std::uint32_t>(state.range(0));
  Runtime runtime(c, register_all_modules);
  constexpr std::int64_t kPairsPerIteration = 1'000'000;
  std::uint64_t start = collector_stats().collections;
  for (auto _ : state) {
    Value last = kNil;
    for (std::int64_t i = 0; i < kPairsPerIteration; ++i) last = cons(make_fixnum(static_cast<std::int32_t>(i)), kNil);
    benchmark::DoNotOptimize(last);
  }
  state.SetItemsProcessed(state.iterations() * kPairsPerIteration);
  state.counters["collections"] = static_cast<double>(collector_stats().collections - start);
}
BENCHMARK(BM_ConsWithCollections)->Arg(100'000)->Arg(500'000)->Arg(1'500'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
