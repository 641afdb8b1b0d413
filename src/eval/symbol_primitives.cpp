// The primitives on symbols that look at them the way the evaluator does
// (with the current `self`, logic variables of the current clause).
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/clauses.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "reader/printer.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

Value require_symbol(Value v) {
  if (!is_symbol(v)) raise_error(2, v);
  return v;
}

Value p_symbol_value(Value sym) {
  Value v = lookup_symbol(require_symbol(sym));
  if (v == kNoValue) raise_error(6, sym);
  return v;
}

Value p_set(Value sym, Value v) {
  assign_symbol(require_symbol(sym), v);
  return v;
}

Value p_bound_p(Value v) {
  if (is_symbol(v)) return boolean(symbol_bound(v));
  if (is_variable(v)) return boolean(variable_bound(v));
  raise_error(2, v);
}
Value p_unbound_p(Value v) { return boolean(p_bound_p(v) == kNil); }

Value p_find_symbol(Value v) { return find_symbol(value_to_text(v)); }

Value p_mapatoms(Value fn) {
  // Collected newest first; the list itself is a local Value on the native
  // stack, seen by the collector.
  Value result = kNil;
  for (std::uint32_t i = 0; i < g_mem.symbol_count; ++i) {
    if (symbol_entry_at(i).name.bits == 0) continue;
    Value sym = symbol_at(i);
    if (call(fn, {sym}) != kNil) result = cons(sym, result);
  }
  return result;
}

}  // namespace

void register_symbol_primitives() {
  defprim("symbol->value", p_symbol_value);
  defprim("set", p_set);
  defprim("bound?", p_bound_p);
  defprim("unbound?", p_unbound_p);
  defprim("find-symbol", p_find_symbol);
  defprim("mapatoms", p_mapatoms, arity::system);
}

}  // namespace orvane
