// The Lisp primitives of the value layer (those on symbols that need the
// evaluator are in eval/symbol_primitives.cpp).
#include "core/core_primitives.h"

#include "core/equality.h"
#include "core/errors.h"
#include "core/primitives.h"
#include "core/symbols.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

Value p_type_of(Value v) { return type_of(v); }
Value p_type_p(Value v, Value type) { return boolean(type_p(v, type)); }
Value p_eq(Value a, Value b) { return boolean(a == b); }
Value p_neq(Value a, Value b) { return boolean(a != b); }
Value p_eqv(Value a, Value b) { return boolean(eqv(a, b)); }
Value p_equal(Value a, Value b) { return boolean(equal(a, b)); }
Value p_true() { return g_sym.t; }
Value p_false() { return kNil; }
Value p_boolean_p(Value v) { return boolean(v == kNil || v == g_sym.t); }
Value p_not(Value v) { return boolean(v == kNil); }
Value p_symbol_p(Value v) { return boolean(is_symbol(v)); }
Value p_function_p(Value v) { return boolean(v.tag() == tag::function); }
Value p_special_p(Value v) { return boolean(v.tag() == tag::special); }
Value p_procedure_p(Value v) {
  switch (v.tag()) {
    case tag::function: case tag::primitive: case tag::special: case tag::predicate:
    case tag::lexical: case tag::gamma: case tag::closed:
      return g_sym.t;
    default:
      return kNil;
  }
}

}  // namespace

void register_core() {
  g_sym.t = intern_constant("t");
  set_symbol_global(g_sym.t, g_sym.t);
  g_sym.nil = intern_constant("nil", kNil);
  auto k = [](const char* name) { return intern_constant(name); };
  g_sym.quote = k("quote");
  g_sym.lambda = k("lambda");
  g_sym.gamma = k("gamma");
  g_sym.syntax = k("syntax");
  g_sym.syntax_gamma = k("syntax-gamma");
  g_sym.new_clause = k("new-clause");
  g_sym.else_ = k("else");
  g_sym.self = k("self");
  g_sym.toplevel = k("toplevel");
  g_sym.cancel = k("cancel");
  g_sym.resume = k("resume");
  g_sym.break_ = k("break");
  g_sym.load_module = k("load-module");
  g_sym.error_trap = k("error-trap");
  g_sym.error_handler = intern_constant("Error-Handler", kNil);
  g_sym.error_module = intern_constant("Error-Module", kNil);
  g_sym.message_kw = intern_constant(":message");
  set_symbol_global(g_sym.message_kw, g_sym.message_kw);
  g_sym.unquote = k("unquote");
  g_sym.unquote_splicing = k("unquote-splicing");
  g_sym.destroy = k("destroy");
  g_sym.print_self = k("print-self");
  g_sym.read_proc = k("read-proc");
  g_sym.write_proc = k("write-proc");
  g_sym.define = k("define");
  g_sym.set = k("set!");
  g_sym.defslot = k("defslot");
  g_sym.when = k("when");
  g_sym.let = k("let");
  g_sym.features = k("Features");
  g_sym.langage = k("Langage");
  g_sym.object = k("object");
  g_sym.klass = k("class");
  g_sym.instance = k("instance");
  g_sym.arrow = k("=>");

  defprim("type-of", p_type_of);
  defprim("type?", p_type_p);
  defprim("eq?", p_eq);
  defprim("neq?", p_neq);
  defprim("eqv?", p_eqv);
  defprim("equal?", p_equal);
  defprim("true", p_true);
  defprim("false", p_false);
  defprim("boolean?", p_boolean_p);
  defprim("not", p_not);
  defprim("null?", p_not);
  defprim("symbol?", p_symbol_p);
  defprim("function?", p_function_p);
  defprim("special?", p_special_p);
  defprim("procedure?", p_procedure_p);
}

}  // namespace orvane
