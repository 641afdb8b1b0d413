// The list primitives: accessors, construction, surgery, searching,
// property lists, grouping and loops.
#include "lisp_test.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class ListsTest : public LispTest {
 protected:
  // Binds a global to a datum so that identity can be checked afterwards.
  Value bind(std::string_view name, std::string_view datum) {
    Value v = read_text(datum);
    set_symbol_global(sym(name), v);
    return v;
  }
};

TEST_F(ListsTest, PredicatesTellPairsListsAndAtoms) {
  EXPECT_TRUE(gives("(list (pair? '(1)) (pair? nil) (list? nil) (list? 'a) (atom? nil) (atom? '(1)))",
                    "(t () t () t ())"));
}

TEST_F(ListsTest, AccessorsWalkAndStopAtNil) {
  EXPECT_TRUE(gives("(list (car nil) (cdr nil) (first '(a b)))", "(() () a)"));
  EXPECT_TRUE(gives("(cadr '(1 2 3))", "2"));
  EXPECT_TRUE(gives("(cdar '((1 . 2)))", "2"));
  EXPECT_TRUE(gives("(caddr '(1 2 3))", "3"));
  EXPECT_TRUE(gives("(cadddr '(1 2 3 4))", "4"));
  EXPECT_TRUE(gives("(cddddr '(1 2 3 4 5))", "(5)"));
  EXPECT_TRUE(gives("(caadar '((x (y z))))", "y"));
  EXPECT_TRUE(gives("(list (second '(a b c)) (third '(a b c)) (tenth '(1 2 3 4 5 6 7 8 9 10)) (fourth '(a)))",
                    "(b c 10 ())"));
}

TEST_F(ListsTest, AccessorsRefuseNonLists) {
  EXPECT_EQ(error_code("(car 5)"), 2);
  EXPECT_EQ(error_code("(cdr 'a)"), 2);
  EXPECT_EQ(error_code("(cadr '(1 . 2))"), 2);
  EXPECT_EQ(error_code("(second \"abc\")"), 2);
  EXPECT_EQ(error_code("(length 3)"), 2);
  EXPECT_EQ(error_code("(list-ref '(1 2) -1)"), 2);
  EXPECT_EQ(error_code("(list-ref '(1 2) 'x)"), 2);
}

TEST_F(ListsTest, StoresReplaceTheCarAndRefuseNil) {
  Value l = bind("l", "(1 2 3)");
  EXPECT_EQ(eval_text("(set-car! l 'a)"), sym("a"));
  EXPECT_EQ(eval_text("(set-second! l 'b)"), sym("b"));
  Value stored = eval_text("(set-cdr! (cdr l) '(z))");
  EXPECT_EQ(stored, eval_text("(cddr l)"));
  EXPECT_TRUE(equal(l, read_text("(a b z)")));
  EXPECT_EQ(error_code("(set-car! nil 1)"), 2);
  EXPECT_EQ(error_code("(set-cdr! 5 1)"), 2);
  EXPECT_EQ(error_code("(set-fourth! l 1)"), 2);
  EXPECT_TRUE(equal(l, read_text("(a b z)")));
}

TEST_F(ListsTest, ConstructorsAndLengths) {
  EXPECT_TRUE(gives("(list 1 2 (cons 3 4))", "(1 2 (3 . 4))"));
  EXPECT_TRUE(gives("(cons-list 1 2 '(3))", "(1 2 3)"));
  EXPECT_TRUE(gives("(cons-list 5)", "5"));
  EXPECT_TRUE(gives("(cons-list)", "()"));
  EXPECT_TRUE(gives("(list (length nil) (length '(a b c)) (length '(a . b)))", "(0 3 1)"));
}

TEST_F(ListsTest, LastAndLastPair) {
  EXPECT_TRUE(gives("(list (last nil) (last-pair nil) (last '(1 2 3)) (last-pair 7))", "(() () 3 7)"));
  Value l = bind("l", "(1 2)");
  EXPECT_EQ(eval_text("(last-pair l)"), cdr(l));
}

