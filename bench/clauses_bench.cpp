// Naive reverse of a 30-element list by clauses: 496 logical inferences per
// run, reported as logical inferences per second.
#include <benchmark/benchmark.h>

#include "core/runtime.h"
#include "shell/modules.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "reader/reader.h"

using namespace orvane;

namespace {

constexpr const char* kProgram = R"(
(defclause (app () _l _l))
(defclause (app (_h . _t) _l (_h . _r)) (app _t _l _r))
(defclause (nrev () ()))
(defclause (nrev (_h . _t) _r) (nrev _t _rt) (app _rt (list _h) _r))
(define (nrev30)
  (nrev '(1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20
          21 22 23 24 25 26 27 28 29 30) _r))
)";

void BM_NaiveReverse30(benchmark::State& state) {
  Runtime rt(MemoryConfig{}, register_all_modules);
  Value program = parse_text(kProgram);
  for (Value l = program; is_pair(l); l = cdr(l)) eval_toplevel(car(l));
  Value call = read_from_text("(nrev30)");
  for (auto _ : state) {
    TopLevelResult r = eval_toplevel(call);
    if (!r.completed || r.value == kNil) state.SkipWithError("nrev failed");
  }
  state.counters["LIPS"] = benchmark::Counter(496.0 * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
}
BENCHMARK(BM_NaiveReverse30);

}  // namespace

BENCHMARK_MAIN();
