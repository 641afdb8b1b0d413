// Sorting through the collector-visible buffer, and the set primitives.
#include <algorithm>
#include <vector>

#include "lisp_test.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class SortTest : public LispTest {};

TEST_F(SortTest, SortsByPredicateOnKeys) {
  EXPECT_TRUE(gives("(sort < '(3 1 2) nil nil)", "(1 2 3)"));
  EXPECT_TRUE(gives("(sort > '(3 1 2) nil nil)", "(3 2 1)"));
  EXPECT_TRUE(gives("(sort < '((b . 2) (a . 1) (c . 3)) cdr nil)", "((a . 1) (b . 2) (c . 3))"));
  EXPECT_TRUE(gives("(sort < nil nil nil)", "()"));
  EXPECT_TRUE(gives("(sort < '(5) nil nil)", "(5)"));
}

TEST_F(SortTest, SameDropsRunsOfEqualKeys) {
  EXPECT_TRUE(gives("(sort < '(2 1 2) nil =)", "(1 2)"));
  EXPECT_TRUE(gives("(sort < '(3 1 3 2 1 3) nil =)", "(1 2 3)"));
}

TEST_F(SortTest, KeyFunctionIsCalledOncePerElement) {
  eval_text("(set! calls 0)");
  eval_text("(define (counted-key _x) (set! calls (+ calls 1)) (- 0 _x))");
  EXPECT_TRUE(gives("(sort < '(1 4 2 8 5 7) counted-key nil)", "(8 7 5 4 2 1)"));
  EXPECT_TRUE(gives("calls", "6"));
}

TEST_F(SortTest, TheListGivenIsNotModified) {
  Value l = read_text("(4 3 2 1)");
  set_symbol_global(sym("l"), l);
  Value r = eval_text("(sort < l nil nil)");
  EXPECT_TRUE(equal(r, read_text("(1 2 3 4)")));
  EXPECT_TRUE(equal(l, read_text("(4 3 2 1)")));
}

TEST_F(SortTest, MatchesAReferenceSortOnManyOrders) {
  // Deterministic pseudo-random lists, with and without duplicates.
  std::uint32_t state = 12345;
  for (int round = 0; round < 40; ++round) {
    std::vector<std::int32_t> xs(static_cast<std::size_t>(round * 7 % 97));
    for (auto& x : xs) {
      state = state * 1103515245u + 12345u;
      x = static_cast<std::int32_t>((state >> 8) % (round % 2 ? 10 : 100000));
    }
    Value l = kNil;
    for (auto it = xs.rbegin(); it != xs.rend(); ++it) l = cons(make_integer(*it), l);
    set_symbol_global(sym("l"), l);
    Value sorted = eval_text("(sort < l nil nil)");
    std::sort(xs.begin(), xs.end());
    Value expected = kNil;
    for (auto it = xs.rbegin(); it != xs.rend(); ++it) expected = cons(make_integer(*it), expected);
    EXPECT_TRUE(equal(sorted, expected)) << "round " << round;
  }
}

TEST_F(SortTest, AnyPredicateTerminates) {
  EXPECT_EQ(list_length(eval_text("(sort (lambda (_a _b) t) '(1 2 3 4 5 6 7) nil nil)")), 7u);
  EXPECT_EQ(list_length(eval_text("(sort (lambda (_a _b) nil) '(1 2 3 4 5 6 7) nil nil)")), 7u);
}

TEST_F(SortTest, NestedSortsEachHaveTheirOwnBuffer) {
  // Each key is itself the sorted form of an element; the outer sort compares
  // the first elements of those keys.
  eval_text("(define (sorted _l) (sort < _l nil nil))");
  eval_text("(define (first-less _a _b) (< (car (sort < _a nil nil)) (car (sort < _b nil nil))))");
  EXPECT_TRUE(gives("(sort first-less '((9 3) (8 2) (7 5 6)) sorted nil)", "((8 2) (9 3) (7 5 6))"));
}

TEST_F(SortTest, AnErrorInThePredicateReleasesTheBuffer) {
  eval_text("(define (failing-less _a _b) (if (= _a 3) (error-subr _a) (< _a _b)))");
  EXPECT_EQ(error_code("(sort failing-less '(5 3 1 4 2) nil nil)"), 0);
  // The run-time still sorts, and catching the error inside Lisp works too.
  EXPECT_TRUE(gives("(catch 'out (sort (lambda (_a _b) (throw 'out 'left)) '(2 1) nil nil))", "left"));
  EXPECT_TRUE(gives("(sort < '(2 1) nil nil)", "(1 2)"));
}

class SetsTest : public LispTest {};

TEST_F(SetsTest, MembershipAndInclusion) {
  EXPECT_TRUE(gives("(memberset '(2 1) '(a (1 2)) nil)", "t"));
  EXPECT_TRUE(gives("(memberset '(2 1) '(a (1 2)) t)", "()"));
  EXPECT_TRUE(gives("(memberset '(1 2) '(a (1 2)) t)", "t"));
  EXPECT_TRUE(gives("(list (include? '(1 2) '(2 3 1) nil) (include? '(1 4) '(2 3 1) nil) (include? nil nil nil))",
                    "(t () t)"));
}

TEST_F(SetsTest, SetEqualityIsRecursive) {
  EXPECT_TRUE(gives("(equalset '(1 (2 3)) '((3 2) 1) nil)", "t"));
  EXPECT_TRUE(gives("(equalset '(1 (2 3)) '((3 2) 1) t)", "()"));
  EXPECT_TRUE(gives("(equalset '(1 ((a b) c)) '((c (b a)) 1) nil)", "t"));
  EXPECT_TRUE(gives("(equalset '(1 2) '(1 2 3) nil)", "()"));
  EXPECT_TRUE(gives("(list (equalset 'a '(a) nil) (equalset '(a) 'a nil) (equalset 2 2.0 nil) (equalset nil nil nil))",
                    "(() () t t)"));
}

TEST_F(SetsTest, IntersectionUnionDifferenceMakeset) {
  EXPECT_TRUE(gives("(intersection '(1 2 3 4) '(4 2) nil)", "(2 4)"));
  EXPECT_TRUE(gives("(union '(1 2 2) '(2 3) nil)", "(1 2 3)"));
  EXPECT_TRUE(gives("(union '((1 2)) '((2 1) 3) nil)", "((1 2) 3)"));
  EXPECT_TRUE(gives("(union '((1 2)) '((2 1) 3) t)", "((1 2) (2 1) 3)"));
  EXPECT_TRUE(gives("(difference '(1 2 3) '(2) nil)", "(3 1)"));
  Value a = read_text("(1 2)");
  set_symbol_global(sym("a"), a);
  EXPECT_EQ(eval_text("(difference a nil nil)"), a);
  EXPECT_TRUE(gives("(makeset '(a b a (1 2) (2 1) c b) nil)", "(a b (1 2) c)"));
  EXPECT_TRUE(gives("(makeset '(a b a (1 2) (2 1)) t)", "(a b (1 2) (2 1))"));
}

}  // namespace
}  // namespace orvane
