// The token loop and the token routines of symbols, strings, lists and the
// one-character tokens.
#include <string>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "reader/reader_state.h"

namespace orvane {

namespace {

// Nesting deeper than this is refused even when the native stack would hold
// it, so that data the reader builds stays within reach of the printer and
// the evaluator.
constexpr int kMaxNesting = 10000;

class NestingGuard {
 public:
  NestingGuard() {
    check_native_stack();
    if (g_reader.depth >= kMaxNesting) raise_error(9, kNil);
    ++g_reader.depth;
  }
  ~NestingGuard() { --g_reader.depth; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
};

bool is_name_type(std::uint8_t t) {
  return t == chartype::escape || t == chartype::dot || t == chartype::symbol || t == chartype::digit ||
         t == chartype::sign;
}

// The largest string the indirect area can hold (16-bit sizes, one byte for
// the terminating zero).
constexpr std::size_t kMaxStringLength = 0xfffe;

Token read_symbol() {
  char buffer[kMaxTokenLength + 1];
  return Token::datum(intern_token_name(collect_name(buffer)));
}

// A line feed is dropped (text files end lines with CR LF, the run-time with
// CR); an escape takes the next character as it is.
Token read_string() {
  std::string text;
  for (;;) {
    advance();
    int c = g_reader.current;
    if (c == kEndOfInput) unexpected_token();
    std::uint8_t t = char_type(static_cast<unsigned char>(c));
    if (t == chartype::string) break;
    if (t == chartype::escape) {
      advance();
      c = g_reader.current;
      if (c == kEndOfInput) unexpected_token();
    } else if (c == '\n') {
      continue;
    }
    // Strings end at their first zero byte and hold at most 65,534 bytes.
    if (c == 0 || text.size() == kMaxStringLength) raise_error(2, kNil);
    text.push_back(static_cast<char>(c));
  }
  advance();
  if (text.empty()) return Token::datum(g_mem.empty_string);
  return Token::datum(make_string(text));
}

// A closer does not advance: reading a list from the terminal must not wait
// for a character after its closing parenthesis.
Token close_token(Marker m) {
  g_reader.current = ' ';
  return Token::of(m);
}

Token run_token_routine(std::uint8_t type) {
  switch (type) {
    case chartype::escape:
    case chartype::symbol:
      return read_symbol();
    case chartype::open_list:
      advance();
      return Token::datum(read_list_body(Marker::close_list, false));
    case chartype::close_list:
    case chartype::close_list_alt:
      return close_token(Marker::close_list);
    case chartype::dot:
      advance();
      return Token::of(Marker::dot);
    case chartype::macro:
      return read_macro_token();
    case chartype::string:
      return read_string();
    case chartype::digit:
    case chartype::sign:
      return read_number_token();
    case chartype::compact_symbol1:
    case chartype::compact_symbol2:
    case chartype::compact_symbol3:
    case chartype::compact_fixnum1:
    case chartype::compact_fixnum2:
    case chartype::compact_variable:
      return read_compact_token(type);
    case chartype::open_brace:
      return read_source_position();
    case chartype::close_brace:
      return close_token(Marker::close_brace);
    default:  // chartype::invalid
      raise_error(2, kNil);
  }
}

}  // namespace

void unexpected_token() { raise_error(25, kNil); }

Value intern_token_name(std::string_view name) {
  // Symbol names end at their first zero byte: such a name cannot be kept.
  if (name.find('\0') != std::string_view::npos) raise_error(2, kNil);
  return intern(name);
}

std::string_view collect_name(char (&buffer)[kMaxTokenLength + 1], std::string_view prefix) {
  std::size_t n = prefix.copy(buffer, kMaxTokenLength);
  for (;;) {
    int c = g_reader.current;
    if (c == kEndOfInput) break;
    std::uint8_t t = char_type(static_cast<unsigned char>(c));
    if (!is_name_type(t)) break;
    if (t == chartype::escape) {
      advance();
      c = g_reader.current;
      if (c == kEndOfInput) break;
    }
    if (n == kMaxTokenLength) raise_error(2, kNil);
    buffer[n++] = static_cast<char>(c);
    advance();
  }
  return std::string_view(buffer, n);
}

Token read_token() {
  NestingGuard guard;
  for (;;) {
    int c = g_reader.current;
    if (c == kEndOfInput) return Token::of(Marker::end);
    std::uint8_t t = char_type(static_cast<unsigned char>(c));
    if (t < chartype::comment) return run_token_routine(t);
    if (t == chartype::comment) {
      do {
        advance();
      } while (g_reader.current != kEndOfInput &&
               char_type(static_cast<unsigned char>(g_reader.current)) != chartype::line_end);
      if (g_reader.current == kEndOfInput) return Token::of(Marker::end);
    }
    advance();  // whitespace: line ends, blanks and every type from 22 on
  }
}

Token read_element() {
  for (;;) {
    Token t = read_token();
    if (!t.is(Marker::nothing)) return t;
  }
}

Value read_required_datum() {
  Token t = read_element();
  if (!t.is_datum()) unexpected_token();
  return t.value;
}

// An element after a dotted tail replaces the tail, as it always has; a
// closer other than the expected one, a dot first or a dot after a dot is an
// error (their markers must never become data).
Value read_list_body(Marker closer, bool end_closes) {
  Token t = read_element();
  if (t.is(closer) || (t.is(Marker::end) && end_closes)) return kNil;
  if (!t.is_datum()) unexpected_token();
  Value head = cons(t.value, kNil);
  // The list is kept on the Lisp stack while it grows: the optimiser may
  // keep only the node offset of a local, which the collector's scan of the
  // native stack cannot recognise.
  LispStackMark mark;
  lisp_push(head);
  Value last = head;
  bool dotted = false;
  for (;;) {
    t = read_element();
    if (t.is(closer) || (t.is(Marker::end) && end_closes)) return head;
    if (t.is(Marker::dot)) {
      set_cdr(last, read_required_datum());
      dotted = true;
      continue;
    }
    if (!t.is_datum()) unexpected_token();
    if (dotted) {
      set_cdr(last, t.value);
    } else {
      Value cell = cons(t.value, kNil);
      set_cdr(last, cell);
      last = cell;
    }
  }
}

}  // namespace orvane