TEST_F(ListsTest, PositionsFromEitherEnd) {
  EXPECT_TRUE(gives("(list (list-ref '(a b c) 1) (list-ref '(a b c) 3))", "(b ())"));
  EXPECT_TRUE(gives("(list (reversed-ref '(x y z) 0) (reversed-ref '(x y z) 2) (reversed-ref '(x y z) 3))",
                    "(z x ())"));
  EXPECT_TRUE(gives("(list (list-tail '(a b c) 2) (list-tail '(a b c) 9))", "((c) ())"));
  EXPECT_TRUE(gives("(list (butlast '(1 2 3)) (butlast '(1)) (butlast nil))", "((1 2) () ())"));
}

TEST_F(ListsTest, AppendCopiesAllButTheLastNonNilArgument) {
  Value two = bind("two", "(2)");
  Value one = bind("one", "(1)");
  Value r = eval_text("(append one nil two nil)");
  EXPECT_TRUE(equal(r, read_text("(1 2)")));
  EXPECT_EQ(cdr(r), two);
  EXPECT_NE(r, one);
  EXPECT_EQ(eval_text("(append nil two)"), two);
  EXPECT_TRUE(gives("(append)", "()"));
  EXPECT_TRUE(gives("(append '(1) 2)", "(1 . 2)"));
  EXPECT_EQ(error_code("(append 1 '(2))"), 2);
}

TEST_F(ListsTest, AppendDestructiveRelinksInPlace) {
  Value a = bind("a", "(1 2)");
  bind("b", "(3)");
  EXPECT_EQ(eval_text("(append! nil a nil b)"), a);
  EXPECT_TRUE(equal(a, read_text("(1 2 3)")));
  EXPECT_TRUE(gives("(append! nil nil)", "()"));
  // Linking a list after itself would make a cycle: refused, nothing changed.
  bind("c", "(4 5)");
  EXPECT_EQ(error_code("(append! c c)"), 2);
  EXPECT_EQ(error_code("(append! c 6 '(7))"), 2);
  EXPECT_TRUE(gives("c", "(4 5)"));
}

TEST_F(ListsTest, ReverseSharesShortListsAndReverseDestructiveRelinks) {
  Value one = bind("one", "(1)");
  EXPECT_EQ(eval_text("(reverse one)"), one);
  Value l = bind("l", "(1 2 3)");
  EXPECT_TRUE(gives("(reverse l)", "(3 2 1)"));
  EXPECT_TRUE(equal(l, read_text("(1 2 3)")));
  Value r = eval_text("(reverse! l)");
  EXPECT_TRUE(equal(r, read_text("(3 2 1)")));
  EXPECT_EQ(cdr(cdr(r)), l);
}

TEST_F(ListsTest, CopiesShareWhatTheyShould) {
  Value l = bind("l", "((1 2) 3 . 4)");
  Value c = eval_text("(copy-list l)");
  EXPECT_TRUE(equal(c, l));
  EXPECT_NE(c, l);
  EXPECT_EQ(car(c), car(l));
  Value t = eval_text("(copy-tree l)");
  EXPECT_TRUE(equal(t, l));
  EXPECT_NE(car(t), car(l));
}

TEST_F(ListsTest, TransposeTurnsRowsIntoColumns) {
  Value rows = bind("rows", "((1 2 3) (4 5 6))");
  EXPECT_TRUE(gives("(transpose rows)", "((1 4) (2 5) (3 6))"));
  EXPECT_TRUE(equal(rows, read_text("((1 2 3) (4 5 6))")));
  EXPECT_TRUE(gives("(transpose '((1 2) (3)))", "((1 3) (2 ()))"));
  EXPECT_TRUE(gives("(transpose nil)", "()"));
  Value first_row = car(rows);
  Value cols = eval_text("(transpose! rows)");
  EXPECT_TRUE(equal(cols, read_text("((1 4) (2 5) (3 6))")));
  EXPECT_EQ(car(cols), first_row);  // the first column is built of the rows' own pairs
}

