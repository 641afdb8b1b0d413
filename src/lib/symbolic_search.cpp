// The primitives of the symbolic search and the `Symbolic-Token` marker.
// The text is copied out of its block first: matching allocates, and no
// host pointer into a block may be kept across an allocation.
#include "lib/symbolic_search.h"

#include "core/collector.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/charsets_blocks.h"

namespace orvane {

namespace {

using symbolic::Binding;
using symbolic::PatternMatcher;
using symbolic::TextScanner;
using symbolic::Token;
using symbolic::TokenKind;

// Patterns in one search; more means a circular list.
constexpr std::uint32_t kMaxPatterns = 1u << 20;

Value marker() { return symbol_global(intern("Symbolic-Token")); }

struct TextRange {
  std::vector<std::uint8_t> text;
  std::uint32_t start;
  std::uint32_t end;
};

// The text and a range [start, end) inside it; error 2 for a range that is
// reversed or runs past the length.
TextRange text_range(Value pointer, Value length, Value start, Value end) {
  std::uint32_t n = charsets::count_argument(length);
  std::uint32_t from = charsets::count_argument(start);
  std::uint32_t to = charsets::count_argument(end);
  if (to > n) raise_error(2, end);
  if (from > to) raise_error(2, start);
  return {charsets::copy_text(pointer, n), from, to};
}

// (head start . end), with every intermediate Value rooted.
Value located(Value head, std::uint32_t start, std::uint32_t end) {
  GcRoot from(make_integer(start));
  GcRoot to(make_integer(end));
  GcRoot range(cons(from.get(), to.get()));
  return cons(head, range.get());
}

// Where the search looks for the token after `current`: inside a list, past
// a prefix, otherwise (and always when flat) after the token.
std::uint32_t next_look(const TextScanner& scanner, Token current, bool flat) {
  if (flat || current.start >= current.end) return current.end;
  TokenKind kind = scanner.kind_at(current.start);
  if (kind == TokenKind::list || kind == TokenKind::prefixed) return current.start + 1;
  return current.end;
}

Value p_search_symbolic(Value patterns, Value pointer, Value length, Value start, Value end, Value flat) {
  TextRange range = text_range(pointer, length, start, end);
  TextScanner scanner(range.text);
  PatternMatcher matcher(scanner, marker(), nullptr);
  Token current{range.start, range.end};
  // Each token found starts after the previous one's start, so the walk
  // ends.
  while (auto token = scanner.token_at(next_look(scanner, current, is_true(flat)), true)) {
    std::uint32_t count = 0;
    for (Value rest = patterns; is_pair(rest); rest = cdr(rest)) {
      if (++count > kMaxPatterns) raise_error(2, patterns);
      if (matcher.match(car(rest), *token)) return located(car(rest), token->start, token->end);
    }
    current = *token;
  }
  return kNil;
}

// A list token must end at its own closing bracket for its elements to be
// found; any other range is taken as given.
bool is_whole_token(const TextScanner& scanner, Token token) {
  if (token.start >= token.end || scanner.kind_at(token.start) != TokenKind::list) return true;
  auto whole = scanner.token_at(token.start);
  return whole && whole->start == token.start && whole->end == token.end;
}

Value p_unify_expr(Value pattern, Value pointer, Value length, Value start, Value end) {
  TextRange range = text_range(pointer, length, start, end);
  TextScanner scanner(range.text);
  Token token{range.start, range.end};
  std::vector<Binding> bindings;
  PatternMatcher matcher(scanner, marker(), &bindings);
  if (!is_whole_token(scanner, token) && !(is_pair(pattern) && car(pattern) == marker())) return kNil;
  if (!matcher.match(pattern, token)) return kNil;
  GcRoot result(kNil);
  for (auto it = bindings.rbegin(); it != bindings.rend(); ++it) {
    GcRoot binding(located(it->element, it->start, it->end));
    result.set(cons(binding.get(), result.get()));
  }
  return result.get();
}

}  // namespace

void register_symbolic_search() {
  defprim("search-symbolic", p_search_symbolic);
  defprim("unify-expr", p_unify_expr);
  // A fresh pair: patterns recognise it by identity only.
  set_symbol_global(intern("Symbolic-Token"), cons(kNil, kNil));
}

}  // namespace orvane
