#include <gtest/gtest.h>

#include <string>

#include "core/blocks.h"
#include "core/collector.h"
#include "lib/vectors.h"
#include "library/library_test.h"

namespace orvane {
namespace {

using VectorsTest = testing::LibraryTest;

TEST_F(VectorsTest, VectorsHoldTheirElements) {
  EXPECT_TRUE(gives("(vector-length (vector 1 'a \"s\"))", "3"));
  EXPECT_TRUE(gives("(vector-ref (vector 1 2) 1)", "2"));
  EXPECT_EQ(error_code("(vector-ref (vector 1 2) 2)"), 2);
  EXPECT_EQ(error_code("(vector-ref (vector 1 2) -1)"), 2);
  EXPECT_EQ(error_code("(vector-ref '(1 2) 0)"), 2);
  define("v", eval_text("(make-vector 3 'x)"));
  EXPECT_TRUE(gives("(vector->list v)", "(x x x)"));
  EXPECT_TRUE(gives("(vector-set! v 2 'y)", "y"));
  EXPECT_EQ(error_code("(vector-set! v 3 'y)"), 2);
  EXPECT_TRUE(gives("(vector->list v)", "(x x y)"));
  EXPECT_TRUE(holds("(vector? v)"));
  EXPECT_EQ(eval_text("(vector? '(1))"), kNil);
}

TEST_F(VectorsTest, VectorSizes) {
  EXPECT_EQ(error_code("(make-vector 16384 nil)"), 2);
  EXPECT_EQ(error_code("(make-vector -1 nil)"), 2);
  EXPECT_TRUE(gives("(vector-length (make-vector 16383 nil))", "16383"));
  EXPECT_TRUE(gives("(vector-length (make-vector 0 nil))", "0"));
  EXPECT_TRUE(holds("(eqv? (make-vector 0 nil) (vector))"));
  Value long_list = kNil;
  for (int i = 0; i < 16384; ++i) long_list = cons(make_fixnum(i), long_list);
  define("long-list", long_list);
  EXPECT_EQ(error_code("(list->vector long-list)"), 2);
  eval_text("(set-cdr! long-list long-list)");  // circular
  EXPECT_EQ(error_code("(list->vector long-list)"), 2);
}

TEST_F(VectorsTest, ConversionsAndCopies) {
  EXPECT_TRUE(gives("(vector->list (list->vector '(1 (2) \"three\")))", "(1 (2) \"three\")"));
  EXPECT_TRUE(gives("(vector->list (list->vector '()))", "()"));
  define("v", eval_text("(vector 1 2)"));
  define("c", eval_text("(copy-vector v)"));
  EXPECT_EQ(eval_text("(eq? v c)"), kNil);
  EXPECT_TRUE(holds("(equal? v c)"));
  eval_text("(vector-set! c 0 9)");
  EXPECT_TRUE(gives("(vector-ref v 0)", "1"));
}

TEST_F(VectorsTest, ElementsSurviveCollections) {
  define("v", eval_text("(vector (string-append \"a\" \"b\") (list 1 2))"));
  for (int i = 0; i < 3; ++i) {
    eval_text("(make-string 1000)");
    collect();
  }
  EXPECT_TRUE(gives("(vector->list v)", "(\"ab\" (1 2))"));
}

TEST_F(VectorsTest, ArraysVaryTheFirstIndexFastest) {
  define("a", eval_text("(make-array 2 3)"));
  EXPECT_TRUE(holds("(array? a)"));
  EXPECT_TRUE(gives("(array-ref a 1 2)", "0"));
  EXPECT_TRUE(gives("(array-set! a 7 1 2)", "7"));
  EXPECT_TRUE(gives("(array-ref a 1 2)", "7"));
  // Position 1 + 2 x 2 = 5: the last element of the data.
  Value a = eval_text("a");
  EXPECT_EQ(load_value(indirect_data(a) + 4 + 2 * 2 + 4 * 5), make_fixnum(7));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(load_value(indirect_data(a) + 8 + 4 * i), make_fixnum(0));
}

TEST_F(VectorsTest, ArrayIndexErrors) {
  define("a", eval_text("(make-array 2 3)"));
  EXPECT_EQ(error_code("(array-ref a 1)"), 2);
  EXPECT_EQ(error_code("(array-ref a 1 2 0)"), 2);
  EXPECT_EQ(error_code("(array-ref a 2 0)"), 2);
  EXPECT_EQ(error_code("(array-ref a 0 3)"), 2);
  EXPECT_EQ(error_code("(array-ref a -1 0)"), 2);
  EXPECT_EQ(error_code("(array-ref a)"), 2);
  EXPECT_EQ(error_code("(array-ref)"), 2);
  EXPECT_EQ(error_code("(array-set! a)"), 2);
  EXPECT_EQ(error_code("(array-ref (vector 1) 0)"), 2);
}

TEST_F(VectorsTest, ArraySizes) {
  EXPECT_EQ(error_code("(make-array 100 100 100)"), 2);
  EXPECT_EQ(error_code("(make-array 16383 1)"), 2);  // 65,540 bytes
  EXPECT_EQ(error_code("(make-array 16381)"), -1);   // 65,530 bytes
  EXPECT_EQ(error_code("(make-array -2 3)"), 2);
  EXPECT_EQ(error_code("(make-array)"), 2);
  EXPECT_EQ(error_code("(make-array 100000 0)"), -1);  // no elements at all
  EXPECT_TRUE(gives("(array-ref (make-array 2 2 2) 1 1 1)", "0"));
}

TEST_F(VectorsTest, CopyArray) {
  define("a", eval_text("(make-array 2 2)"));
  define("b", eval_text("(make-array 4)"));
  define("small", eval_text("(make-array 3)"));
  eval_text("(array-set! a 'x 1 1)");
  EXPECT_EQ(eval_text("(copy-array a b)"), kNoValue);
  EXPECT_TRUE(gives("(array-ref b 3)", "x"));
  EXPECT_EQ(error_code("(copy-array a small)"), 2);
  EXPECT_TRUE(gives("(array-ref small 2)", "0"));
}

TEST_F(VectorsTest, HashTablesAreKeyedBySymbols) {
  EXPECT_TRUE(gives("(hash-ref (new-hash) 'x 'none)", "none"));
  define("h", eval_text("(new-hash)"));
  EXPECT_EQ(eval_text("(hash-set! h 'x 5)"), kNoValue);
  EXPECT_TRUE(gives("(hash-ref h 'x nil)", "5"));
  eval_text("(hash-set! h 'x 6)");
  EXPECT_TRUE(gives("(hash-ref h 'x nil)", "6"));
  EXPECT_EQ(error_code("(hash-ref h \"x\" nil)"), 2);
  EXPECT_EQ(error_code("(hash-set! h 3 nil)"), 2);
  EXPECT_EQ(error_code("(hash-ref (vector) 'x nil)"), 2);
  // The slot array is closed to raw access.
  Value table = eval_text("h");
  define("p", make_pointer(node_of(table).w1, PointerKind::pointer));
  EXPECT_EQ(error_code("(mset 4 0 p)"), 2);
}

TEST_F(VectorsTest, ForEachHashVisitsInTableOrder) {
  define("h", eval_text("(new-hash)"));
  const char* names[] = {"zeta", "alpha", "mid", "omega", "beta"};
  for (const char* n : names) eval_text(("(hash-set! h '" + std::string(n) + " '" + n + ")").c_str());
  define("seen", kNil);
  EXPECT_EQ(eval_text("(for-each-hash (lambda (_k _v) (set! seen (cons (list _k _v) seen))) h)"), kNoValue);
  Value seen = eval_text("seen");
  EXPECT_EQ(list_length(seen), 5u);
  std::uint32_t last = UINT32_MAX;
  for (Value rest = seen; is_pair(rest); rest = cdr(rest)) {
    Value entry = car(rest);
    EXPECT_EQ(car(entry), car(cdr(entry)));
    // Collected newest first, so the indexes fall.
    EXPECT_LT(symbol_index(car(entry)), last);
    last = symbol_index(car(entry));
  }
}

TEST_F(VectorsTest, DeadHashTablesGiveBackTheirSlots) {
  collect();
  std::uint32_t before = live_handle_count();
  define("kept", eval_text("(new-hash)"));
  eval_text("(hash-set! kept 'k (string-append \"v\" \"w\"))");
  for (int i = 0; i < 20; ++i) eval_text("(new-hash)");
  if (!g_mem.gc_stress) {
    EXPECT_EQ(live_handle_count(), before + 21);
  }
  collect();
  // The native stack is scanned conservatively: a stale copy of a dead
  // table's Value may keep one alive, but not most of them.
  EXPECT_LE(live_handle_count(), before + 4);
  EXPECT_TRUE(gives("(hash-ref kept 'k nil)", "\"vw\""));
}

}  // namespace
}  // namespace orvane
