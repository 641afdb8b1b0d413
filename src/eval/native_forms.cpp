// The evaluator's native special forms: they receive their argument forms
// unevaluated.
#include <string>

#include "core/collector.h"
#include "core/equality.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/evaluator_internal.h"
#include "eval/native_forms.h"
#include "objects/object_hooks.h"

namespace orvane {

bool typecase_matches(Value key_part, Value value);

namespace {

inline Value second(Value l) { return car(cdr(l)); }
inline Value third(Value l) { return car(cdr(cdr(l))); }

// --- catch, unwind-protect ---------------------------------------------------------

Value sp_catch(Value args) {
  Value tag = eval(car(args));
  Catcher catcher(tag);
  try {
    return eval_sequence(cdr(args));
  } catch (const Thrower& t) {
    if (t.tag() != tag) throw;
    g_event_poll.event_flag = catcher.saved_event_flag();
    return t.value();
  }
}

void run_cleanup_forms(Value forms) { eval_sequence(forms); }

Value sp_unwind_protect(Value args) {
  Cleanup cleanup(run_cleanup_forms, cdr(args));
  return eval(car(args));
}

// --- Conditionals and sequencing -----------------------------------------------------

Value sp_unless(Value args) {
  if (is_true(eval(car(args)))) return kNil;
  return eval_sequence(cdr(args));
}

Value sp_prog1(Value args) {
  Value first = eval(car(args));
  eval_sequence(cdr(args));
  return first;
}

Value sp_try(Value args) {
  Value object = eval(car(args));
  if (object == kNil) return kNil;
  SelfBinding binding(object);
  return eval_sequence(cdr(args));
}

Value sp_typecase(Value args) {
  Value key = eval(car(args));
  for (Value clauses = cdr(args); is_pair(clauses); clauses = cdr(clauses)) {
    Value clause = car(clauses);
    if (typecase_matches(car(clause), key)) return eval_sequence(cdr(clause));
  }
  return kNoValue;
}

Value sp_comment(Value) { return kNoValue; }

Value sp_free_p(Value args) {
  Value x = car(args);
  Value v = is_variable(x) ? variable_slot(x) : eval(x);
  return v == kNoValue ? g_sym.t : kNil;
}

Value sp_test(Value args) {
  Value form = car(args);
  if (eval(form) == kNil) raise_error(2, form);
  return kNoValue;
}

Value sp_put(Value args) {
  Value object = eval(car(args));
  Value name = second(args);
  Value v = eval(third(args));
  SelfBinding binding(object);
  if (!is_symbol(name)) raise_error(2, name);
  assign_symbol(name, v);
  return v;
}

// --- with --------------------------------------------------------------------------------

void release_with_values(Value values) {
  // The values list is newest first: the reverse order of the bindings.
  for (; is_pair(values); values = cdr(values)) {
    Value v = car(values);
    if ((v.tag() == tag::instance || v.tag() == tag::klass) && v != kNoObject) {
      send(v, g_sym.destroy, {});
    } else if (is_pointer(v)) {
      PointerKind k = pointer_kind(v);
      if (k == PointerKind::memory_pointer || k == PointerKind::handle) dispose_memory_block(v);
    }
  }
}

Value sp_with(Value args) {
  Cleanup cleanup(release_with_values, kNil);
  Value values = kNil;
  for (Value b = car(args); is_pair(b); b = cdr(b)) {
    Value v = bind_target(car(b));
    values = cons(v, values);
  }
  cleanup.set_data(values);
  return eval_sequence(cdr(args));
}

// --- quasiquote ------------------------------------------------------------------------

Value quasi(Value tmpl);

Value quasi_list(Value list) {
  Value head = kNil, tail = kNil;
  auto append = [&](Value x) {
    Value cell = cons(x, kNil);
    if (head == kNil) head = cell;
    else set_cdr(tail, cell);
    tail = cell;
  };
  for (; is_pair(list); list = cdr(list)) {
    Value element = car(list);
    if (is_pair(element) && car(element) == g_sym.unquote) {
      Value rest = cdr(element);
      append(is_pair(rest) ? eval(car(rest)) : kNil);
    } else if (is_pair(element) && car(element) == g_sym.unquote_splicing) {
      Value rest = cdr(element);
      Value spliced = is_pair(rest) ? eval(car(rest)) : kNil;
      for (; is_pair(spliced); spliced = cdr(spliced)) append(car(spliced));
    } else {
      append(quasi(element));
    }
  }
  if (list != kNil) {
    if (head == kNil) return list;
    set_cdr(tail, list);
  }
  return head;
}

Value quasi(Value tmpl) {
  if (!is_pair(tmpl)) return tmpl;
  check_native_stack();
  return quasi_list(tmpl);
}

Value sp_quasiquote(Value args) { return quasi_list(args); }

// --- Destructuring binds -----------------------------------------------------------------

void bind_pattern(Value pattern, Value value) {
  check_native_stack();
  while (is_pair(pattern)) {
    bind_pattern(car(pattern), is_pair(value) ? car(value) : kNil);
    pattern = cdr(pattern);
    value = is_pair(value) ? cdr(value) : kNil;
  }
  if (pattern != kNil) assign_target(pattern, value);
}

Value sp_bind(Value args) {
  Value v = eval(second(args));
  bind_pattern(car(args), v);
  return eval_sequence(cdr(cdr(args)));
}

Value parameter_target(Value parameter) { return is_pair(parameter) ? car(parameter) : parameter; }
Value parameter_default(Value parameter) {
  if (!is_pair(parameter) || !is_pair(cdr(parameter))) return kNil;
  return eval(second(parameter));
}

Value sp_bind_optionals(Value args) {
  Value list = eval(second(args));
  for (Value parameters = car(args); is_pair(parameters); parameters = cdr(parameters)) {
    Value parameter = car(parameters);
    Value v;
    if (is_pair(list)) {
      v = car(list);
      list = cdr(list);
    } else {
      v = parameter_default(parameter);
    }
    assign_target(parameter_target(parameter), v);
  }
  return eval_sequence(cdr(cdr(args)));
}

std::string_view target_name(Value target) {
  if (is_variable(target)) return symbol_name(Value(node_of(target).w1));
  if (is_symbol(target)) return symbol_name(target);
  raise_error(2, target);
}

Value sp_bind_keywords(Value args) {
  Value list = eval(second(args));
  for (Value parameters = car(args); is_pair(parameters); parameters = cdr(parameters)) {
    Value parameter = car(parameters);
    Value target = parameter_target(parameter);
    std::string name(target_name(target));
    Value v = kNoValue;
    bool found = false;
    for (Value l = list; is_pair(l); l = cdr(cdr(l))) {
      if (!is_pair(cdr(l))) raise_error(2, l);
      Value key = car(l);
      if (!is_symbol(key)) continue;
      std::string_view key_name = symbol_name(key);
      if (!key_name.empty() && key_name.substr(1) == name) {
        v = second(l);
        found = true;
        break;
      }
    }
    if (!found) v = parameter_default(parameter);
    assign_target(target, v);
  }
  return eval_sequence(cdr(cdr(args)));
}

// Walks a structure description in step with a value.
void bind_struct_walk(Value description, Value value, Value& pattern) {
  check_native_stack();
  if (is_symbol(description) && description != kNil) {
    Value element = car(pattern);
    if (!is_pair(element) || cdr(element) != description) raise_error(2, element);
    assign_target(car(element), value);
    pattern = cdr(pattern);
    return;
  }
  while (is_pair(description)) {
    bind_struct_walk(car(description), is_pair(value) ? car(value) : kNil, pattern);
    description = cdr(description);
    value = is_pair(value) ? cdr(value) : kNil;
  }
  if (is_symbol(description) && description != kNil) bind_struct_walk(description, value, pattern);
}

Value sp_bind_struct(Value args) {
  Value type = car(args);
  Value description = struct_description(type);
  if (description == kNoValue) raise_error(2, type);
  Value pattern = second(args);
  Value v = eval(third(args));
  bind_struct_walk(description, v, pattern);
  return eval_sequence(cdr(cdr(cdr(args))));
}

Value sp_bind_properties(Value args) {
  for (Value parameters = car(args); is_pair(parameters); parameters = cdr(parameters)) {
    Value parameter = car(parameters);
    if (!is_pair(parameter)) raise_error(2, parameter);
    assign_target(car(parameter), search_property(cdr(parameter)));
  }
  return eval_sequence(cdr(args));
}

// --- define ------------------------------------------------------------------------------

Value sp_define(Value args) {
  Value target = car(args);
  Value name;
  Value v;
  if (is_pair(target)) {
    name = car(target);
    if (!is_symbol(name)) raise_error(2, name);
    v = compile_function(cons(g_sym.lambda, cons(cdr(target), cdr(args))));
    protect(v);
  } else {
    name = target;
    if (!is_symbol(name)) raise_error(2, name);
    Value rest = cdr(args);
    if (is_pair(rest) && is_pair(cdr(rest))) rest = cdr(rest);
    v = is_pair(rest) ? eval(car(rest)) : kNoValue;
  }
  define_value(name, v);
  return name;
}

Value sp_profile(Value args) {
  // (profile form) or (profile label form...): evaluates the forms and
  // answers the last value. It measures nothing; titles keep it for that
  // value.
  if (is_pair(cdr(args))) return eval_sequence(cdr(args));
  return eval(car(args));
}

}  // namespace

void register_special_forms() {
  defspecial("catch", sp_catch);
  defspecial("unwind-protect", sp_unwind_protect);
  defspecial("unless", sp_unless);
  defspecial("prog1", sp_prog1);
  defspecial("try", sp_try);
  defspecial("with", sp_with);
  defspecial("put!", sp_put);
  defspecial("quasiquote", sp_quasiquote);
  defspecial("typecase", sp_typecase);
  defspecial("comment", sp_comment);
  defspecial("free?", sp_free_p);
  defspecial("test", sp_test);
  defspecial("bind", sp_bind);
  defspecial("bind-struct", sp_bind_struct);
  defspecial("bind-keywords", sp_bind_keywords);
  defspecial("bind-optionals", sp_bind_optionals);
  defspecial("bind-properties", sp_bind_properties);
  defspecial("define", sp_define);
  defspecial("profile", sp_profile);
}

}  // namespace orvane
