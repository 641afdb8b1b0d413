// Finding Lisp forms in raw text by pattern: `search-symbolic`, which walks
// the tokens of a text buffer, and `unify-expr`, which matches one token and
// tells where the pattern's marker elements fell. A marker element is a list
// whose first element is the value of `Symbolic-Token`.
#pragma once

#include <cstdint>
#include <vector>

#include "core/value.h"
#include "lib/symbolic_search_tokens.h"

namespace orvane {

// Binds `search-symbolic`, `unify-expr` and `Symbolic-Token`.
void register_symbolic_search();

namespace symbolic {

// Where a marker element of a pattern fell in the text.
struct Binding {
  Value element;
  std::uint32_t start;
  std::uint32_t end;
};

// Matches tokens of one text against patterns. Patterns are walked as they
// are; a pattern nested or chained too deeply (a circular one) raises
// error 2.
class PatternMatcher {
 public:
  // bindings may be null when only the answer matters.
  PatternMatcher(const TextScanner& text, Value marker, std::vector<Binding>* bindings)
      : text_(text), marker_(marker), bindings_(bindings) {}

  bool match(Value pattern, Token token);

 private:
  bool is_marker_element(Value p) const;
  static std::int32_t marker_kind(Value element);
  bool match_atom(Value pattern, Token token) const;
  bool match_string(Value pattern, Token token) const;
  bool match_list(Value pattern, Token token);
  // Matches the rest of a list pattern against the list's tokens from pos
  // up to its closing bracket at close.
  bool match_rest(Value rest, std::uint32_t pos, std::uint32_t close);
  bool match_final_run(Value element, std::uint32_t pos, std::uint32_t close, bool needs_one);
  bool match_middle_run(Value element, Value rest, std::uint32_t pos, std::uint32_t close, bool needs_one);
  bool match_dotted_tail(Value tail, std::uint32_t pos, std::uint32_t close);
  std::optional<Token> next_inner(std::uint32_t pos, std::uint32_t close) const;
  bool only_close_remains(std::uint32_t pos, std::uint32_t close) const;
  void bind(Value element, std::uint32_t start, std::uint32_t end);
  std::size_t mark() const { return bindings_ ? bindings_->size() : 0; }
  void rollback(std::size_t mark);

  // Counts nested calls so that a circular pattern gives an error, not a
  // stack overflow.
  class DepthGuard {
   public:
    DepthGuard(PatternMatcher& m, Value culprit);
    ~DepthGuard() { --matcher_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    PatternMatcher& matcher_;
  };

  const TextScanner& text_;
  Value marker_;
  std::vector<Binding>* bindings_;
  std::uint32_t depth_ = 0;
};

}  // namespace symbolic

}  // namespace orvane
