// Matching tokens of raw text against patterns.
#include <string>
#include <string_view>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/symbolic_search.h"

namespace orvane::symbolic {

namespace {

// Deep enough for any written pattern; the native stack guard still holds
// where frames are larger than usual.
constexpr std::uint32_t kMaxDepth = 4000;

}  // namespace

PatternMatcher::DepthGuard::DepthGuard(PatternMatcher& m, Value culprit) : matcher_(m) {
  if (matcher_.depth_ >= kMaxDepth) raise_error(2, culprit);
  ++matcher_.depth_;
}

bool PatternMatcher::is_marker_element(Value p) const { return is_pair(p) && car(p) == marker_; }

std::int32_t PatternMatcher::marker_kind(Value element) {
  Value rest = cdr(element);
  if (!is_pair(rest) || !is_fixnum(car(rest))) return 0;
  return car(rest).fixnum();
}

void PatternMatcher::bind(Value element, std::uint32_t start, std::uint32_t end) {
  if (bindings_) bindings_->push_back({element, start, end});
}

void PatternMatcher::rollback(std::size_t mark) {
  if (bindings_) bindings_->resize(mark);
}

std::optional<Token> PatternMatcher::next_inner(std::uint32_t pos, std::uint32_t close) const {
  std::optional<Token> token = text_.token_at(pos);
  if (!token.has_value()) return std::nullopt;
  if (token->start >= close || token->end > close) return std::nullopt;
  return token;
}

bool PatternMatcher::only_close_remains(std::uint32_t pos, std::uint32_t close) const {
  return text_.skip_separators(pos, false) == close;
}

bool PatternMatcher::match(Value pattern, Token token) {
  DepthGuard guard(*this, pattern);
  if (is_marker_element(pattern)) {
    bind(pattern, token.start, token.end);
    return true;
  }
  if (token.start >= token.end || token.end > text_.size()) return false;
  switch (text_.kind_at(token.start)) {
    case TokenKind::list:
      return is_list(pattern) && match_list(pattern, token);
    case TokenKind::string:
      return match_string(pattern, token);
    case TokenKind::atom:
      return match_atom(pattern, token);
    case TokenKind::prefixed:
      return false;
  }
  return false;
}

bool PatternMatcher::match_atom(Value pattern, Token token) const {
  std::string bytes;
  for (std::uint32_t i = token.start; i < token.end; ++i) bytes.push_back(static_cast<char>(text_.at(i)));
  if (is_symbol(pattern)) return symbol_name(pattern) == bytes;
  if (is_integer(pattern)) return std::to_string(integer_of(pattern)) == bytes;
  return false;
}

bool PatternMatcher::match_string(Value pattern, Token token) const {
  if (!is_string(pattern) || token.end - token.start < 2 || text_.at(token.end - 1) != '"') return false;
  std::string_view chars = string_view_of(pattern);
  if (chars.size() != token.end - token.start - 2) return false;
  for (std::uint32_t i = 0; i < chars.size(); ++i) {
    if (static_cast<std::uint8_t>(chars[i]) != text_.at(token.start + 1 + i)) return false;
  }
  return true;
}

bool PatternMatcher::match_list(Value pattern, Token token) {
  if (!is_closing_bracket(text_.at(token.end - 1))) return false;
  if (is_nil(pattern)) return token.end - token.start == 2;
  return match_rest(pattern, token.start + 1, token.end - 1);
}

bool PatternMatcher::match_rest(Value rest, std::uint32_t pos, std::uint32_t close) {
  DepthGuard guard(*this, rest);
  if (is_nil(rest)) return only_close_remains(pos, close);
  if (!is_pair(rest)) return match_dotted_tail(rest, pos, close);
  // A pattern written (p marker k): the marker element that is the rest
  // takes every remaining token.
  if (is_marker_element(rest)) return match_final_run(rest, pos, close, marker_kind(rest) == 1);
  Value element = car(rest);
  Value after = cdr(rest);
  if (is_marker_element(element)) {
    std::int32_t kind = marker_kind(element);
    if (kind == 1 || kind == 2) {
      if (is_nil(after)) return match_final_run(element, pos, close, kind == 1);
      return match_middle_run(element, after, pos, close, kind == 1);
    }
  }
  auto token = next_inner(pos, close);
  if (!token) return false;
  std::size_t before = mark();
  if (match(element, *token) && match_rest(after, token->end, close)) return true;
  rollback(before);
  return false;
}

bool PatternMatcher::match_final_run(Value element, std::uint32_t pos, std::uint32_t close, bool needs_one) {
  auto first = next_inner(pos, close);
  std::uint32_t cursor = pos;
  for (auto token = first; token; token = next_inner(cursor, close)) cursor = token->end;
  // Anything but tokens before the bracket (a dangling prefix) fails.
  if (!only_close_remains(cursor, close)) return false;
  if (!first && needs_one) return false;
  // An empty run is placed at the closing bracket, where it would lie.
  bind(element, first ? first->start : close, close);
  return true;
}

bool PatternMatcher::match_middle_run(Value element, Value rest, std::uint32_t pos, std::uint32_t close,
                                      bool needs_one) {
  // The places where the rest of the pattern may begin: each token's start,
  // then the end of the list. The first that works ends the run.
  std::vector<std::uint32_t> places;
  std::uint32_t cursor = pos;
  while (auto token = next_inner(cursor, close)) {
    places.push_back(token->start);
    cursor = token->end;
  }
  places.push_back(text_.skip_separators(cursor, false));
  std::uint32_t run_start = places.front();
  // A run of kind 1 holds at least one token, so its first place is the
  // second token.
  for (std::size_t i = needs_one ? 1 : 0; i < places.size(); ++i) {
    std::size_t before = mark();
    bind(element, run_start, places[i]);
    if (match_rest(rest, places[i], close)) return true;
    rollback(before);
  }
  return false;
}

bool PatternMatcher::match_dotted_tail(Value tail, std::uint32_t pos, std::uint32_t close) {
  auto dot = next_inner(pos, close);
  if (!dot || dot->end - dot->start != 1 || text_.at(dot->start) != '.') return false;
  auto token = next_inner(dot->end, close);
  if (!token) return false;
  std::size_t before = mark();
  if (match(tail, *token) && only_close_remains(token->end, close)) return true;
  rollback(before);
  return false;
}

}  // namespace orvane::symbolic
