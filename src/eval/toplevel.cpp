#include "eval/toplevel.h"

#include "core/collector.h"
#include "core/native_objects.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"

namespace orvane {

namespace {

Value g_pending[2] = {kNil, kNil};
bool g_has_pending = false;
bool g_pending_registered = false;

bool defines_own_frame(Value head) {
  return head == g_sym.lambda || head == g_sym.gamma || head == g_sym.syntax ||
         head == g_sym.syntax_gamma || head == g_sym.new_clause || head == g_sym.quote ||
         head == intern_constant("defclause") ||
         head == intern_constant("comment");
}

// Whether a top-level form uses logic variables outside the function forms
// that compile their own.
bool uses_free_variables(Value form, int depth) {
  if (is_variable(form)) return true;
  if (!is_pair(form) || depth > 200) return false;
  if (defines_own_frame(car(form))) return false;
  // (define (name parameters) body) compiles a function; (define name value)
  // evaluates the value here.
  if (car(form) == g_sym.define) {
    Value rest = cdr(form);
    if (!is_pair(rest) || is_pair(car(rest))) return false;
    return uses_free_variables(cdr(rest), depth + 1);
  }
  for (; is_pair(form); form = cdr(form))
    if (uses_free_variables(car(form), depth + 1)) return true;
  return is_variable(form);
}

}  // namespace

Value eval_top_level_form(Value form) {
  EnvironmentReset top;
  if (uses_free_variables(form, 0)) {
    Value fn = compile_function(list_of({g_sym.lambda, kNil, form}));
    return call(fn, {});
  }
  return eval(form);
}

TopLevelResult eval_toplevel(Value form) {
  close_released_native_objects();
  TopLevelResult result;
  try {
    result.value = eval_top_level_form(form);
    result.completed = true;
  } catch (const Thrower&) {
    result.completed = false;
  } catch (const ErrorPrinting&) {
    result.completed = false;
  }
  return result;
}

void set_pending_throw(Value tag, Value value) {
  if (!g_pending_registered) {
    add_root_range(g_pending, 2);
    g_pending_registered = true;
  }
  g_pending[0] = tag;
  g_pending[1] = value;
  g_has_pending = true;
}

bool take_pending_throw(Value& tag, Value& value) {
  if (!g_has_pending) return false;
  tag = g_pending[0];
  value = g_pending[1];
  g_has_pending = false;
  return true;
}

}  // namespace orvane
