// The library's hot paths: string-append of two 100-character strings and
// hash-ref, each called as Lisp calls a primitive.
#include <benchmark/benchmark.h>

#include <string>

#include "core/runtime.h"
#include "shell/modules.h"
#include "core/symbols.h"
#include "eval/eval.h"

using namespace orvane;

namespace {

MemoryConfig bench_config() {
  MemoryConfig c;
  c.nodes = 1000000;
  c.total = 128u << 20;
  return c;
}

void BM_StringAppend(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  Value append = symbol_global(intern("string-append"));
  Value a = make_string(std::string(100, 'a'));
  Value b = make_string(std::string(100, 'b'));
  set_symbol_global(intern("bench-a"), a);
  set_symbol_global(intern("bench-b"), b);
  for (auto _ : state) {
    // The collector reclaims the results as the indirect area fills.
    // a and b stay valid: Values name nodes, which compaction never moves.
    Value s = call(append, {a, b});
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_StringAppend);

void BM_HashRef(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  Value set = symbol_global(intern("hash-set!"));
  Value ref = symbol_global(intern("hash-ref"));
  Value table = call(symbol_global(intern("new-hash")), {});
  set_symbol_global(intern("bench-table"), table);
  Value key = intern("bench-key");
  call(set, {table, key, make_fixnum(42)});
  for (auto _ : state) {
    Value v = call(ref, {table, key, kNil});
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_HashRef);

}  // namespace

BENCHMARK_MAIN();
