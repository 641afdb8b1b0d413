// Interning and loading names that cluster under the symbol table's hash:
// titles define thousands of functions named like "fn-1234", which differ
// only in their last characters.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/runtime.h"
#include "shell/modules.h"
#include "core/symbols.h"
#include "eval/toplevel.h"
#include "reader/reader.h"

using namespace orvane;

namespace {

constexpr int kDefinitions = 10550;

MemoryConfig bench_config() {
  MemoryConfig c;
  c.nodes = 2000000;
  c.symbols = 32749;
  c.total = 256u << 20;
  return c;
}

std::vector<std::string> clustered_names() {
  std::vector<std::string> names;
  for (int i = 0; i < kDefinitions; ++i) names.push_back("fn-" + std::to_string(i));
  return names;
}

// About 1 MB: the same definitions as bench/load_source writes, in one form.
std::string clustered_source() {
  std::string text = "(begin\n";
  for (int i = 0; i < kDefinitions; ++i) {
    std::string n = std::to_string(i);
    std::string prev = std::to_string(i == 0 ? kDefinitions - 1 : i - 1);
    text += "(define (fn-" + n + " _a _b)\n  (let ((_c (+ _a " + n + ")))\n    (if (< _c _b) (fn-" + prev +
            " _b _a) (list _c 'tag-" + std::to_string(i % 97) + "))))\n";
  }
  return text + ")";
}

// A fresh table each iteration; the items are the names interned.
void BM_InternClusteredNames(benchmark::State& state) {
  const auto names = clustered_names();
  for (auto _ : state) {
    state.PauseTiming();
    {
      Runtime rt(bench_config(), register_all_modules);
      state.ResumeTiming();
      for (const auto& name : names) benchmark::DoNotOptimize(intern(name));
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_InternClusteredNames)->Unit(benchmark::kMillisecond);

// Every name present: the lookups the reader makes for each occurrence.
void BM_FindClusteredNames(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  const auto names = clustered_names();
  for (const auto& name : names) intern(name);
  for (auto _ : state)
    for (const auto& name : names) benchmark::DoNotOptimize(find_symbol(name));
  state.SetItemsProcessed(state.iterations() * kDefinitions);
}
BENCHMARK(BM_FindClusteredNames)->Unit(benchmark::kMillisecond);

// Reading and evaluating the definitions into a fresh run-time.
void BM_LoadClusteredSource(benchmark::State& state) {
  const std::string text = clustered_source();
  for (auto _ : state) {
    state.PauseTiming();
    {
      Runtime rt(bench_config(), register_all_modules);
      state.ResumeTiming();
      TopLevelResult r = eval_toplevel(read_from_text(text));
      if (!r.completed) state.SkipWithError("the source did not load");
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadClusteredSource)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
