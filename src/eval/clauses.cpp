// The clause engine.
//
// Logic variables are the evaluator's lexical variables: a clause's variables
// are slots of a clause frame on the Lisp stack. A variable bound to a pair
// or to another variable holds a bound term (term . frame level), so that the
// term's own variables are read in the frame where it was written. The trail
// (in the prolog stack zone) records the slots bound since the innermost
// clause frame still trying, so that a failure can unbind them.
#include "eval/clauses.h"

#include "core/equality.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "core/work_stack.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/evaluator_internal.h"
#include "objects/object_hooks.h"

namespace orvane {

namespace {

Value g_clause_symbol = kNil;  // the meta goal `clause`

// --- Frames, slots and bound terms ------------------------------------------------

Value make_bound_term(Value term, CallFrame* frame) {
  Value level = make_integer(frame ? static_cast<std::int32_t>(frame->level()) : -1);
  Value node = cons(term, level);
  return Value::make(tag::bound_term, node.payload());
}

CallFrame* frame_of_term(Value bound) {
  std::int32_t level = integer_unchecked(cdr(bound));
  return level < 0 ? nullptr : CallFrame::at_level(static_cast<std::uint32_t>(level));
}

// The slot a variable names when read in `frame`; error 6 when the frame has
// no such slot (a variable of an enclosing function seen from a clause).
Value* slot_in(Value var, CallFrame* frame) {
  std::uint32_t ref = node_of(var).w0 & kPayloadMask;
  std::uint32_t index = ref & 0xffff;
  for (std::uint32_t depth = ref >> 16; depth > 0 && frame; --depth) frame = frame->parent();
  if (!frame || index >= frame->size()) raise_error(6, var);
  return frame->slots() + index;
}

void trail(Value* slot) {
  if (g_mem.prolog_top < g_mem.prolog_base + 4) raise_error(9, kNil);
  g_mem.prolog_top -= 4;
  auto offset = static_cast<std::uint32_t>(reinterpret_cast<std::uint8_t*>(slot) - g_mem.world);
  std::memcpy(host(g_mem.prolog_top), &offset, 4);
}

void undo_to(std::uint32_t mark) {
  for (; g_mem.prolog_top < mark; g_mem.prolog_top += 4) {
    std::uint32_t offset;
    std::memcpy(&offset, host(g_mem.prolog_top), 4);
    *reinterpret_cast<Value*>(host(offset)) = kNoValue;
  }
}

void bind(Value* slot, Value term, CallFrame* frame) {
  trail(slot);
  *slot = (is_pair(term) || is_variable(term)) ? make_bound_term(term, frame) : term;
}

// Follows a term through variable slots and bound terms. On return, `term` is
// not a variable unless it is unbound, in which case `unbound` is its slot.
void deref(Value& term, CallFrame*& frame, Value*& unbound) {
  unbound = nullptr;
  while (is_variable(term)) {
    if (!frame) raise_error(6, term);
    Value* slot = slot_in(term, frame);
    Value content = *slot;
    if (content == kNoValue) {
      unbound = slot;
      return;
    }
    if (content.tag() == tag::bound_term) {
      term = car(content);
      frame = frame_of_term(content);
    } else {
      term = content;
      frame = nullptr;
    }
  }
}

// --- Unification ---------------------------------------------------------------------

// Car first, as a recursion would, but the cdrs still to unify wait on a
// work stack, so no depth of nesting reaches the native stack. They are
// parts of the terms given, which their callers keep.
bool unify(Value a, CallFrame* fa, Value b, CallFrame* fb) {
  struct Rest {
    Value a;
    CallFrame* fa;
    Value b;
    CallFrame* fb;
  };
  WorkStack<Rest> pending;
  for (;;) {
    bool unified = [&] {
      for (;;) {
        if (a == b && fa == fb) return true;
        Value* unbound;
        deref(b, fb, unbound);
        if (unbound) {
          if (a == b && fa == fb) return true;
          bind(unbound, a, fa);
          return true;
        }
        deref(a, fa, unbound);
        if (unbound) {
          bind(unbound, b, fb);
          return true;
        }
        if (a == b) return true;
        if (a == kNil || b == kNil) return false;
        if (!is_pair(a) || !is_pair(b)) return equal(a, b);
        pending.push({cdr(a), fa, cdr(b), fb});
        a = car(a);
        b = car(b);
      }
    }();
    if (!unified) return false;
    if (pending.empty()) return true;
    Rest rest = pending.pop();
    a = rest.a;
    fa = rest.fa;
    b = rest.b;
    fb = rest.fb;
  }
}

// A copy of a term that no longer depends on any frame; unbound variables
// become no-value. Built as copy-tree builds: along the cdrs, with the lists
// whose copy waits for a nested one on a work stack. The copy hangs from
// `copy` as it grows; the originals are held by the frames.
Value instantiate(Value term, CallFrame* frame) {
  Value* unbound;
  deref(term, frame, unbound);
  if (unbound) return kNoValue;
  if (!is_pair(term)) return term;
  struct Suspended {
    Value copy;
    Value original;
    CallFrame* frame;
  };
  WorkStack<Suspended> suspended;
  Value copy = cons(kNil, kNil);
  Value out = copy;
  Value in = term;
  for (;;) {
    Value element = car(in);
    CallFrame* element_frame = frame;
    deref(element, element_frame, unbound);
    if (unbound) {
      element = kNoValue;
    } else if (is_pair(element)) {
      suspended.push({out, in, frame});
      Value first = cons(kNil, kNil);
      set_car(out, first);
      out = first;
      in = element;
      frame = element_frame;
      continue;
    }
    set_car(out, element);
    // Along the cdrs, finishing every list that ends here.
    for (;;) {
      Value next = cdr(in);
      deref(next, frame, unbound);
      if (!unbound && is_pair(next)) {
        Value cell = cons(kNil, kNil);
        set_cdr(out, cell);
        out = cell;
        in = next;
        break;
      }
      set_cdr(out, unbound ? kNoValue : next);
      if (suspended.empty()) return copy;
      Suspended resumed = suspended.pop();
      out = resumed.copy;
      in = resumed.original;
      frame = resumed.frame;
    }
  }
}

// Gives every variable of the template whose slot holds a bound term the
// instantiated copy of that term.
void finalize(Value tmpl, CallFrame* frame) {
  check_native_stack();
  if (is_variable(tmpl)) {
    if (!frame) return;
    Value* slot = slot_in(tmpl, frame);
    if (slot->tag() == tag::bound_term) {
      Value copy = instantiate(car(*slot), frame_of_term(*slot));
      *slot_in(tmpl, frame) = copy;
    }
    return;
  }
  for (; is_pair(tmpl); tmpl = cdr(tmpl)) finalize(car(tmpl), frame);
  if (is_variable(tmpl)) finalize(tmpl, frame);
}

// --- Proving -------------------------------------------------------------------------

// The goals still to prove: a conjunction, the frame it is read in, and the
// goals after it. The last element is the answer template. These live on the
// native stack, where the collector sees their Values.
struct Goals {
  Value conjunction;
  CallFrame* frame;
  const Goals* next;
};

bool prove(const Goals* goals);

inline Value clause_count(Value clause) { return car(clause); }
inline Value clause_pattern(Value clause) { return car(cdr(clause)); }  // (name . head)
inline Value clause_body(Value clause) { return cdr(cdr(clause)); }

// Tries one clause: unify pattern (read in a new clause frame) with the
// arguments (read in `args_frame`), then prove the body and what follows.
bool try_clause(Value clause, Value pattern, Value body, Value args, CallFrame* args_frame,
                const Goals* rest) {
  std::uint32_t n = static_cast<std::uint32_t>(clause_count(clause).fixnum());
  if (g_mem.lisp_stack_top + 4 * n > g_mem.lisp_stack_limit) raise_error(9, kNil);
  std::uint32_t trail_mark = g_mem.prolog_top;
  CallFrame frame(g_mem.lisp_stack_top, nullptr);
  for (std::uint32_t i = 0; i < n; ++i) lisp_push(kNoValue);
  frame.enter();
  bool ok = unify(pattern, &frame, args, args_frame);
  if (ok) {
    if (body != kNil) {
      Goals next{body, &frame, rest};
      ok = prove(&next);
    } else {
      ok = prove(rest);
    }
  }
  // Success commits: the frame's exit resets the trail top without undoing.
  if (!ok) undo_to(trail_mark);
  return ok;
}

Value predicate_clauses(Value predicate) { return Value::make(tag::list, predicate.payload()); }

bool prove_call(Value predicate, Value goal, CallFrame* frame, const Goals* rest) {
  // The arguments: logic variables stay terms, everything else is evaluated
  // in the goal's frame.
  Value args = kNil, tail = kNil;
  {
    EnvironmentSwitch in(frame);
    Value a = cdr(goal);
    for (; is_pair(a); a = cdr(a)) {
      Value x = car(a);
      Value v = is_variable(x) ? x : eval(x);
      Value cell = cons(v, kNil);
      if (args == kNil) args = cell;
      else set_cdr(tail, cell);
      tail = cell;
    }
    if (is_variable(a)) {
      if (args == kNil) args = a;
      else set_cdr(tail, a);
    }
  }
  for (Value k = predicate_clauses(predicate); is_pair(k); k = cdr(k)) {
    Value clause = car(k);
    if (try_clause(clause, cdr(clause_pattern(clause)), clause_body(clause), args, frame, rest)) return true;
  }
  return false;
}

bool prove_meta_clause(Value goal, CallFrame* frame, const Goals* rest) {
  Value t = car(cdr(goal));
  CallFrame* tf = frame;
  Value* unbound;
  deref(t, tf, unbound);
  if (unbound || !is_pair(t)) return false;
  Value first = car(t);
  CallFrame* ff = tf;
  deref(first, ff, unbound);
  if (unbound || !is_pair(first)) return false;  // an unbound name fails in order
  Value name = car(first);
  deref(name, ff, unbound);
  if (unbound || !is_symbol(name)) return false;
  Value predicate = lookup_symbol(name);
  if (predicate.tag() != tag::predicate) return false;
  for (Value k = predicate_clauses(predicate); is_pair(k); k = cdr(k)) {
    Value clause = car(k);
    if (try_clause(clause, cdr(clause), clause_body(clause), t, tf, rest)) return true;
  }
  return false;
}

bool prove(const Goals* goals) {
  poll_events();
  if (!goals->next) {
    finalize(goals->conjunction, goals->frame);
    return true;
  }
  Value q = goals->conjunction;
  if (!is_pair(q)) return prove(goals->next);
  Value goal = car(q);
  Goals rest_of_q{cdr(q), goals->frame, goals->next};
  const Goals* rest = cdr(q) == kNil ? goals->next : &rest_of_q;
  CallFrame* frame = goals->frame;

  Value head = is_pair(goal) ? car(goal) : kNil;
  if (head == g_clause_symbol && is_symbol(head)) return prove_meta_clause(goal, frame, rest);
  if (is_symbol(head)) {
    Value value;
    {
      EnvironmentSwitch in(frame);
      value = lookup_symbol(head);
    }
    if (value.tag() == tag::predicate) return prove_call(value, goal, frame, rest);
  }
  // A Lisp goal: true when its value is not nil.
  EnvironmentSwitch in(frame);
  if (eval(goal) == kNil) return false;
  return prove(rest);
}

// --- Defining -----------------------------------------------------------------------

Value add_clause(Value name, Value clause) {
  if (!is_symbol(name)) raise_error(2, name);
  set_car(clause_pattern(clause), name);
  Value old = lookup_symbol(name);
  Value clauses = old.tag() == tag::predicate ? predicate_clauses(old) : kNil;
  Value predicate = cons(clause, clauses);
  define_value(name, Value::make(tag::predicate, predicate.payload()));
  return name;
}

Value compile_clause(Value head, Value goals) {
  return compile_function(cons(g_sym.new_clause, cons(head, goals)));
}

Value sp_defclause(Value args) {
  Value pattern = car(args);
  if (!is_pair(pattern)) raise_error(2, pattern);
  Value clause = compile_clause(cdr(pattern), cdr(args));
  return add_clause(car(pattern), clause);
}

Value p_asserte(Value list) {
  if (!is_pair(list) || !is_pair(car(list))) raise_error(2, list);
  Value clause = compile_clause(cdr(car(list)), cdr(list));
  return add_clause(car(car(list)), clause);
}

Value p_clause_p(Value v) { return v.tag() == tag::predicate ? g_sym.t : kNil; }
Value p_logvar_p(Value v) { return is_variable(v) ? g_sym.t : kNil; }

Value sp_free(Value args) {
  Value x = car(args);
  if (!is_variable(x)) raise_error(2, x);
  CallFrame* frame = CallFrame::env();
  Value* unbound;
  deref(x, frame, unbound);
  return unbound ? g_sym.t : kNil;
}

}  // namespace

// --- The evaluator's entry points -------------------------------------------------------

Value make_clause(Value form, std::uint32_t variable_count) {
  // (n . ((new-clause . head) . body))
  Value head = car(cdr(form));
  Value body = cdr(cdr(form));
  return cons(make_fixnum(static_cast<std::int32_t>(variable_count)), cons(cons(g_sym.new_clause, head), body));
}

Value call_predicate(Value predicate, Value form) {
  CallFrame* frame = CallFrame::env();
  Value tmpl = cons(form, kNil);
  Goals answer{tmpl, frame, nullptr};
  std::uint32_t trail_mark = g_mem.prolog_top;
  bool ok = prove_call(predicate, form, frame, &answer);
  if (!ok) undo_to(trail_mark);
  g_mem.prolog_top = trail_mark;
  return ok ? g_sym.t : kNil;
}

Value deref_bound_term(Value term) { return instantiate(car(term), frame_of_term(term)); }

bool variable_bound(Value variable) {
  CallFrame* frame = CallFrame::env();
  if (!frame) return false;
  return *slot_in(variable, frame) != kNoValue;
}

void register_clauses() {
  g_clause_symbol = intern_constant("clause");
  defspecial("defclause", sp_defclause);
  defprim("asserte", p_asserte);
  defprim("clause?", p_clause_p);
  defprim("logvar?", p_logvar_p);
  defspecial("free", sp_free);
}

}  // namespace orvane
