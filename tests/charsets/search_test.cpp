// The text-token scanner, `search-symbolic` and `unify-expr`.
#include "charsets_fixture.h"
#include "lib/symbolic_search_tokens.h"

namespace orvane {
namespace {

using namespace orvane::testing;
using symbolic::TextScanner;
using symbolic::Token;

std::span<const std::uint8_t> bytes_of(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The text of the token after the separators at pos, or "<none>".
std::string token_text(std::string_view text, std::uint32_t pos, bool skip_closers = false) {
  TextScanner scanner(bytes_of(text));
  auto token = scanner.token_at(pos, skip_closers);
  if (!token) return "<none>";
  return std::string(text.substr(token->start, token->end - token->start));
}

TEST(TextScanner, Atoms) {
  EXPECT_EQ(token_text("  foo bar", 0), "foo");
  EXPECT_EQ(token_text("a\\ b c", 0), "a\\ b");
  EXPECT_EQ(token_text("foo(bar)", 0), "foo");
  EXPECT_EQ(token_text("x.y:z", 0), "x.y:z");
  EXPECT_EQ(token_text("abc", 1), "bc");
}

TEST(TextScanner, SeparatorsAndComments) {
  EXPECT_EQ(token_text("; comment\r\n  foo", 0), "foo");
  EXPECT_EQ(token_text("\t\r\n ; x\nbar", 0), "bar");
  EXPECT_EQ(token_text("\\( foo", 0), "foo");
  EXPECT_EQ(token_text("   ", 0), "<none>");
  EXPECT_EQ(token_text("; only a comment", 0), "<none>");
}

TEST(TextScanner, Strings) {
  EXPECT_EQ(token_text("\"a b\" c", 0), "\"a b\"");
  EXPECT_EQ(token_text("\"a\\\"b\" c", 0), "\"a\\\"b\"");
  EXPECT_EQ(token_text("\"unterminated", 0), "<none>");
}

TEST(TextScanner, Lists) {
  EXPECT_EQ(token_text("(a (b] c) d", 0), "(a (b] c)");
  EXPECT_EQ(token_text("[a \")\" ; )\n b) z", 0), "[a \")\" ; )\n b)");
  EXPECT_EQ(token_text("(a \\) b) z", 0), "(a \\) b)");
  EXPECT_EQ(token_text("(a (b c)", 0), "<none>");
  EXPECT_EQ(token_text("()", 0), "()");
}

TEST(TextScanner, Prefixes) {
  EXPECT_EQ(token_text("'foo bar", 0), "'foo");
  EXPECT_EQ(token_text("#'(a b) c", 0), "#'(a b)");
  EXPECT_EQ(token_text(",@x", 0), ",@x");
  EXPECT_EQ(token_text("'", 0), "<none>");
  EXPECT_EQ(token_text("(')", 1), "<none>");
  std::string many(100000, '\'');
  EXPECT_EQ(token_text(many + "x", 0).size(), many.size() + 1);
}

TEST(TextScanner, ClosersAreNoToken) {
  EXPECT_EQ(token_text(") foo", 0), "<none>");
  EXPECT_EQ(token_text("] foo", 0), "<none>");
  EXPECT_EQ(token_text(")] foo", 0, true), "foo");
}

class SearchTest : public CharsetsTest {
 protected:
  void SetUp() override {
    CharsetsTest::SetUp();
    // `m` is the marker, for patterns built with backquote-free lists.
    set_symbol_global(sym("m"), symbol_global(sym("Symbolic-Token")));
  }
};

TEST_F(SearchTest, SymbolicTokenIsAFreshPair) {
  EXPECT_TRUE(gives("Symbolic-Token", "(())"));
  EXPECT_TRUE(gives("(eq? Symbolic-Token m)", "t"));
}

TEST_F(SearchTest, FindsANestedAtomUnlessFlat) {
  handle_text("buf", "(bar (foo)) baz", 0);
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 15 0 0 nil)", "(foo 6 . 9)"));
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 15 0 0 t)", "()"));
  EXPECT_TRUE(gives("(search-symbolic '(baz) buf 15 0 0 t)", "(baz 12 . 15)"));
}

TEST_F(SearchTest, TheFirstMatchingPatternAnswers) {
  handle_text("buf", "(a b c)", 0);
  EXPECT_TRUE(gives("(search-symbolic '(c b) buf 7 0 0 nil)", "(b 3 . 4)"));
  EXPECT_TRUE(gives("(search-symbolic '(zz) buf 7 0 0 nil)", "()"));
}

TEST_F(SearchTest, StartsAfterTheCurrentToken) {
  handle_text("buf", "foo (foo) foo", 0);
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 13 0 3 nil)", "(foo 5 . 8)"));
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 13 5 8 nil)", "(foo 10 . 13)"));
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 13 4 9 t)", "(foo 10 . 13)"));
}

