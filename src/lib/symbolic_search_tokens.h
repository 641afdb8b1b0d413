// A small s-expression scanner over raw text: it finds where Lisp tokens
// start and end without reading them. Positions are byte offsets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace orvane::symbolic {

struct Token {
  std::uint32_t start;
  std::uint32_t end;  // one past the last byte
};

enum class TokenKind { list, string, prefixed, atom };

class TextScanner {
 public:
  explicit TextScanner(std::span<const std::uint8_t> text) : text_(text) {}

  std::uint32_t size() const { return static_cast<std::uint32_t>(text_.size()); }
  std::uint8_t at(std::uint32_t pos) const { return text_[pos]; }

  // The position of the first byte at or after pos that is not a separator
  // (white space, a comment, a backslash with the byte it escapes); with
  // skip_closers, ")" and "]" count as separators too.
  std::uint32_t skip_separators(std::uint32_t pos, bool skip_closers) const;

  // The token that starts after the separators at pos; none at a closing
  // bracket, at the end of the text, or when the token is unterminated.
  std::optional<Token> token_at(std::uint32_t pos, bool skip_closers = false) const;

  // The kind of the token starting at pos (which must be inside the text).
  TokenKind kind_at(std::uint32_t pos) const;

 private:
  std::optional<std::uint32_t> string_end(std::uint32_t open_quote) const;
  std::optional<std::uint32_t> list_end(std::uint32_t open_bracket) const;
  std::uint32_t atom_end(std::uint32_t start) const;
  std::uint32_t comment_end(std::uint32_t semicolon) const;

  std::span<const std::uint8_t> text_;
};

bool is_opening_bracket(std::uint8_t c);
bool is_closing_bracket(std::uint8_t c);

}  // namespace orvane::symbolic