TEST_F(ListsTest, SubseqAndChangeRank) {
  EXPECT_TRUE(gives("(list (subseq '(a b c d) 1 3) (subseq '(a b c d) 2 nil) (subseq '(a b) 1 9))",
                    "((b c) (c d) (b))"));
  EXPECT_TRUE(gives("(change-rank! '(p q r s) 0 2)", "(q p r s)"));
  EXPECT_TRUE(gives("(change-rank! '(p q r s) 3 1)", "(p s q r)"));
  EXPECT_TRUE(gives("(change-rank! '(p q r s) 2 0)", "(r p q s)"));
  EXPECT_TRUE(gives("(change-rank! '(p q r s) 0 nil)", "(q r s p)"));
  EXPECT_TRUE(gives("(change-rank! '(p q r s) 1 99)", "(p r s q)"));
  Value l = bind("l", "(p q r s)");
  EXPECT_EQ(eval_text("(change-rank! l 1 2)"), l);
  EXPECT_EQ(error_code("(change-rank! l 4 0)"), 2);
  EXPECT_TRUE(equal(l, read_text("(p q r s)")));
}

TEST_F(ListsTest, RemoveCopiesUpToTheMatchAndSharesTheRest) {
  Value l = bind("l", "(1 2 3 2)");
  Value r = eval_text("(remove 2 l nil nil)");
  EXPECT_TRUE(equal(r, read_text("(1 3 2)")));
  EXPECT_EQ(cdr(r), cdr(cdr(l)));
  EXPECT_EQ(eval_text("(remove 9 l nil nil)"), l);
  EXPECT_EQ(eval_text("(remove 1 l nil nil)"), cdr(l));
  EXPECT_TRUE(gives("(remove 3 '((a . 1) (b . 3)) cdr =)", "((a . 1))"));
  EXPECT_TRUE(equal(l, read_text("(1 2 3 2)")));
}

TEST_F(ListsTest, DestructiveRemovals) {
  Value l = bind("l", "(1 2 3 2)");
  EXPECT_EQ(eval_text("(remove! 2 l nil nil)"), l);
  EXPECT_TRUE(equal(l, read_text("(1 3 2)")));
  EXPECT_EQ(eval_text("(remove! 1 l nil nil)"), cdr(l));
  EXPECT_TRUE(gives("(remove! 1 nil nil nil)", "()"));

  Value m = bind("m", "(a b c)");
  Value third = cdr(cdr(m));
  set_symbol_global(sym("cell"), third);
  EXPECT_EQ(eval_text("(remove-tail! cell m)"), m);
  EXPECT_TRUE(equal(m, read_text("(a b)")));
  EXPECT_EQ(eval_text("(remove-tail! m m)"), cdr(m));

  Value n = bind("n", "((x) (y) (x))");
  EXPECT_EQ(eval_text("(replace! '(x) 'z n)"), n);
  EXPECT_TRUE(equal(n, read_text("(z (y) (x))")));
}

TEST_F(ListsTest, MembershipByIdentityEqvAndTest) {
  Value l = bind("l", "(a 1.5 (b))");
  EXPECT_EQ(eval_text("(memq 'a l)"), l);
  EXPECT_TRUE(gives("(memq 1.5 l)", "()"));
  EXPECT_EQ(eval_text("(memv 1.5 l)"), cdr(l));
  EXPECT_EQ(eval_text("(member '(b) l nil nil)"), cdr(cdr(l)));
  EXPECT_TRUE(gives("(member 2 '(1 5 9) nil <)", "(5 9)"));
  EXPECT_TRUE(gives("(member 'x '((1 . x) (2 . y)) cdr nil)", "((1 . x) (2 . y))"));
  EXPECT_EQ(eval_text("(add 'a l)"), l);
  EXPECT_TRUE(gives("(add 'z '(a))", "(z a)"));
}

TEST_F(ListsTest, AssociationLists) {
  Value al = bind("al", "((a . 1) 7 (2.5 . 2) ((k) . 3))");
  EXPECT_TRUE(gives("(assq 'a al)", "(a . 1)"));
  EXPECT_TRUE(gives("(list (assq 2.5 al) (assv 2.5 al))", "(() (2.5 . 2))"));
  EXPECT_TRUE(gives("(assoc '(k) al nil nil)", "((k) . 3)"));
  EXPECT_TRUE(gives("(assoc 'a '((\"a\" . 1)) nil nil)", "(\"a\" . 1)"));
  EXPECT_EQ(eval_text("(associate 'a 9 al)"), al);
  EXPECT_TRUE(gives("(cdr (assq 'a al))", "9"));
  EXPECT_TRUE(gives("(associate 'n 0 nil)", "((n . 0))"));
}

