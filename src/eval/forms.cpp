// The evaluator's built-in forms, identified by the tag of their value.
#include "core/equality.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/evaluator_internal.h"

namespace orvane {

namespace {

inline Value second(Value l) { return car(cdr(l)); }

Value body(Value forms) { return eval_sequence(forms); }

Value form_if(Value args) {
  if (is_true(eval(car(args)))) return eval(second(args));
  return body(cdr(cdr(args)));
}

Value form_when(Value args) {
  if (is_false(eval(car(args)))) return kNil;
  return body(cdr(args));
}

Value form_cond(Value args) {
  for (; is_pair(args); args = cdr(args)) {
    Value clause = car(args);
    Value test = car(clause);
    Value value = test == g_sym.else_ ? g_sym.t : eval(test);
    if (is_false(value)) continue;
    Value forms = cdr(clause);
    if (forms == kNil) return value;
    if (car(forms) == g_sym.arrow) {
      Value fn = second(forms);
      return call(fn, {value});
    }
    return body(forms);
  }
  return kNoValue;
}

Value form_set(Value args) {
  Value place = car(args);
  if (!is_variable(place) && !is_symbol(place)) raise_error(2, place);
  Value v = eval(second(args));
  assign_target(place, v);
  return v;
}

bool case_matches(Value key_part, Value key, bool by_type) {
  auto match = [&](Value k) { return by_type ? type_p(key, k) : eqv(k, key); };
  if (is_pair(key_part)) {
    for (; is_pair(key_part); key_part = cdr(key_part))
      if (match(car(key_part))) return true;
    return false;
  }
  return key_part == g_sym.t || key_part == g_sym.else_ || match(key_part);
}

Value form_case(Value args) {
  Value key = eval(car(args));
  for (Value clauses = cdr(args); is_pair(clauses); clauses = cdr(clauses)) {
    Value clause = car(clauses);
    if (case_matches(car(clause), key, false)) return body(cdr(clause));
  }
  return kNoValue;
}

Value form_repeat(Value args) {
  std::int32_t n = integer_of(eval(car(args)));
  Value forms = cdr(args);
  for (std::int32_t i = 0; i < n; ++i) body(forms);
  return kNoValue;
}

Value form_until(Value args) {
  Value test = car(args);
  Value forms = cdr(args);
  do {
    poll_events();
    body(forms);
  } while (is_false(eval(test)));
  return kNoValue;
}

Value form_while(Value args) {
  Value test = car(args);
  Value forms = cdr(args);
  while (is_true(eval(test))) {
    poll_events();
    body(forms);
  }
  return kNoValue;
}

Value form_or(Value args) {
  for (; is_pair(args); args = cdr(args)) {
    Value v = eval(car(args));
    if (is_true(v)) return v;
  }
  return kNil;
}

Value form_and(Value args) {
  Value v = g_sym.t;
  for (; is_pair(args); args = cdr(args)) {
    v = eval(car(args));
    if (is_false(v)) return kNil;
  }
  return v;
}

// fluid-let: the saved values are restored only once every binding was made.
void restore_fluid(Value saved) {
  for (; is_pair(saved); saved = cdr(saved)) {
    Value binding = car(saved);
    assign_symbol(car(binding), cdr(binding));
  }
}

Value form_fluid_let(Value args) {
  Cleanup cleanup(restore_fluid, kNil);
  Value saved = kNil;
  for (Value b = car(args); is_pair(b); b = cdr(b)) {
    Value binding = car(b);
    Value sym = car(binding);
    if (!is_symbol(sym)) raise_error(2, sym);
    // The saved list is kept on the native stack while the bindings are made.
    saved = cons(cons(sym, lookup_symbol(sym)), saved);
    Value rest = cdr(binding);
    assign_symbol(sym, is_pair(rest) ? eval(car(rest)) : kNoValue);
  }
  cleanup.set_data(saved);
  return body(cdr(args));
}

Value form_let(Value args) {
  for (Value b = car(args); is_pair(b); b = cdr(b)) bind_target(car(b));
  return body(cdr(args));
}

Value form_compile(Value args, std::uint32_t head_tag) {
  Value head = head_tag == form::lambda ? g_sym.lambda
               : head_tag == form::gamma ? g_sym.gamma
               : head_tag == form::syntax ? g_sym.syntax
               : head_tag == form::syntax_gamma ? g_sym.syntax_gamma
                                                : g_sym.new_clause;
  Value compiled = compile_function(cons(head, args));
  if (compiled.tag() == tag::gamma || compiled.tag() == tag::syntax_gamma) return close_gamma(compiled);
  return compiled;
}

}  // namespace

Value run_form(std::uint32_t t, Value args) {
  switch (t) {
    case form::quote: return car(args);
    case form::if_: return form_if(args);
    case form::when: return form_when(args);
    case form::cond: return form_cond(args);
    case form::set: return form_set(args);
    case form::case_: return form_case(args);
    case form::repeat: return form_repeat(args);
    case form::until: return form_until(args);
    case form::while_: return form_while(args);
    case form::begin: return body(args);
    case form::or_: return form_or(args);
    case form::and_: return form_and(args);
    case form::send: return send_forms(args);
    case form::fluid_let: return form_fluid_let(args);
    case form::let: return form_let(args);
    case form::lambda:
    case form::gamma:
    case form::syntax:
    case form::syntax_gamma:
    case form::new_clause:
      return form_compile(args, t);
    default:
      raise_error(5, Value::make(t, 0));
  }
}

bool typecase_matches(Value key_part, Value value) { return case_matches(key_part, value, true); }

void register_forms() {
  defform("quote", form::quote);
  defform("if", form::if_);
  defform("when", form::when);
  defform("cond", form::cond);
  defform("set!", form::set);
  defform("new-clause", form::new_clause);
  defform("case", form::case_);
  defform("repeat", form::repeat);
  defform("until", form::until);
  defform("while", form::while_);
  defform("begin", form::begin);
  defform("or", form::or_);
  defform("and", form::and_);
  defform("lambda", form::lambda);
  defform("send", form::send);
  defform("gamma", form::gamma);
  defform("syntax", form::syntax);
  defform("fluid-let", form::fluid_let);
  defform("syntax-gamma", form::syntax_gamma);
  defform("let", form::let);
  defform("let*", form::let);
  defform("letrec", form::let);
}

}  // namespace orvane
