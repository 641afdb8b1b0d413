// The evaluator: a recursive interpreter over Values. Calls run in frames on
// the Lisp stack; built-in forms are recognised by the tag of their value.
#include "eval/eval.h"

#include <algorithm>

#include "core/native_objects.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/evaluator_internal.h"
#include "objects/lookup.h"
#include "objects/object_hooks.h"
#include "platform/clock.h"
#include "platform/host.h"

namespace orvane {

// --- Arguments -----------------------------------------------------------------

Value ArgSource::next() {
  if (mode == Mode::array) return *pos++;
  Value x = car(list);
  list = cdr(list);
  return mode == Mode::forms ? eval(x) : x;
}

Value ArgSource::rest_values() {
  if (mode == Mode::values) {
    Value l = list;
    list = kNil;
    return l;
  }
  Value head = kNil, tail = kNil;
  while (more()) {
    Value cell = cons(next(), kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  }
  return head;
}

Value ArgSource::rest_raw() {
  if (mode != Mode::array) {
    Value l = list;
    list = kNil;
    return l;
  }
  Value head = kNil, tail = kNil;
  while (pos != end) {
    Value cell = cons(*pos++, kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  }
  return head;
}

// --- Symbols ---------------------------------------------------------------------

namespace {
// `self` can be any Value a message was sent to; only objects have classes.
inline bool self_is_object() {
  std::uint32_t t = g_mem.self.tag();
  return (t == tag::instance || t == tag::klass) && g_mem.self != kNoObject;
}

// The value of a symbol with `self` bound to an object: the common cases
// inline, the others by the full lookup.
inline Value value_in_self(Value sym) {
  Value v;
  if (objects::lookup_common(g_mem.self, sym, v)) return v;
  return object_lookup(g_mem.self, sym);
}

// The value of a symbol in the current context, no-value when unbound.
inline Value symbol_value(Value sym) {
  const SymbolEntry& e = symbol_entry(sym);
  bool single_definer = e.definer.tag() == tag::klass;
  // A symbol that never was a selector or an override (`+`, `car` ...) is
  // a global in every context.
  if (e.selector_index < 0 && !single_definer) return e.value;
  if (!self_is_object()) {
    // Methods of a single class are not visible as globals.
    return single_definer ? kNoValue : e.value;
  }
  return value_in_self(sym);
}
}  // namespace

Value lookup_symbol(Value sym) { return symbol_value(sym); }

void assign_symbol(Value sym, Value v) {
  if (!self_is_object()) set_symbol_global(sym, v);
  else object_assign(g_mem.self, sym, v);
}

bool symbol_bound(Value sym) { return lookup_symbol(sym) != kNoValue; }

// --- Frames and variables ---------------------------------------------------------

CallFrame* CallFrame::find(std::uint32_t serial) {
  for (Context* c = Context::innermost(); c; c = c->link()) {
    if (c->kind() != Context::Kind::call_frame) continue;
    auto* f = static_cast<CallFrame*>(c);
    if (f->serial() == serial && f->entered()) return f;
  }
  return nullptr;
}

void CallFrame::register_level() {
  if (registry_.size() <= level_) registry_.resize(level_ + 1, nullptr);
  registry_[level_] = this;
  registered_ = true;
}

CallFrame* CallFrame::find_at_level(std::uint32_t level) {
  for (Context* c = Context::innermost(); c; c = c->link()) {
    if (c->kind() != Context::Kind::call_frame) continue;
    auto* f = static_cast<CallFrame*>(c);
    if (f->level_ == level) return f;
    if (f->level_ < level) break;
  }
  return nullptr;
}

namespace {
// The slot of a lexical variable: (depth, index) in the frame chain.
inline Value& frame_slot(Value var) {
  std::uint32_t ref = node_of(var).w0 & kPayloadMask;
  std::uint32_t index = ref & 0xffff;
  std::uint32_t depth = ref >> 16;
  CallFrame* f = CallFrame::env();
  while (depth-- > 0 && f) f = f->parent();
  if (!f || index >= f->size()) raise_error(6, var);
  return f->slots()[index];
}
}  // namespace

Value& variable_slot(Value var) { return frame_slot(var); }

void assign_target(Value target, Value v) {
  if (is_variable(target)) variable_slot(target) = v;
  else if (is_symbol(target)) assign_symbol(target, v);
  else raise_error(2, target);
}

Value bind_target(Value binding) {
  if (!is_pair(binding)) raise_error(2, binding);
  Value rest = cdr(binding);
  Value v = is_pair(rest) ? eval(car(rest)) : kNoValue;
  assign_target(car(binding), v);
  return v;
}

// --- Closures ------------------------------------------------------------------------

namespace {

struct FunctionHeader {
  std::uint32_t locals, captures, fixed;
  bool rest;
  bool only_fixed;  // no rest list, captures or locals: the frame is the arguments
  explicit FunctionHeader(Value fn) {
    std::uint32_t h = node_of(fn).w0 & kPayloadMask;
    locals = h & 0x1ff;
    captures = (h >> 9) & 0x7f;
    rest = (h & 0x10000) != 0;
    fixed = (h >> 17) & 0x7f;
    only_fixed = (h & 0x1ffff) == 0;
  }
};

inline Value function_code(Value fn) { return Value(node_of(fn).w1); }
inline Value function_body(Value fn) { return cdr(function_code(fn)); }

Value make_lexical(Value fn) {
  Value serial = cons(kNil, kNil);
  Node& n = node_of(serial);
  n.w0 = header::raw_word << 24;
  n.w1 = CallFrame::env()->serial();
  Value closure = cons(Value::make(tag::long_int, serial.payload()), fn);
  return Value::make(tag::lexical, closure.payload());
}

// Inlined into the calls so that a one-form body costs no extra call.
[[gnu::always_inline]] inline Value eval_body(Value forms) {
  Value result = kNoValue;
  for (; is_pair(forms); forms = cdr(forms)) result = eval(car(forms));
  return result;
}

// Calls a compiled lambda: fixed parameters (nil when missing), the rest
// list, the captured values, then the locals.
Value call_compiled(Value fn, CallFrame* parent, Value captured, ArgSource& args) {
  poll_events();
  FunctionHeader h(fn);
  CallFrame frame(g_mem.lisp_stack_top, parent);
  for (std::uint32_t i = 0; i < h.fixed; ++i) lisp_push(args.more() ? args.next() : kNil);
  if (h.rest) lisp_push(args.rest_values());
  for (std::uint32_t i = 0; i < h.captures && is_pair(captured); ++i, captured = cdr(captured))
    lisp_push(car(captured));
  for (std::uint32_t i = 0; i < h.locals; ++i) lisp_push(kNoValue);
  frame.enter();
  return eval_body(function_body(fn));
}

// Pushes without the limit check; the caller checked room for the frame.
inline void push_unchecked(Value v) {
  *lisp_stack_host(g_mem.lisp_stack_top) = v;
  g_mem.lisp_stack_top += 4;
}

// Lexical variables and bound symbols skip the call to eval.
Value eval_variable_or_form(Value x) {
  if (x.tag() == tag::variable) {
    Value v = frame_slot(x);
    if (v != kNoValue && v.tag() != tag::bound_term) return v;
  } else if (x.tag() == tag::symbol) {
    Value v = symbol_value(x);
    if (v != kNoValue) return v;
  }
  return eval(x);
}

// An argument form's value; integers evaluate to themselves.
inline Value eval_argument(Value x) { return x.tag() == tag::integer ? x : eval_variable_or_form(x); }

// The common call: a compiled lambda applied to argument forms.
Value call_compiled_forms(Value fn, CallFrame* parent, Value captured, Value forms) {
  poll_events();
  FunctionHeader h(fn);
  std::uint32_t slots = h.fixed + (h.rest ? 1 : 0) + h.captures + h.locals;
  if (g_mem.lisp_stack_top + 4 * slots > g_mem.lisp_stack_limit) lisp_stack_overflow();
  CallFrame frame(g_mem.lisp_stack_top, parent);
  for (std::uint32_t i = 0; i < h.fixed; ++i) {
    Value a = kNil;
    if (is_pair(forms)) {
      a = eval_argument(car(forms));
      forms = cdr(forms);
    }
    push_unchecked(a);
  }
  if (!h.only_fixed) {
    if (h.rest) {
      ArgSource rest = ArgSource::forms(forms);
      Value list = rest.rest_values();
      push_unchecked(list);
    }
    for (std::uint32_t i = 0; i < h.captures && is_pair(captured); ++i, captured = cdr(captured))
      push_unchecked(car(captured));
    for (std::uint32_t i = 0; i < h.locals; ++i) push_unchecked(kNoValue);
  }
  frame.enter();
  return eval_body(function_body(fn));
}

// Whether a compiled lambda takes exactly `count` fixed arguments and
// nothing else (no rest list, captures or locals).
inline bool takes_only(Value fn, std::uint32_t count) {
  return (node_of(fn).w0 & kPayloadMask) == count << 17;
}

// Calls a compiled lambda whose arguments, already evaluated, lie on the
// Lisp stack from `base` to the top: they become the frame's first slots as
// they are. Missing fixed arguments are nil, extra ones form the rest list
// (or are dropped).
[[gnu::noinline]] Value call_compiled_stacked_general(Value fn, CallFrame* parent, Value captured,
                                                      std::uint32_t base) {
  poll_events();
  FunctionHeader h(fn);
  std::uint32_t count = (g_mem.lisp_stack_top - base) / 4;
  std::uint32_t slots = std::max(count, h.fixed) + 1 + h.captures + h.locals;
  if (base + 4 * slots > g_mem.lisp_stack_limit) lisp_stack_overflow();
  CallFrame frame(base, parent);
  if (count <= h.fixed) {
    for (std::uint32_t i = count; i < h.fixed; ++i) push_unchecked(kNil);
    if (h.rest) push_unchecked(kNil);
  } else if (h.rest) {
    // The list is built from the last argument down in a slot of its own,
    // so that every Value stays on the stack while cons allocates.
    std::uint32_t list_slot = g_mem.lisp_stack_top;
    push_unchecked(kNil);
    for (std::uint32_t i = count; i-- > h.fixed;)
      *lisp_stack_host(list_slot) = cons(*lisp_stack_host(base + 4 * i), *lisp_stack_host(list_slot));
    *lisp_stack_host(base + 4 * h.fixed) = *lisp_stack_host(list_slot);
    g_mem.lisp_stack_top = base + 4 * (h.fixed + 1);
  } else {
    g_mem.lisp_stack_top = base + 4 * h.fixed;
  }
  for (std::uint32_t i = 0; i < h.captures && is_pair(captured); ++i, captured = cdr(captured))
    push_unchecked(car(captured));
  for (std::uint32_t i = 0; i < h.locals; ++i) push_unchecked(kNoValue);
  frame.enter();
  return eval_body(function_body(fn));
}

// The commonest method: the arguments are the whole frame.
[[gnu::always_inline]] inline Value call_compiled_stacked(Value fn, CallFrame* parent, Value captured,
                                                          std::uint32_t base) {
  if (!takes_only(fn, (g_mem.lisp_stack_top - base) / 4))
    return call_compiled_stacked_general(fn, parent, captured, base);
  poll_events();
  CallFrame frame(base, parent);
  frame.enter();
  return eval_body(function_body(fn));
}

Value call_primitive(Value descriptor, ArgSource& args);

// A primitive with a two-fixnum shortcut (it takes rest arguments only):
// two fixnum arguments go to the shortcut without touching the Lisp stack;
// any other arguments are pushed for the primitive itself. A non-fixnum first
// argument is pushed before the second is evaluated, so the collector sees it.
Value call_fixnum_pair_forms(const PrimitiveEntry& p, Value forms) {
  LispStackMark mark;
  Value second = cdr(forms);
  if (is_pair(forms) && is_pair(second) && !is_pair(cdr(second))) {
    Value x = eval_argument(car(forms));
    if (is_fixnum(x)) {
      Value y = eval_argument(car(second));
      if (is_fixnum(y)) return p.fixnum_pair(x.fixnum(), y.fixnum());
      lisp_push(x);
      lisp_push(y);
    } else {
      lisp_push(x);
      lisp_push(eval_argument(car(second)));
    }
  } else {
    for (; is_pair(forms); forms = cdr(forms)) lisp_push(eval_argument(car(forms)));
  }
  lisp_push(kAbsent);
  return reinterpret_cast<Value (*)(RestArgs)>(p.fn)(RestArgs(lisp_stack_host(mark.saved())));
}

// The common primitive call: fixed arguments from forms.
inline Value call_primitive_forms(Value descriptor, Value forms) {
  const PrimitiveEntry& p = primitive_of(descriptor);
  if (p.fixnum_pair) return call_fixnum_pair_forms(p, forms);
  std::uint32_t n = p.arity & arity::count_mask;
  if (n > 8 || (p.arity & arity::reversed)) {
    ArgSource args = ArgSource::forms(forms);
    return call_primitive(descriptor, args);
  }
  Value a[8];
  for (std::uint32_t i = 0; i < n; ++i) {
    if (!is_pair(forms)) {
      a[i] = kNil;
      continue;
    }
    a[i] = eval_argument(car(forms));
    forms = cdr(forms);
  }
  if (!(p.arity & arity::rest)) return invoke_primitive(p, a, RestArgs());
  LispStackMark mark;
  for (; is_pair(forms); forms = cdr(forms)) lisp_push(eval_argument(car(forms)));
  lisp_push(kAbsent);
  RestArgs rest(lisp_stack_host(mark.saved()));
  // Arithmetic and most list primitives take their arguments as one array.
  if (n == 0 && p.has_rest) return reinterpret_cast<Value (*)(RestArgs)>(p.fn)(rest);
  return invoke_primitive(p, a, rest);
}

Value call_syntax(Value fn, Value captured, ArgSource& args) {
  poll_events();
  FunctionHeader h(fn);
  std::uint32_t caller = CallFrame::env() ? CallFrame::env()->serial() : 0;
  CallFrame frame(g_mem.lisp_stack_top, nullptr);
  lisp_push(args.rest_raw());
  if (h.fixed + (h.rest ? 1 : 0) > 1) lisp_push(make_integer(caller));
  for (std::uint32_t i = 0; i < h.captures && is_pair(captured); ++i, captured = cdr(captured))
    lisp_push(car(captured));
  for (std::uint32_t i = 0; i < h.locals; ++i) lisp_push(kNoValue);
  lisp_push(kAbsent);
  frame.enter();
  return eval_body(function_body(fn));
}

Value call_primitive(Value descriptor, ArgSource& args) {
  const PrimitiveEntry& p = primitive_of(descriptor);
  std::uint32_t code = p.arity;
  std::uint32_t n = code & arity::count_mask;
  if (n > 8) raise_error(2, kNil);
  Value a[8];
  for (std::uint32_t i = 0; i < n; ++i) a[i] = args.more() ? args.next() : kNil;
  if (!(code & arity::rest)) return invoke_primitive(p, a, RestArgs());
  LispStackMark mark;
  std::uint32_t first = g_mem.lisp_stack_top;
  if (code & arity::reversed) {
    // Evaluated and pushed from the last argument to the first.
    Value remaining = args.mode == ArgSource::Mode::array ? args.rest_raw() : args.list;
    std::uint32_t count = list_length(remaining);
    std::uint32_t slots = g_mem.lisp_stack_top;
    for (std::uint32_t i = 0; i < count; ++i, remaining = cdr(remaining)) lisp_push(car(remaining));
    for (std::uint32_t i = count; i-- > 0;) {
      Value* slot = lisp_stack_host(slots + 4 * i);
      Value v = args.mode == ArgSource::Mode::forms ? eval(*slot) : *slot;
      lisp_push(v);
    }
    // Move the evaluated values down over the forms.
    std::memmove(lisp_stack_host(slots), lisp_stack_host(slots + 4 * count), std::size_t{4} * count);
    g_mem.lisp_stack_top = slots + 4 * count;
  } else {
    while (args.more()) lisp_push(args.next());
  }
  lisp_push(kAbsent);
  return invoke_primitive(p, a, RestArgs(lisp_stack_host(first)));
}

}  // namespace

Value close_gamma(Value templ) {
  Value captures = cdr(cdr(car(function_code(templ))));
  Value head = kNil, tail = kNil;
  for (; is_pair(captures); captures = cdr(captures)) {
    Value c = car(captures);
    Value v = is_variable(c) ? eval(c) : eval(car(cdr(c)));
    Value cell = cons(v, kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  }
  Value closure = cons(templ, head);
  return Value::make(templ.tag() == tag::gamma ? tag::closed : tag::closed_syntax, closure.payload());
}

// --- Apply ----------------------------------------------------------------------------

Value apply_kind(Value f, ArgSource& args, Value form) {
  switch (f.tag()) {
    case tag::primitive:
      return call_primitive(f, args);
    case tag::special: {
      StackMark mark;
      auto fn = reinterpret_cast<Value (*)(Value)>(primitive_of(f).fn);
      return fn(args.rest_raw());
    }
    case tag::function:
      return call_compiled(f, nullptr, kNil, args);
    case tag::lexical: {
      CallFrame* parent = CallFrame::find(node_of(car(f)).w1);
      if (!parent) raise_error(2, f);
      return call_compiled(cdr(f), parent, kNil, args);
    }
    case tag::closed:
      return call_compiled(car(f), nullptr, cdr(f), args);
    case tag::syntax:
      return call_syntax(f, kNil, args);
    case tag::closed_syntax:
      return call_syntax(car(f), cdr(f), args);
    case tag::instance:
    case tag::klass: {
      if (f == kNoObject) break;
      SelfBinding binding(f);
      Value result = kNoValue;
      // The arguments are forms, evaluated with `self` bound, in every mode.
      while (args.more()) {
        Value x = args.next();
        result = args.mode == ArgSource::Mode::forms ? x : eval(x);
      }
      return result;
    }
    case tag::predicate:
      return call_predicate(f, form);
    default:
      if (is_form_tag(f.tag())) return run_form(f.tag(), args.rest_raw());
      break;
  }
  raise_error(5, args.mode == ArgSource::Mode::forms && form != kNil ? car(form) : f);
}

// --- Eval ---------------------------------------------------------------------------------

// Applying a list form.
Value eval_list(Value v) {
  check_native_stack();
  Value head = car(v);
  Value f;
  if (is_symbol(head)) {
    f = symbol_value(head);
    if (f == kNoValue) raise_error(6, head);
  } else {
    f = eval(head);
  }
  // The hottest paths run without an ArgSource.
  switch (f.tag()) {
    case tag::function:
      return call_compiled_forms(f, nullptr, kNil, cdr(v));
    case tag::primitive:
      return call_primitive_forms(f, cdr(v));
    case tag::closed:
      return call_compiled_forms(car(f), nullptr, cdr(f), cdr(v));
    case tag::instance:
    case tag::klass: {
      if (f == kNoObject) break;
      // A message form: the forms are evaluated with `self` bound.
      SelfBinding binding(f);
      return eval_body(cdr(v));
    }
    case form::send:
      return send_forms(cdr(v));
    default:
      if (is_form_tag(f.tag())) return run_form(f.tag(), cdr(v));
      break;
  }
  ArgSource args = ArgSource::forms(cdr(v));
  return apply_kind(f, args, v);
}

// The commonest kind is tested first, before the switch for the others.
Value eval_atom(Value v) {
  std::uint32_t t = v.tag();
  if (t == tag::variable) [[likely]] {
    Value x = frame_slot(v);
    if (x == kNoValue) raise_error(6, v);
    if (x.tag() == tag::bound_term) return deref_bound_term(x);
    return x;
  }
  switch (t) {
    case tag::symbol: {
      Value x = symbol_value(v);
      if (x == kNoValue) raise_error(6, v);
      return x;
    }
    case tag::function:
      return CallFrame::env() ? make_lexical(v) : v;
    case tag::gamma:
    case tag::syntax_gamma:
      return close_gamma(v);
    case tag::list:
      return kNil;
    default:
      return v;
  }
}

Value eval_sequence(Value forms) { return eval_body(forms); }

Value apply_list(Value fn, Value args) {
  if (is_symbol(fn)) {
    Value v = lookup_symbol(fn);
    if (v == kNoValue) raise_error(6, fn);
    fn = v;
  }
  ArgSource source = ArgSource::values(args);
  return apply_kind(fn, source, kNil);
}

namespace {

// The method a selector names with `self` bound to the receiver.
inline Value method_of(Value selector) {
  if (!is_symbol(selector)) return eval(selector);
  Value method = self_is_object() ? value_in_self(selector) : symbol_value(selector);
  if (method == kNoValue) raise_error(6, selector);
  return method;
}

// Applies a method to the arguments lying on the Lisp stack from `base`;
// compiled methods take them in place as the first slots of their frame.
[[gnu::always_inline]] inline Value apply_stacked(Value method, std::uint32_t base) {
  switch (method.tag()) {
    case tag::function:
      return call_compiled_stacked(method, nullptr, kNil, base);
    case tag::closed:
      return call_compiled_stacked(car(method), nullptr, cdr(method), base);
    default: {
      std::size_t count = (g_mem.lisp_stack_top - base) / 4;
      ArgSource source = ArgSource::array(std::span<const Value>(lisp_stack_host(base), count));
      return apply_kind(method, source, kNil);
    }
  }
}

}  // namespace

Value call(Value fn, std::span<const Value> args) {
  if (is_symbol(fn)) {
    Value v = lookup_symbol(fn);
    if (v == kNoValue) raise_error(6, fn);
    fn = v;
  }
  if (fn.tag() != tag::function && fn.tag() != tag::closed) {
    ArgSource source = ArgSource::array(args);
    return apply_kind(fn, source, kNil);
  }
  LispStackMark mark;
  for (Value a : args) lisp_push(a);
  return apply_stacked(fn, mark.saved());
}

Value send(Value receiver, Value selector, std::span<const Value> args) {
  if (is_symbol(receiver)) {
    Value v = lookup_symbol(receiver);
    if (v == kNoValue) raise_error(6, receiver);
    receiver = v;
  }
  SelfBinding binding(receiver);
  Value method = method_of(selector);
  LispStackMark mark;
  for (Value a : args) lisp_push(a);
  return apply_stacked(method, mark.saved());
}

Value send_forms(Value forms) {
  LispStackMark mark;
  // The receiver and the arguments are held on the Lisp stack while the
  // later arguments are evaluated.
  lisp_push(eval_argument(car(forms)));
  Value selector = car(cdr(forms));
  std::uint32_t base = g_mem.lisp_stack_top;
  for (Value l = cdr(cdr(forms)); is_pair(l); l = cdr(l)) lisp_push(eval_argument(car(l)));
  SelfBinding binding(*lisp_stack_host(mark.saved()));
  return apply_stacked(method_of(selector), base);
}

// --- Event poll and the native stack guard -------------------------------------------------

void poll_events_slow() {
  g_event_poll.countdown = kPollCountdown;
  // Native objects the collector found dead are closed here, outside any
  // allocation; a close may run Lisp, so not inside a pass either.
  if (!g_event_poll.in_pass) close_released_native_objects();
  if (g_event_poll.event_flag > 0 || g_event_poll.in_pass) return;
  std::uint64_t now = platform::clock().milliseconds();
  if (now - g_event_poll.last_ms < kPollIntervalMs) return;
  g_event_poll.last_ms = now;
  run_event_pass();
}

bool run_event_pass() {
  if (g_event_poll.in_pass) return false;
  struct PassGuard {
    PassGuard() { g_event_poll.in_pass = true; }
    ~PassGuard() { g_event_poll.in_pass = false; }
  } guard;
  platform::host().poll_events();
  return true;
}

namespace {

// The error path (the report's text, then the error handler in Lisp) runs
// where the guard fired: it gets part of the margin below the limit, once,
// for as long as it runs. A second overflow inside it raises with no more.
class ErrorPathStackRoom {
 public:
  ErrorPathStackRoom() : saved_(g_native_stack_limit), lowered_(!active_) {
    if (!lowered_) return;
    active_ = true;
    std::uintptr_t room = g_native_stack_error_room != 0
                              ? g_native_stack_error_room
                              : std::min<std::uintptr_t>(kMaxRoom, std::uintptr_t{g_mem.native_stack} / 8);
    g_native_stack_limit = saved_ > room ? saved_ - room : 0;
  }
  ~ErrorPathStackRoom() {
    if (!lowered_) return;
    g_native_stack_limit = saved_;
    active_ = false;
  }
  ErrorPathStackRoom(const ErrorPathStackRoom&) = delete;
  ErrorPathStackRoom& operator=(const ErrorPathStackRoom&) = delete;

 private:
  static constexpr std::uintptr_t kMaxRoom = 256u << 10;
  static inline bool active_ = false;
  std::uintptr_t saved_;
  bool lowered_;
};

}  // namespace

void native_stack_check_failed() {
  ErrorPathStackRoom room;
  raise_error(9, kNil);
}

}  // namespace orvane