TEST_F(ListsTest, PredicatesOverElements) {
  EXPECT_TRUE(gives("(find 3 '((a . 1) (b . 3)) cdr nil)", "(b . 3)"));
  EXPECT_TRUE(gives("(find-if zero? '(3 0 2) nil)", "0"));
  EXPECT_TRUE(gives("(find-if zero? '((a . 1) (b . 0)) cdr)", "(b . 0)"));
  EXPECT_TRUE(gives("(collect-if odd? '(1 2 3 4 5) nil)", "(1 3 5)"));
  EXPECT_TRUE(gives("(count-if odd? '((a . 1) (b . 2) (c . 3)) cdr)", "2"));
  EXPECT_TRUE(gives("(list (some odd? nil) (some cdr '((1) (2 . 3) (4 . 5))) (every odd? nil) (every odd? '(1 2)))",
                    "(() 3 t ())"));
  // A predicate answering no-value counts as a match: only nil fails.
  EXPECT_TRUE(gives("(find-if void '(1 2) nil)", "1"));
}

TEST_F(ListsTest, PartitionGroupsInListOrder) {
  eval_text("(define (parity _n) (if (odd? _n) 'odd 'even))");
  EXPECT_TRUE(gives("(partition '(1 2 3 4) '(odd even) parity)", "((odd 1 3) (even 2 4))"));
  EXPECT_TRUE(gives("(partition '(1 3 9) '(odd even none) parity)", "((odd 1 3 9) (even) (none))"));
  EXPECT_TRUE(gives("(partition '(a b a c) '(a b) nil)", "((a a a) (b b))"));
}

TEST_F(ListsTest, PropertyLists) {
  EXPECT_TRUE(gives("(getf 'b '(a 1 b 2) 0)", "2"));
  EXPECT_TRUE(gives("(getf 'c '(a 1 b 2) 0)", "0"));
  EXPECT_TRUE(gives("(getprop 'b '(a 1 b 2))", "(b 2)"));
  EXPECT_TRUE(gives("(getprop 'c '(a 1 b 2))", "()"));
  // Values are not keys: the walk steps over them.
  EXPECT_TRUE(gives("(getprop 'b '(a b c 1))", "()"));
  EXPECT_TRUE(gives("(remprop! 'a '(a 1 b 2))", "(b 2)"));
  Value p = bind("p", "(a 1 b 2 c 3)");
  EXPECT_EQ(eval_text("(remprop! 'b p)"), p);
  EXPECT_TRUE(equal(p, read_text("(a 1 c 3)")));
  EXPECT_EQ(eval_text("(remprop! 'z p)"), p);
  eval_text("(set! seen nil)");
  EXPECT_EQ(eval_text("(for-each-property (lambda (_k _v) (set! seen (cons (cons _k _v) seen))) p)"), kNoValue);
  EXPECT_TRUE(gives("seen", "((c . 3) (a . 1))"));
}

TEST_F(ListsTest, CountedLoops) {
  EXPECT_TRUE(gives("(for-collect 3 1 (lambda (_i) (* _i 10)) t)", "(30 20 10)"));
  EXPECT_TRUE(gives("(for-collect 3 1 (lambda (_i) _i) nil)", "()"));
  EXPECT_TRUE(gives("(for-collect -1 1 (lambda (_i) _i) nil)", "(-1 0 1)"));
  eval_text("(set! total 0)");
  EXPECT_EQ(eval_text("(for 1 4 (lambda (_i) (set! total (+ total _i))) nil)"), kNoValue);
  EXPECT_TRUE(gives("total", "10"));
  // The last integer is an inclusive bound that does not wrap around.
  EXPECT_TRUE(gives("(for-collect 2147483646 2147483647 (lambda (_i) 1) nil)", "(1 1)"));
}

TEST_F(ListsTest, ErrorsFromCalledFunctionsPropagate) {
  EXPECT_EQ(error_code("(collect-if (lambda (_x) (error-subr _x)) '(1) nil)"), 0);
  EXPECT_EQ(error_code("(member 1 '(1) nil 'no-such-function)"), 6);
}

}  // namespace
}  // namespace orvane
