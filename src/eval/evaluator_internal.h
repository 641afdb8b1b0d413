// Shared between the evaluator's files; not for other subsystems.
#pragma once

#include <span>

#include "core/memory.h"
#include "eval/context.h"

namespace orvane {

// Where the arguments of a call come from: a list of Values used as they
// are, a list of forms evaluated here, or an array of evaluated Values.
struct ArgSource {
  enum class Mode { values = 0, forms = 1, array = 2 };
  Mode mode;
  Value list = kNil;
  const Value* pos = nullptr;
  const Value* end = nullptr;

  static ArgSource forms(Value l) { return {Mode::forms, l, nullptr, nullptr}; }
  static ArgSource values(Value l) { return {Mode::values, l, nullptr, nullptr}; }
  static ArgSource array(std::span<const Value> a) { return {Mode::array, kNil, a.data(), a.data() + a.size()}; }

  bool more() const { return mode == Mode::array ? pos != end : is_pair(list); }
  Value next();
  // The remaining arguments as a list of Values (forms evaluated in order).
  Value rest_values();
  // The remaining arguments as a list, unevaluated (for specials and forms).
  Value rest_raw();
};

// Applies a function Value by its kind; `form` is the calling form (mode 1).
Value apply_kind(Value f, ArgSource& args, Value form);

// The slot a compiled variable names in the current lexical environment;
// error 6 with the variable when there is no such frame or slot.
Value& variable_slot(Value var);

// Stores into a target: a lexical variable or a symbol; error 2 otherwise.
void assign_target(Value target, Value v);
// One `(target form)` binding of `let` and `with`: the form's value (no-value
// without one) assigned to the target; raises error 2 when it is no list.
Value bind_target(Value binding);

// Closes a compiled gamma or syntax-gamma in the current environment.
Value close_gamma(Value template_);

// The `send` form: (send receiver selector argument...) with the list of
// forms after `send`.
Value send_forms(Value forms);

// Runs the evaluator's built-in form with that tag on its argument forms.
Value run_form(std::uint32_t form_tag, Value args);

// The clause engine's entry points (the clause engine defines them).
Value make_clause(Value form, std::uint32_t variable_count);
Value call_predicate(Value predicate, Value form);
Value deref_bound_term(Value term);

}  // namespace orvane
