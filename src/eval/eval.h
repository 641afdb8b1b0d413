// The evaluator's interface to the rest of the run-time.
#pragma once

#include <initializer_list>
#include <span>

#include "core/native_stack.h"
#include "core/value.h"

namespace orvane {

// A non-empty list form's value, and any other Value's.
Value eval_list(Value form);
Value eval_atom(Value v);
// The value of v in the current context. The test is inline so that every
// caller reaches the right half with one call.
inline Value eval(Value v) {
  return v.tag() == tag::list && v.payload() != 0 ? eval_list(v) : eval_atom(v);
}
// Evaluates each form of a list in order; the last value, no-value for none.
Value eval_sequence(Value forms);

// Calls a function Value with evaluated arguments (a symbol means its value).
Value call(Value fn, std::span<const Value> args);
inline Value call(Value fn, std::initializer_list<Value> args) {
  return call(fn, std::span<const Value>(args.begin(), args.size()));
}
// Applies fn to a list of argument Values, used as they are.
Value apply_list(Value fn, Value args);
// Sends selector to receiver (a symbol receiver means its value).
Value send(Value receiver, Value selector, std::span<const Value> args);
inline Value send(Value receiver, Value selector, std::initializer_list<Value> args) {
  return send(receiver, selector, std::span<const Value>(args.begin(), args.size()));
}
// Sends inside a catch that stops every throw: the throw is kept as the
// pending throw and the result is no-value.
Value protected_send(Value receiver, Value selector, std::span<const Value> args);

// Symbol lookup and assignment as the evaluator sees them, with the current
// `self` (the object system extends both). lookup answers no-value when the
// symbol is unbound.
Value lookup_symbol(Value sym);
void assign_symbol(Value sym, Value v);
bool symbol_bound(Value sym);

// Compiles a lambda, syntax, gamma, syntax-gamma or new-clause form,
// rewriting its logic variables in place.
Value compile_function(Value form);

// The event poll. Loops, calls and the clause engine call poll_events();
// every 4096th call reads the platform clock, and when 100 ms have passed
// since the last pass and the event flag is zero or less, the host's event
// pump gets a pass. The countdown keeps the common case to one decrement.
struct EventPoll {
  int event_flag = 0;        // raised by without-event, loading and the boot
  std::uint32_t countdown = 1;
  std::uint64_t last_ms = 0;  // platform clock time of the last pass
  bool in_pass = false;       // a pass is running (its Lisp must not start another)
};
inline EventPoll g_event_poll;
inline constexpr std::uint32_t kPollCountdown = 4096;
inline constexpr std::uint64_t kPollIntervalMs = 100;
void poll_events_slow();
inline void poll_events() {
  if (--g_event_poll.countdown == 0) poll_events_slow();
}
// One pass of the host's event pump now, whatever the time and the event
// flag (the turns of a wait). Answers false, without a pass, when a pass is
// already running: the Lisp an event runs cannot start another.
bool run_event_pass();
// How long a wait sleeps between two passes of the event pump.
inline constexpr std::uint64_t kWaitStepMs = 5;

}  // namespace orvane