TEST_F(SearchTest, LooksPastAPrefix) {
  handle_text("buf", "'foo", 0);
  EXPECT_TRUE(gives("(search-symbolic '(foo) buf 4 0 4 nil)", "(foo 1 . 4)"));
}

TEST_F(SearchTest, MatchesListsStringsAndNumbers) {
  handle_text("buf", "(x (send a \"b\" 12))", 0);
  EXPECT_TRUE(gives("(search-symbolic '((send a \"b\" 12)) buf 19 0 0 nil)", "((send a \"b\" 12) 3 . 18)"));
  EXPECT_TRUE(gives("(search-symbolic '(\"b\") buf 19 0 0 nil)", "(\"b\" 11 . 14)"));
  EXPECT_TRUE(gives("(search-symbolic '(12) buf 19 0 0 nil)", "(12 15 . 17)"));
}

TEST_F(SearchTest, MarkerPatternsMatchAnyToken) {
  handle_text("buf", "(a (send x y))", 0);
  EXPECT_TRUE(gives("(cdr (search-symbolic (list (list 'send m m)) buf 14 0 0 nil))", "(3 . 13)"));
}

TEST_F(SearchTest, BadRangesAreRefused) {
  handle_text("buf", "abc", 0);
  EXPECT_EQ(error_code("(search-symbolic '(a) buf 4 0 0 nil)"), 2);
  EXPECT_EQ(error_code("(search-symbolic '(a) buf 3 2 1 nil)"), 2);
  EXPECT_EQ(error_code("(search-symbolic '(a) buf 3 0 4 nil)"), 2);
}

TEST_F(SearchTest, CircularPatternListIsAnError) {
  handle_text("buf", "(a)", 0);
  eval_text("(set! pats (list 'z))");
  eval_text("(set-cdr! pats pats)");
  EXPECT_EQ(error_code("(search-symbolic pats buf 3 0 0 nil)"), 2);
}

TEST_F(SearchTest, UnifyAtomsAndStrings) {
  handle_text("buf", "foo \"a\\\"b\"", 0);
  EXPECT_TRUE(gives("(unify-expr 'foo buf 10 0 3)", "()"));
  EXPECT_TRUE(gives("(unify-expr (list m) buf 10 0 3)", "((((())) 0 . 3))"));
  // No escape processing: the pattern holds the backslash itself.
  EXPECT_TRUE(gives("(length (unify-expr (list m 'k) buf 10 4 10))", "1"));
  EXPECT_TRUE(gives("(unify-expr (list m) buf 10 4 4)", "((((())) 4 . 4))"));
}

TEST_F(SearchTest, UnifySingleMarkers) {
  handle_text("buf", "(send win (size) 3)", 0);
  eval_text("(set! a (list m 'a))");
  eval_text("(set! b (list m 'b))");
  EXPECT_TRUE(gives("(unify-expr (list 'send a b 3) buf 19 0 19)",
                    "((((()) a) 6 . 9) (((()) b) 10 . 16))"));
  EXPECT_TRUE(gives("(unify-expr (list 'send a b) buf 19 0 19)", "()"));
  EXPECT_TRUE(gives("(unify-expr (list 'send a b 4) buf 19 0 19)", "()"));
}

TEST_F(SearchTest, FinalRunMarkers) {
  handle_text("buf", "(f x y z)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 1)) buf 9 0 9)", "((((()) 1) 3 . 8))"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2)) buf 9 0 9)", "((((()) 2) 3 . 8))"));
  handle_text("one", "(f)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 1)) one 3 0 3)", "()"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2)) one 3 0 3)", "((((()) 2) 2 . 2))"));
}

TEST_F(SearchTest, RestWrittenAsATailMarker) {
  handle_text("buf", "(f x y)", 0);
  // (f m 2): the rest of the pattern after f is the marker element (m 2).
  EXPECT_TRUE(gives("(unify-expr (cons 'f (list m 2)) buf 7 0 7)", "((((()) 2) 3 . 6))"));
  EXPECT_TRUE(gives("(unify-expr (list 'f 'x m 1) buf 7 0 7)", "((((()) 1) 5 . 6))"));
  EXPECT_TRUE(gives("(unify-expr (list 'f 'x 'y m 1) buf 7 0 7)", "()"));
}

