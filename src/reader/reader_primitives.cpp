// The reader's Lisp primitives and special forms, and its registration.
#include <string>

#include "core/collector.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/real_text.h"
#include "lib/streams.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

// A character argument: a code 0-255.
unsigned char character_of(Value v) {
  if (!is_fixnum(v) || v.fixnum() < 0 || v.fixnum() > 255) raise_error(2, v);
  return static_cast<unsigned char>(v.fixnum());
}

// What `read` makes of a token at top level.
Value top_level_datum(Token t) {
  if (t.is_datum()) return t.value;
  if (t.is(Marker::end) || t.is(Marker::nothing)) return kNil;
  unexpected_token();
}

Value p_read(Value source) {
  SourceScope scope;
  scope.install(source);
  wait_for_terminal_input();
  advance();
  return top_level_datum(read_token());
}

// The characters up to the next carriage return; line feeds are dropped.
Value p_readline(Value source) {
  SourceScope scope;
  scope.install(source);
  wait_for_terminal_input();
  std::string line;
  for (;;) {
    advance();
    int c = g_reader.current;
    if (c == kEndOfInput || c == '\r') break;
    if (c == '\n') continue;
    // A string ends at its first zero byte and holds at most 65,534 bytes.
    if (c == 0 || line.size() == 0xfffe) raise_error(2, kNil);
    line.push_back(static_cast<char>(c));
  }
  return line.empty() ? g_mem.empty_string : make_string(line);
}

Value p_readch(Value source) {
  SourceScope scope;
  scope.install(source);
  wait_for_terminal_input();
  advance();
  return make_fixnum(g_reader.current);
}

Value p_parse(Value text) {
  if (!is_string(text)) raise_error(2, text);
  return parse_text(string_view_of(text));
}

Value p_read_delimited_list(Value end_closes, Value closer) {
  if (!is_fixnum(closer)) raise_error(2, closer);
  Marker marker;
  switch (closer.fixnum()) {
    case 2:
      marker = Marker::close_list;
      break;
    case 3:
      marker = Marker::dot;
      break;
    case 15:
      marker = Marker::end;
      break;
    case 18:
      marker = Marker::close_brace;
      break;
    default:
      raise_error(2, closer);
  }
  SourceScope scope;
  wait_for_terminal_input();
  advance();
  return read_list_body(marker, is_true(end_closes));
}

class DecimalMarkScope {
 public:
  explicit DecimalMarkScope(char mark) : saved_(g_decimal_mark) { g_decimal_mark = mark; }
  ~DecimalMarkScope() { g_decimal_mark = saved_; }
  DecimalMarkScope(const DecimalMarkScope&) = delete;
  DecimalMarkScope& operator=(const DecimalMarkScope&) = delete;

 private:
  char saved_;
};

Value p_with_dot_mark(Value mark, Value fn) {
  DecimalMarkScope scope(static_cast<char>(character_of(mark)));
  return call(fn, {});
}

Value p_typech(Value c, Value type) {
  unsigned char code = character_of(c);
  if (type != kNil) {
    if (!is_fixnum(type) || type.fixnum() < 0 || type.fixnum() > 255) raise_error(2, type);
    g_char_types[code] = static_cast<std::uint8_t>(type.fixnum());
  }
  return make_fixnum(g_char_types[code]);
}

Value p_get_macro_character(Value c) { return g_reader.macros[character_of(c)]; }

Value p_set_macro_character(Value c, Value fn) {
  g_reader.macros[character_of(c)] = fn;
  return kNoValue;
}

Value p_symbol_to_keyword(Value s) {
  if (is_variable(s)) s = Value(node_of(s).w1);
  if (!is_symbol(s)) raise_error(2, s);
  return keyword_of(s);
}

// The name without its first character. The result is not cached in the
// keyword's twin field: that field names the keyword of a symbol, and a
// keyword's own keyword must stay reachable through it.
Value p_keyword_to_symbol(Value k) {
  if (!is_symbol(k)) raise_error(2, k);
  std::string name(symbol_name(k));
  if (name.empty()) raise_error(2, k);
  return intern(std::string_view(name).substr(1));
}

Value p_genvarlog(Value name) { return make_logic_variable(name); }

// (dmc char form...) and (ddc char form...): the forms become the body of a
// function without parameters.
unsigned char form_character(Value forms) { return character_of(is_pair(forms) ? car(forms) : kNil); }

Value reader_function(Value forms) { return eval(cons(g_sym.lambda, cons(kNil, cdr(forms)))); }

Value s_dmc(Value forms) {
  unsigned char c = form_character(forms);
  Value fn = reader_function(forms);
  g_char_types[c] = chartype::macro;
  g_reader.macros[c] = fn;
  return kNoValue;
}

Value s_ddc(Value forms) {
  unsigned char c = form_character(forms);
  g_reader.dispatch[c] = reader_function(forms);
  return kNoValue;
}

void register_roots() {
  // The tables live as long as the process; register them once per run-time.
  for (Value* first : {g_reader.macros.data(), g_reader.dispatch.data(), g_reader.source.values.data()})
    remove_root_range(first);
  add_root_range(g_reader.macros.data(), g_reader.macros.size());
  add_root_range(g_reader.dispatch.data(), g_reader.dispatch.size());
  add_root_range(g_reader.source.values.data(), g_reader.source.values.size());
}

}  // namespace

void register_reader() {
  g_reader = ReaderState{};
  g_reader.macros.fill(kNil);
  g_reader.dispatch.fill(kNil);
  g_char_types = initial_char_types();
  g_decimal_mark = '.';
  register_roots();

  g_reader.terminal_in = intern_constant("terminal-in", kNil);
  g_reader.load_file = intern_constant("Load-File", kNil);
  g_reader.mac = intern_constant("mac");
  g_reader.machine = intern_constant("Machine", intern_constant("ibm"));
  g_reader.sym_and = intern_constant("and");
  g_reader.sym_or = intern_constant("or");
  g_reader.sym_not = intern_constant("not");

  g_reader.logic_variable_reader = make_primitive("read-logic-variable", read_logic_variable);
  g_reader.character_reader = make_primitive("read-character", read_character);
  g_reader.vector_reader = make_primitive("read-vector", read_vector);
  g_reader.language_text_reader = make_primitive("read-language-text", read_language_text);
  g_reader.macros['_'] = g_reader.logic_variable_reader;
  g_reader.dispatch['\\'] = g_reader.character_reader;
  g_reader.dispatch['('] = g_reader.vector_reader;
  g_reader.dispatch['{'] = g_reader.language_text_reader;

  defprim("read", p_read);
  defprim("readline", p_readline);
  defprim("readch", p_readch);
  defprim("parse", p_parse);
  defprim("read-delimited-list", p_read_delimited_list);
  defprim("with-dot-mark", p_with_dot_mark);
  defprim("typech", p_typech);
  defprim("get-macro-character", p_get_macro_character);
  defprim("set-macro-character", p_set_macro_character);
  defprim("symbol->keyword", p_symbol_to_keyword);
  defprim("keyword->symbol", p_keyword_to_symbol);
  defprim("genvarlog", p_genvarlog);
  defspecial("dmc", s_dmc);
  defspecial("ddc", s_ddc);
}

}  // namespace orvane
