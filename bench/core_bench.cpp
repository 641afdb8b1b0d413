// The core's hot paths: cons, interning, a primitive call, a closure call.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/primitives.h"
#include "core/runtime.h"
#include "shell/modules.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "eval/toplevel.h"

using namespace orvane;

namespace {

MemoryConfig bench_config() {
  MemoryConfig c;
  c.nodes = 2000000;
  c.symbols = 65521;
  c.total = 256u << 20;
  return c;
}

Value var(const char* name) {
  Value v = cons(make_fixnum(0), intern(name));
  return Value::make(tag::variable, v.payload());
}

void BM_Cons(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  std::uint32_t n = 0;
  Value keep = kNil;
  for (auto _ : state) {
    Value c = cons(make_fixnum(1), kNil);
    benchmark::DoNotOptimize(c);
    // Reset the free list from time to time so that the store never runs out
    // (the collector's own throughput is measured elsewhere).
    if (++n == 1000000) {
      state.PauseTiming();
      rt.~Runtime();
      new (&rt) Runtime(bench_config(), register_all_modules);
      n = 0;
      state.ResumeTiming();
    }
  }
  benchmark::DoNotOptimize(keep);
}
BENCHMARK(BM_Cons);

void BM_InternExisting(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  intern("an-existing-symbol-name");
  for (auto _ : state) benchmark::DoNotOptimize(intern("an-existing-symbol-name"));
}
BENCHMARK(BM_InternExisting);

void BM_InternNew(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  // Names like a program's identifiers: random letters. (Names that differ
  // only in their last characters crowd into a few entries with this hash.)
  std::vector<std::string> names;
  std::uint32_t seed = 1;
  for (int i = 0; i < 50000; ++i) {
    std::string name;
    for (int k = 0; k < 12; ++k) {
      seed = seed * 1103515245u + 12345u;
      name += static_cast<char>('a' + (seed >> 16) % 26);
    }
    names.push_back(name);
  }
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(intern(names[i++ % names.size()]));
}
BENCHMARK(BM_InternNew)->Iterations(50000);

Value second_of(Value, Value b) { return b; }

void BM_PrimitiveCall(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  defprim("bench-second", second_of);
  Value form = list_of({intern("bench-second"), make_fixnum(1), make_fixnum(2)});
  for (auto _ : state) benchmark::DoNotOptimize(eval(form));
}
BENCHMARK(BM_PrimitiveCall);

void BM_ClosureCallTwoArguments(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  Value a = var("a"), b = var("b");
  Value def = list_of({intern("define"), list_of({intern("bench-f"), a, b}), var("b")});
  eval_toplevel(def);
  Value form = list_of({intern("bench-f"), make_fixnum(1), make_fixnum(2)});
  for (auto _ : state) benchmark::DoNotOptimize(eval(form));
}
BENCHMARK(BM_ClosureCallTwoArguments);

}  // namespace

BENCHMARK_MAIN();
