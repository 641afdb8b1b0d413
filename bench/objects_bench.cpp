// Message sending and slot access: a send of a one-argument method, a slot
// read and a slot write with `self` bound to an instance.
#include <benchmark/benchmark.h>

#include "core/runtime.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "reader/reader.h"
#include "shell/modules.h"

namespace orvane {
namespace {

// A world with a class hierarchy three levels deep and one instance of the
// deepest class; the methods and the slot live in the top class. `echo` and
// `add` are defined by two classes (they live in the tables), `solo` by one.
// `echo` is the bare one-argument method: a send of it costs the send itself
// (lookup, frame, return); `add` also reads a slot and adds.
class ObjectWorld {
 public:
  ObjectWorld() : runtime_(config(), register_all_modules) {
    Value forms = parse_text(R"(
      (define base (new-class 'base))
      (base (defslot count :default 0)
            (define (echo _n) _n)
            (define (add _n) (+ count _n))
            (define (solo _n) _n))
      (define middle (new-class 'middle base))
      (define leaf (new-class 'leaf middle))
      (define other (new-class 'other))
      (other (define (add _n) _n) (define (echo _n) _n))
      (define obj (make-instance leaf))
      (define (plain _n) _n))");
    for (; is_pair(forms); forms = cdr(forms)) eval_toplevel(car(forms));
    object = symbol_global(intern("obj"));
    selector = intern("echo");
    add = intern("add");
    solo = intern("solo");
    slot = intern("count");
    send_form = read_from_text("(send obj echo 1)");
    send_loop = read_from_text("(repeat 1000 (send obj echo 1))");
    message_loop = read_from_text("(obj (repeat 1000 (echo 1)))");
    add_form = read_from_text("(send obj add 1)");
    add_loop = read_from_text("(obj (repeat 1000 (add 1)))");
    plain = symbol_global(intern("plain"));
  }
  static MemoryConfig config() {
    MemoryConfig c;
    c.total = 64u << 20;
    return c;
  }
  Runtime runtime_;
  Value object, selector, add, solo, slot, send_form, send_loop, message_loop, add_form, add_loop, plain;
};

// The loops below run 1000 sends an iteration; reported per send.
void report_per_send(benchmark::State& state) {
  state.counters["ns_per_send"] =
      benchmark::Counter(1000 * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SendFromNative(benchmark::State& state) {
  ObjectWorld world;
  Value arg = make_fixnum(1);
  for (auto _ : state) benchmark::DoNotOptimize(send(world.object, world.selector, {arg}));
}
BENCHMARK(BM_SendFromNative);

// A selector that only one class defines lives in the symbol's value cell.
void BM_SendSingleDefinerFromNative(benchmark::State& state) {
  ObjectWorld world;
  Value arg = make_fixnum(1);
  for (auto _ : state) benchmark::DoNotOptimize(send(world.object, world.solo, {arg}));
}
BENCHMARK(BM_SendSingleDefinerFromNative);

// A method that does some work: a slot read through self and an addition.
void BM_SendWorkingMethodFromNative(benchmark::State& state) {
  ObjectWorld world;
  Value arg = make_fixnum(1);
  for (auto _ : state) benchmark::DoNotOptimize(send(world.object, world.add, {arg}));
}
BENCHMARK(BM_SendWorkingMethodFromNative);

// The same call without an object: a global function of one argument.
void BM_CallPlainFunction(benchmark::State& state) {
  ObjectWorld world;
  Value arg = make_fixnum(1);
  for (auto _ : state) benchmark::DoNotOptimize(call(world.plain, {arg}));
}
BENCHMARK(BM_CallPlainFunction);

void BM_SendForm(benchmark::State& state) {
  ObjectWorld world;
  for (auto _ : state) benchmark::DoNotOptimize(eval(world.send_form));
}
BENCHMARK(BM_SendForm);

void BM_SendWorkingMethodForm(benchmark::State& state) {
  ObjectWorld world;
  for (auto _ : state) benchmark::DoNotOptimize(eval(world.add_form));
}
BENCHMARK(BM_SendWorkingMethodForm);

// A Lisp loop of sends, as a program runs them; reported per send.
void BM_SendFormLoop(benchmark::State& state) {
  ObjectWorld world;
  for (auto _ : state) benchmark::DoNotOptimize(eval(world.send_loop));
  report_per_send(state);
}
BENCHMARK(BM_SendFormLoop);

// The same calls as message forms inside the receiver: (echo 1) with `self`
// bound once for the whole loop.
void BM_MessageFormLoop(benchmark::State& state) {
  ObjectWorld world;
  for (auto _ : state) benchmark::DoNotOptimize(eval(world.message_loop));
  report_per_send(state);
}
BENCHMARK(BM_MessageFormLoop);

void BM_WorkingMessageFormLoop(benchmark::State& state) {
  ObjectWorld world;
  for (auto _ : state) benchmark::DoNotOptimize(eval(world.add_loop));
  report_per_send(state);
}
BENCHMARK(BM_WorkingMessageFormLoop);

void BM_SlotReadThroughSelf(benchmark::State& state) {
  ObjectWorld world;
  SelfBinding binding(world.object);
  for (auto _ : state) benchmark::DoNotOptimize(lookup_symbol(world.slot));
}
BENCHMARK(BM_SlotReadThroughSelf);

void BM_SlotWriteThroughSelf(benchmark::State& state) {
  ObjectWorld world;
  SelfBinding binding(world.object);
  Value v = make_fixnum(0);
  for (auto _ : state) {
    assign_symbol(world.slot, v);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SlotWriteThroughSelf);

void BM_MethodLookupThroughSelf(benchmark::State& state) {
  ObjectWorld world;
  SelfBinding binding(world.object);
  for (auto _ : state) benchmark::DoNotOptimize(lookup_symbol(world.selector));
}
BENCHMARK(BM_MethodLookupThroughSelf);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