TEST_F(SearchTest, MiddleRunMarkers) {
  handle_text("buf", "(f a b c end)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) 'end) buf 13 0 13)", "((((()) 2) 3 . 9))"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) 'b (list m 2)) buf 13 0 13)",
                    "((((()) 2) 3 . 5) (((()) 2) 7 . 12))"));
  // The run ends at the first place where the rest matches: it may be empty.
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) 'a (list m 2)) buf 13 0 13)",
                    "((((()) 2) 3 . 3) (((()) 2) 5 . 12))"));
  // Kind 1 needs at least one token.
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 1) 'a (list m 2)) buf 13 0 13)", "()"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 1) 'b (list m 2)) buf 13 0 13)",
                    "((((()) 1) 3 . 5) (((()) 2) 7 . 12))"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) 'zz) buf 13 0 13)", "()"));
}

TEST_F(SearchTest, FailedAlternativesLeaveNoBindings) {
  handle_text("abc", "(f a b c)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) (list m 'x) 'c) abc 9 0 9)",
                    "((((()) 2) 3 . 5) (((()) x) 5 . 6))"));
  handle_text("buf", "(f a b)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 2) (list m 'x) 'b) buf 7 0 7)",
                    "((((()) 2) 3 . 3) (((()) x) 3 . 4))"));
}

TEST_F(SearchTest, EmptyListsAndDottedPatterns) {
  handle_text("buf", "() ( ) (a . b) (a b)", 0);
  EXPECT_TRUE(gives("(search-symbolic '(()) buf 20 0 0 t)", "(() 0 . 2)"));
  EXPECT_TRUE(gives("(unify-expr () buf 20 3 6)", "()"));
  EXPECT_TRUE(gives("(car (search-symbolic '((a . b)) buf 20 0 0 t))", "(a . b)"));
  EXPECT_TRUE(gives("(cdr (search-symbolic '((a . b)) buf 20 0 0 t))", "(7 . 14)"));
  EXPECT_TRUE(gives("(search-symbolic '((a . c)) buf 20 0 0 t)", "()"));
  // (a m tail): the marker element after a takes ". b".
  EXPECT_TRUE(gives("(unify-expr (cons 'a (list m 'tail)) buf 20 7 14)", "((((()) tail) 10 . 13))"));
}

TEST_F(SearchTest, DottedTails) {
  handle_text("buf", "(a . (b c)) (a . zz) (a zz) (a q . zz)", 0);
  EXPECT_TRUE(gives("(cdr (search-symbolic '((a . zz)) buf 38 0 0 t))", "(12 . 20)"));
  EXPECT_TRUE(gives("(cdr (search-symbolic '((a q . zz)) buf 38 0 0 t))", "(28 . 38)"));
  EXPECT_TRUE(gives("(cdr (search-symbolic '((a zz)) buf 38 0 0 t))", "(21 . 27)"));
}

TEST_F(SearchTest, APrefixedTokenMatchesOnlyAMarker) {
  handle_text("buf", "(f 'x)", 0);
  EXPECT_TRUE(gives("(unify-expr (list 'f ''x) buf 6 0 6)", "()"));
  EXPECT_TRUE(gives("(unify-expr (list 'f (list m 'q)) buf 6 0 6)", "((((()) q) 3 . 5))"));
}

TEST_F(SearchTest, UnifyRefusesBadRanges) {
  handle_text("buf", "(a b)", 0);
  EXPECT_EQ(error_code("(unify-expr 'a buf 5 3 2)"), 2);
  EXPECT_EQ(error_code("(unify-expr 'a buf 9 0 5)"), 2);
  // A list range cut short is not a list token.
  EXPECT_TRUE(gives("(unify-expr (list 'a (list m 2)) buf 5 0 4)", "()"));
}

TEST_F(SearchTest, CircularPatternIsAnError) {
  handle_text("buf", "(a)", 0);
  eval_text("(set! p (list (list m 2)))");
  eval_text("(set-cdr! p p)");
  EXPECT_EQ(error_code("(unify-expr p buf 3 0 3)"), 2);
}

}  // namespace
}  // namespace orvane
