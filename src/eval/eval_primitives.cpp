// The evaluator's primitives and its registration routine.
#include <algorithm>
#include <cstdint>

#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/clauses.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/eval_module.h"
#include "eval/evaluator_internal.h"
#include "eval/native_forms.h"
#include "eval/toplevel.h"
#include "platform/clock.h"
#include "platform/host.h"

namespace orvane {

void register_forms();
void register_symbol_primitives();

namespace {

// The profiler flag of `get-profiler?` and `set-profiler?`: kept for the
// titles that set it, consulted by nothing (the `profile` form does not
// measure either).
bool g_profiler = false;

Value p_eval(Value v) { return eval(v); }

Value p_apply(Value fn, RestArgs rest) {
  // The arguments before the last, then the elements of the last.
  std::size_t n = rest.size();
  if (n == 0) return apply_list(fn, kNil);
  Value last = rest[n - 1];
  if (!is_list(last)) raise_error(2, last);
  Value args = last;
  for (std::size_t i = n - 1; i-- > 0;) args = cons(rest[i], args);
  return apply_list(fn, args);
}

// Calls fn once per position while every list argument has an element;
// non-list arguments are passed unchanged at every call.
template <bool Collect>
Value map_over(Value fn, RestArgs rest) {
  std::size_t n = rest.size();
  if (n > 5) raise_error(2, make_fixnum(static_cast<std::int32_t>(n)));
  Value cursors[5];
  bool any_list = false;
  for (std::size_t i = 0; i < n; ++i) {
    cursors[i] = rest[i];
    any_list = any_list || is_list(cursors[i]);
  }
  Value head = kNil, tail = kNil;
  if (!any_list) return Collect ? kNil : kNoValue;
  for (;;) {
    Value args[5];
    for (std::size_t i = 0; i < n; ++i) {
      if (is_list(cursors[i])) {
        if (!is_pair(cursors[i])) return Collect ? head : kNoValue;
        args[i] = car(cursors[i]);
        cursors[i] = cdr(cursors[i]);
      } else {
        args[i] = cursors[i];
      }
    }
    Value r = call(fn, std::span<const Value>(args, n));
    if constexpr (Collect) {
      Value cell = cons(r, kNil);
      if (head == kNil) head = cell;
      else set_cdr(tail, cell);
      tail = cell;
    }
  }
}

Value p_for_each(Value fn, RestArgs rest) { return map_over<false>(fn, rest); }
Value p_map(Value fn, RestArgs rest) { return map_over<true>(fn, rest); }
Value p_void() { return kNoValue; }
Value p_get_profiler() { return g_profiler ? g_sym.t : kNil; }
Value p_set_profiler(Value on) {
  g_profiler = is_true(on);
  return kNoValue;
}
Value p_reset_stack_flag() { return kNoValue; }

// Waits on the platform clock, giving the event pump a pass at every turn
// so that the key can arrive and the interface stays alive.
Value p_wait_key(Value ms_value) {
  std::int64_t ms = integer_of(ms_value);
  platform::Clock& clock = platform::clock();
  std::uint64_t start = clock.milliseconds();
  for (;;) {
    run_event_pass();
    auto elapsed = static_cast<std::int64_t>(clock.milliseconds() - start);
    int key = platform::host().pending_key();
    if (key >= 0) return cons(make_integer(static_cast<std::int32_t>(std::min(elapsed, ms))), make_integer(key));
    if (elapsed >= ms) return cons(make_integer(static_cast<std::int32_t>(ms)), kNil);
    clock.wait_until(start + static_cast<std::uint64_t>(std::min<std::int64_t>(elapsed + kWaitStepMs, ms)));
  }
}

Value p_throw(Value tag, Value value) { throw_value(tag, value); }
Value p_catched(Value tag) { return catch_active(tag) ? g_sym.t : kNil; }
Value p_toplevel() { throw_value(g_sym.toplevel, kNil); }
Value p_error_subr(Value culprit) { raise_error(0, culprit); }

}  // namespace

Value protected_send(Value receiver, Value selector, std::span<const Value> args) {
  try {
    return send(receiver, selector, args);
  } catch (const Thrower& t) {
    set_pending_throw(t.tag(), t.value());
    return kNoValue;
  }
}

void register_evaluator() {
  register_forms();
  register_symbol_primitives();
  register_special_forms();
  register_clauses();
  defprim("eval", p_eval);
  defprim("apply", p_apply);
  defprim("for-each", p_for_each);
  defprim("map", p_map);
  defprim("void", p_void);
  defprim("get-profiler?", p_get_profiler, arity::system);
  defprim("set-profiler?", p_set_profiler, arity::system);
  defprim("reset-stack-flag", p_reset_stack_flag, arity::system);
  defprim("wait-key", p_wait_key);
  defprim("throw", p_throw);
  defprim("catched?", p_catched);
  defprim("toplevel", p_toplevel);
  defprim("error-subr", p_error_subr);
}

}  // namespace orvane
