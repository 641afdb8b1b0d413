#include "lib/symbolic_search_tokens.h"

namespace orvane::symbolic {

namespace {

bool is_white(std::uint8_t c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

bool is_prefix(std::uint8_t c) { return c == '#' || c == '\'' || c == ',' || c == '@' || c == '`'; }

bool ends_atom(std::uint8_t c) {
  switch (c) {
    case '\t': case '\n': case '\r': case ' ': case '"': case '#': case '\'': case '(':
    case ')': case ',': case ';': case '@': case '[': case ']': case '`':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool is_opening_bracket(std::uint8_t c) { return c == '(' || c == '['; }
bool is_closing_bracket(std::uint8_t c) { return c == ')' || c == ']'; }

std::uint32_t TextScanner::comment_end(std::uint32_t semicolon) const {
  std::uint32_t pos = semicolon + 1;
  while (pos < size() && at(pos) != '\r' && at(pos) != '\n') ++pos;
  return pos;
}

std::uint32_t TextScanner::skip_separators(std::uint32_t pos, bool skip_closers) const {
  while (pos < size()) {
    std::uint8_t c = at(pos);
    if (is_white(c) || (skip_closers && is_closing_bracket(c))) {
      ++pos;
    } else if (c == ';') {
      pos = comment_end(pos);
    } else if (c == '\\') {
      pos += 2;
    } else {
      break;
    }
  }
  return pos < size() ? pos : size();
}

std::optional<std::uint32_t> TextScanner::string_end(std::uint32_t open_quote) const {
  for (std::uint32_t pos = open_quote + 1; pos < size(); ++pos) {
    if (at(pos) == '\\') {
      ++pos;
    } else if (at(pos) == '"') {
      return pos + 1;
    }
  }
  return std::nullopt;
}

std::optional<std::uint32_t> TextScanner::list_end(std::uint32_t open_bracket) const {
  std::uint32_t depth = 0;
  std::uint32_t pos = open_bracket;
  while (pos < size()) {
    std::uint8_t c = at(pos);
    if (is_opening_bracket(c)) {
      ++depth;
      ++pos;
    } else if (is_closing_bracket(c)) {
      ++pos;
      if (--depth == 0) return pos;
    } else if (c == '"') {
      auto end = string_end(pos);
      if (!end) return std::nullopt;
      pos = *end;
    } else if (c == ';') {
      pos = comment_end(pos);
    } else if (c == '\\') {
      pos += 2;
    } else {
      ++pos;
    }
  }
  return std::nullopt;
}

std::uint32_t TextScanner::atom_end(std::uint32_t start) const {
  std::uint32_t pos = start;
  while (pos < size() && !ends_atom(at(pos))) pos += at(pos) == '\\' ? 2 : 1;
  return pos < size() ? pos : size();
}

TokenKind TextScanner::kind_at(std::uint32_t pos) const {
  std::uint8_t c = at(pos);
  if (is_opening_bracket(c)) return TokenKind::list;
  if (c == '"') return TokenKind::string;
  if (is_prefix(c)) return TokenKind::prefixed;
  return TokenKind::atom;
}

std::optional<Token> TextScanner::token_at(std::uint32_t pos, bool skip_closers) const {
  std::uint32_t start = skip_separators(pos, skip_closers);
  if (start >= size() || is_closing_bracket(at(start))) return std::nullopt;
  // A prefixed token spans its prefixes and the token they introduce; the
  // prefixes are walked in a loop so that a long run cannot exhaust the stack.
  std::uint32_t body = start;
  while (kind_at(body) == TokenKind::prefixed) {
    body = skip_separators(body + 1, false);
    if (body >= size() || is_closing_bracket(at(body))) return std::nullopt;
  }
  std::optional<std::uint32_t> end;
  switch (kind_at(body)) {
    case TokenKind::list:
      end = list_end(body);
      break;
    case TokenKind::string:
      end = string_end(body);
      break;
    case TokenKind::prefixed:  // not reached: the loop above passed them
      break;
    case TokenKind::atom:
      end = atom_end(body);
      break;
  }
  if (!end) return std::nullopt;
  return Token{start, *end};
}

}  // namespace orvane::symbolic
