#include "reader/destination.h"

#include <map>
#include <string>

#include "core/collector.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/streams.h"
#include "platform/host.h"

namespace orvane {

namespace {

struct DestinationState {
  Destination current;
  // Native writing routines by name. Plain functions of the modules, they
  // stay valid from one run-time to the next, whatever the order in which
  // the modules register.
  std::map<std::string, WriteRoutine, std::less<>> write_routines;
  Value terminal_out = kNil;  // the symbol `terminal-out`
};

DestinationState& state() {
  static DestinationState s;
  return s;
}

Value unusable_write_routine() { return kNoValue; }

void install(const Destination& d) { state().current = d; }

// The destination a stream names; error 2 with the stream when it names none.
Destination stream_destination(Value stream, Value object) {
  if (!is_pair(stream)) raise_error(2, stream);
  Value routine = car(stream);
  if (is_symbol(routine)) routine = lookup_symbol(routine);
  Destination d;
  d.values = {routine, cdr(stream), object};
  if (PortPutc port = port_putc_routine(routine)) {
    d.kind = Destination::Kind::native_routine;
    d.routine = port;
    return d;
  }
  if (routine.tag() == tag::primitive &&
      primitive_of(routine).fn == reinterpret_cast<ErasedFn>(unusable_write_routine)) {
    auto it = state().write_routines.find(primitive_of(routine).name);
    if (it != state().write_routines.end()) {
      d.kind = Destination::Kind::native_routine;
      d.routine = it->second;
      return d;
    }
  }
  switch (routine.tag()) {
    case tag::primitive: case tag::function: case tag::lexical: case tag::closed:
      d.kind = Destination::Kind::lisp_routine;
      return d;
    default:
      raise_error(2, stream);
  }
}

bool is_object(Value v) {
  return v.tag() == tag::instance || (v.tag() == tag::klass && v != kNoObject);
}

}  // namespace

const Destination& current_destination() { return state().current; }

void put_char(unsigned char c) {
  const Destination& d = state().current;
  switch (d.kind) {
    case Destination::Kind::terminal: {
      char ch = static_cast<char>(c);
      platform::host().write_terminal(std::string_view(&ch, 1));
      break;
    }
    case Destination::Kind::native_routine:
      d.routine(c, d.state());
      break;
    case Destination::Kind::lisp_routine:
      call(d.routine_value(), {make_fixnum(c), d.state()});
      break;
    case Destination::Kind::buffer:
      if (d.buffer->size() < d.limit) d.buffer->push_back(static_cast<char>(c));
      break;
  }
}

void put_text(std::string_view text) {
  poll_events();
  if (state().current.kind == Destination::Kind::terminal) {
    platform::host().write_terminal(text);
    return;
  }
  for (char c : text) put_char(static_cast<unsigned char>(c));
}

void flush_terminal() {
  flush_edit_output();
  platform::host().flush_terminal();
}

// --- DestinationScope -----------------------------------------------------------

DestinationScope::DestinationScope(Value argument)
    : Context(Kind::destination), saved_(state().current) {
  Value v = argument;
  if (v == kNil) {
    v = lookup_symbol(state().terminal_out);
    if (v == kNoValue) v = kNil;
  }
  if (v == kNil || v == g_sym.t) return;
  if (is_object(v)) {
    Value stream = send(v, g_sym.write_proc, {});
    install(stream_destination(stream, v));
    return;
  }
  install(stream_destination(v, kNil));
}

DestinationScope::DestinationScope(std::string& buffer, std::size_t limit)
    : Context(Kind::destination), saved_(state().current) {
  Destination d;
  d.kind = Destination::Kind::buffer;
  d.buffer = &buffer;
  d.limit = limit;
  install(d);
}

DestinationScope::~DestinationScope() { install(saved_); }

// --- Registration ---------------------------------------------------------------

Value define_write_routine(std::string_view name, WriteRoutine routine) {
  state().write_routines.insert_or_assign(std::string(name), routine);
  return defprim(name, unusable_write_routine, arity::system);
}

void reset_destinations() {
  DestinationState& s = state();
  remove_root_range(s.current.values.data());
  s.current = Destination{};
  add_root_range(s.current.values.data(), s.current.values.size());
  s.terminal_out = intern_constant("terminal-out", kNil);
}

}  // namespace orvane
