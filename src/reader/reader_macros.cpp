// Macro characters: "#" dispatch, "&" feature tests, "'" quote, ":"
// keywords and the functions of the two tables, with the built-in ones
// ("_" logic variables, "#\" characters, "#(" vectors, "#{" texts by
// language), and the source-position form "{".
#include <cstring>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "reader/mac_charset.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

struct CharacterName {
  std::string_view name;
  int code;
};

// The codes above 127 are positions in the Macintosh character set.
constexpr CharacterName kCharacterNames[] = {
    {"enter", 3},
    {"info", 5},
    {"backspace", 8},
    {"tab", 9},
    {"linefeed", 10},
    {"vtab", 11},
    {"return", 13},
    {"escape", 27},
    {"left-arrow", 28},
    {"right-arrow", 29},
    {"up-arrow", 30},
    {"down-arrow", 31},
    {"space", 32},
    {"question-mark", 47},
    {"semi-colon", 59},
    {"left-parenthesis", 40},
    {"right-parenthesis", 41},
    {"check-mark", 42},
    {"triangle", 43},
    {"angle", 176},
    {"ellipsis", 201},
    {"diamond", 215},
    {"lower-equal", 178},
    {"greater-equal", 179},
    {"not-equal", 173},
};

// Membership by identity; a circular list ends the search instead of
// looping (the list is the title's `Features`).
bool member_eq(Value x, Value list) {
  Value slow = list;
  while (is_pair(list)) {
    if (car(list) == x) return true;
    list = cdr(list);
    if (!is_pair(list)) break;
    if (car(list) == x) return true;
    list = cdr(list);
    slow = cdr(slow);
    if (list == slow) return false;
  }
  return false;
}

bool feature_true(Value expression, Value features) {
  check_native_stack();
  if (!is_pair(expression)) return member_eq(expression, features);
  Value head = car(expression);
  Value args = cdr(expression);
  if (head == g_reader.sym_and || head == g_reader.sym_or) {
    bool is_and = head == g_reader.sym_and;
    for (; is_pair(args); args = cdr(args)) {
      if (feature_true(car(args), features) != is_and) return !is_and;
    }
    return is_and;
  }
  if (head == g_reader.sym_not) return !feature_true(is_pair(args) ? car(args) : kNil, features);
  raise_error(2, head);
}

// "&" expression datum: the datum when the expression holds for `Features`,
// else "nothing" (the datum is read all the same).
Token read_feature_conditional() {
  advance();
  Value expression = read_required_datum();
  Value features = lookup_symbol(g_sym.features);
  if (features == kNoValue) raise_error(6, g_sym.features);
  bool holds = feature_true(expression, features);
  Token t = read_token();
  if (!t.is_datum() && !t.is(Marker::nothing)) unexpected_token();
  return holds ? t : Token::of(Marker::nothing);
}

Value keyword_named(std::string_view name) {
  if (name.find('\0') != std::string_view::npos) raise_error(2, kNil);
  return intern_keyword(name);
}

Value list_to_vector(Value list) {
  std::uint32_t count = 0;
  Value rest = list;
  for (; is_pair(rest); rest = cdr(rest)) ++count;
  if (rest != kNil) raise_error(2, list);
  if (count > 16383) raise_error(2, make_integer(count));
  // Kept on the Lisp stack across the reservation, which may collect.
  LispStackMark mark;
  lisp_push(list);
  std::uint32_t size = 2 + 4 * count;
  std::uint8_t* data = reserve_indirect(size);
  auto n = static_cast<std::uint16_t>(count);
  data[0] = static_cast<std::uint8_t>(n & 0xff);
  data[1] = static_cast<std::uint8_t>(n >> 8);
  std::uint8_t* slot = data + 2;
  for (rest = list; is_pair(rest); rest = cdr(rest), slot += 4) {
    std::uint32_t word = car(rest).bits;
    std::memcpy(slot, &word, 4);
  }
  return commit_indirect(size, tag::vector, header::vector);
}

// The function of a table entry, with the built-in ones run directly.
Value call_reader_function(Value f) {
  if (f == g_reader.logic_variable_reader) return read_logic_variable();
  if (f == g_reader.character_reader) return read_character();
  if (f == g_reader.vector_reader) return read_vector();
  if (f == g_reader.language_text_reader) return read_language_text();
  return call(f, {});
}

}  // namespace

// --- Built-in table functions (the current character is the one that chose
// them) -------------------------------------------------------------------------------

Value read_logic_variable() {
  advance();
  char buffer[kMaxTokenLength + 1];
  return make_logic_variable(intern_token_name(collect_name(buffer)));
}

// A character alone, or a name of the table when name characters follow.
Value read_character() {
  advance();
  int x = g_reader.current;
  if (x == kEndOfInput) unexpected_token();
  advance();
  int c = g_reader.current;
  if (c != kEndOfInput) {
    std::uint8_t t = char_type(static_cast<unsigned char>(c));
    if (t == chartype::symbol || t == chartype::sign) {
      char buffer[kMaxTokenLength + 1];
      char first = static_cast<char>(x);
      std::string_view name = collect_name(buffer, std::string_view(&first, 1));
      for (const auto& entry : kCharacterNames)
        if (entry.name == name) return make_fixnum(entry.code);
      raise_error(2, intern_token_name(name));
    }
  }
  if (lookup_symbol(g_reader.machine) == g_reader.mac) x = windows_to_mac(static_cast<std::uint8_t>(x));
  return make_fixnum(x);
}

Value read_vector() {
  advance();
  return list_to_vector(read_list_body(Marker::close_list, false));
}

// Alternating keys and texts; the text after the key that is the value of
// `Langage`.
Value read_language_text() {
  advance();
  Value items = read_list_body(Marker::close_brace, false);
  Value language = lookup_symbol(g_sym.langage);
  if (language == kNoValue) raise_error(6, g_sym.langage);
  for (Value rest = items; is_pair(rest);) {
    Value text = cdr(rest);
    if (!is_pair(text)) break;
    if (car(rest) == language) return car(text);
    rest = cdr(text);
  }
  raise_error(2, items);
}

// --- Token routines --------------------------------------------------------------------

Token read_macro_token() {
  switch (g_reader.current) {
    case '#': {
      advance();
      if (g_reader.current == kEndOfInput) unexpected_token();
      return Token::datum(call_reader_function(g_reader.dispatch[g_reader.current]));
    }
    case '&':
      return read_feature_conditional();
    case '\'': {
      advance();
      Value datum = read_required_datum();
      return Token::datum(list_of({g_sym.quote, datum}));
    }
    case ':': {
      advance();
      char buffer[kMaxTokenLength + 1];
      return Token::datum(keyword_named(collect_name(buffer)));
    }
    default: {
      std::uint64_t before = g_reader.advances;
      Value datum = call_reader_function(g_reader.macros[g_reader.current]);
      // A function that took no character (or read only from another
      // source) would be called again on the same character forever.
      if (g_reader.advances == before) advance();
      return Token::datum(datum);
    }
  }
}

// "{" name ... "}" while a file loads: (name file start end), the offsets of
// the text between the braces.
Token read_source_position() {
  Value file = lookup_symbol(g_reader.load_file);
  if (is_false(file)) raise_error(2, kNil);
  std::int64_t start = source_position();
  advance();
  Value items = read_list_body(Marker::close_brace, false);
  std::int64_t end = source_position();
  Value name = car(items);
  if (is_pair(name)) name = is_pair(cdr(name)) ? car(cdr(name)) : kNil;
  return Token::datum(list_of({name, file, make_integer(start), make_integer(end - 1)}));
}

}  // namespace orvane
