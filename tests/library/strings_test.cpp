#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "lib/chars.h"
#include "lib/real_text.h"
#include "lib/strings.h"
#include "library/library_test.h"

namespace orvane {
namespace {

using StringsTest = testing::LibraryTest;

TEST_F(StringsTest, TheTextOfAnyValue) {
  EXPECT_TRUE(gives("(string 12)", "\"12\""));
  EXPECT_TRUE(gives("(string -7)", "\"-7\""));
  EXPECT_TRUE(gives("(string 2.0)", "\"2.0\""));
  EXPECT_TRUE(gives("(string 10000000)", "\"10000000\""));
  // A string and a symbol's name are answered themselves.
  EXPECT_TRUE(holds("(eq? (string 'abc) (symbol->string 'abc))"));
  EXPECT_EQ(eval_text("(string 'abc)"), symbol_entry(intern("abc")).name);
  define("s", make_string("same"));
  EXPECT_TRUE(holds("(eq? (string s) s)"));
  EXPECT_EQ(eval_text("(eq? (copy-string s) s)"), kNil);
  EXPECT_TRUE(gives("(copy-string 'abc)", "\"abc\""));
  // Printed representations are cut at 1,024 characters.
  EXPECT_EQ(integer("(string-length (string (make-vector 500 'abc)))"), 1024);
}

TEST_F(StringsTest, Predicates) {
  EXPECT_TRUE(holds("(string? \"\")"));
  EXPECT_EQ(eval_text("(string? 'a)"), kNil);
  EXPECT_TRUE(holds("(empty-string? \"\")"));
  EXPECT_EQ(eval_text("(empty-string? 'a)"), kNil);
  EXPECT_EQ(eval_text("(empty-string? \"a\")"), kNil);
  EXPECT_TRUE(holds("(char? 300)"));
  EXPECT_EQ(eval_text("(char? \"a\")"), kNil);
}

TEST_F(StringsTest, Append) {
  EXPECT_EQ(eval_text("(string-append)"), g_mem.empty_string);
  EXPECT_TRUE(gives("(string-append \"a\" 1 'b)", "\"a1b\""));
  define("s", make_string("one"));
  EXPECT_TRUE(holds("(eq? (string-append s) s)"));
  EXPECT_TRUE(gives("(string-append 'x 2.5 \"\" 'y)", "\"x2.5y\""));
  EXPECT_EQ(error_code("(string-append (make-string 32000) (make-string 32000) (make-string 32000))"), 2);
}

TEST_F(StringsTest, PositionsAndSubstrings) {
  EXPECT_TRUE(gives("(string-ref \"abc\" 1)", "98"));
  EXPECT_EQ(error_code("(string-ref \"abc\" 3)"), 2);
  EXPECT_EQ(error_code("(string-ref \"abc\" -1)"), 2);
  EXPECT_TRUE(gives("(substring \"abcdef\" -2 nil)", "\"ef\""));
  EXPECT_TRUE(gives("(substring \"abcdef\" 1 -1)", "\"bcde\""));
  EXPECT_TRUE(gives("(substring \"abcdef\" -10 2)", "\"ab\""));
  EXPECT_EQ(eval_text("(substring \"abcdef\" 2 1)"), g_mem.empty_string);
  // Bounds beyond the text are clamped to it.
  EXPECT_TRUE(gives("(substring \"abc\" 1 10)", "\"bc\""));
  EXPECT_EQ(eval_text("(substring \"abc\" 5 10)"), g_mem.empty_string);
  EXPECT_TRUE(gives("(string-length 12345)", "5"));
}

TEST_F(StringsTest, SetStoresTheLowByte) {
  define("s", eval_text("(copy-string \"abc\")"));
  EXPECT_TRUE(gives("(string-set! s 1 321)", "321"));
  EXPECT_TRUE(gives("(string-ref s 1)", "65"));
  EXPECT_EQ(error_code("(string-set! s 0 40000)"), 2);
  EXPECT_EQ(error_code("(string-set! s 3 65)"), 2);
  EXPECT_TRUE(gives("s", "\"aAc\""));
  // The built-in names are the program's own constants.
  EXPECT_EQ(error_code("(string-set! (string 'car) 0 65)"), 2);
}

TEST_F(StringsTest, MakeString) {
  EXPECT_TRUE(gives("(make-string 3)", "\"   \""));
  EXPECT_TRUE(gives("(string-length (make-string 32000))", "32000"));
  EXPECT_EQ(error_code("(make-string 32001)"), 2);
  EXPECT_EQ(error_code("(make-string -1)"), 2);
}

TEST_F(StringsTest, Memstring) {
  EXPECT_TRUE(gives("(memstring \"CD\" \"abcdef\" t)", "\"cdef\""));
  EXPECT_EQ(eval_text("(memstring \"CD\" \"abcdef\" nil)"), kNil);
  EXPECT_EQ(eval_text("(memstring \"abcdefg\" \"abcdef\" t)"), kNil);
  EXPECT_TRUE(gives("(memstring \"\" \"ab\" nil)", "\"ab\""));
  EXPECT_TRUE(gives("(memstring \"\xe9t\" \"l'\xc9T\xc9\" t)", "\"\xc9T\xc9\""));
  EXPECT_TRUE(gives("(memstring 23 \"x1234\" nil)", "\"234\""));
}

TEST_F(StringsTest, CharactersAndCase) {
  EXPECT_TRUE(gives("(lower-char 196)", "228"));
  EXPECT_TRUE(gives("(lower-char 228)", "228"));
  EXPECT_TRUE(gives("(upper-char 228)", "196"));
  EXPECT_TRUE(gives("(upper-char 255)", "255"));
  EXPECT_TRUE(gives("(upper-char 1000)", "1000"));
  EXPECT_TRUE(gives("(upper-string \"abc\xe9\xff\")", "\"ABC\xc9\xff\""));
  EXPECT_TRUE(gives("(lower-string 'ABC)", "\"abc\""));
  EXPECT_TRUE(gives("(char 321)", "\"A\""));
  EXPECT_TRUE(gives("(ascii \"Bc\")", "66"));
  EXPECT_TRUE(gives("(ascii \"\")", "0"));
  EXPECT_TRUE(holds("(alpha-char? 48)"));
  EXPECT_TRUE(holds("(alpha-char? 216)"));
  EXPECT_TRUE(holds("(alpha-char? 255)"));
  EXPECT_EQ(eval_text("(alpha-char? 215)"), kNil);
  EXPECT_EQ(eval_text("(alpha-char? 247)"), kNil);
  EXPECT_EQ(eval_text("(alpha-char? 32)"), kNil);
  for (int c = 0; c < 256; ++c) {
    // Both case tables are inverse on the letters they map.
    if (kUpperCase[c] != c) {
      EXPECT_EQ(kLowerCase[kUpperCase[c]], c) << c;
    }
    if (kLowerCase[c] != c) {
      EXPECT_EQ(kUpperCase[kLowerCase[c]], c) << c;
    }
  }
}

TEST_F(StringsTest, EqualityInThreeStrengths) {
  EXPECT_TRUE(holds("(string=? 'abc \"abc\")"));
  EXPECT_EQ(eval_text("(string=? \"abc\" \"Abc\")"), kNil);
  EXPECT_TRUE(holds("(string/=? \"abc\" \"Abc\")"));
  EXPECT_TRUE(holds("(string-nocase=? \"\xc9te\" \"\xe9TE\" nil)"));
  EXPECT_EQ(eval_text("(string-nocase=? \"Ete\" \"\xc9t\xe9\" nil)"), kNil);
  EXPECT_TRUE(holds("(string-nocase=? \"Ete\" \"\xc9t\xe9\" t)"));
  EXPECT_EQ(eval_text("(string-nocase=? \"ab\" \"abc\" t)"), kNil);
}

TEST_F(StringsTest, Ordering) {
  EXPECT_TRUE(holds("(string<? \"abc\" \"ABD\")"));
  EXPECT_TRUE(holds("(string<? \"Abc\" \"abc\")"));
  EXPECT_EQ(eval_text("(string<? \"abc\" \"ab\")"), kNil);
  EXPECT_TRUE(holds("(string>? \"abc\" \"ab\")"));
  EXPECT_TRUE(holds("(string<=? \"abc\" \"abc\")"));
  EXPECT_TRUE(holds("(string>=? \"b\" \"\xe0\")"));       // a with grave sorts as A
  EXPECT_TRUE(holds("(string<? \"\xe9t\xe9\" \"f\")"));   // e with acute sorts as E
  EXPECT_TRUE(holds("(string<? \"cote\" \"c\xf4t\xe9\")"));
}

// The order is lexicographic over (collated text, raw bytes): a strict weak
// order whose ties under the collation table are exactly the texts that
// string-nocase=? with accents finds equal.
TEST_F(StringsTest, CollationIsAStrictWeakOrderConsistentWithAccentEquality) {
  const std::string alphabet = "aAbB\xe0\xc0\xe9\xc9" "eE\xe7\xc7" "cC";
  std::mt19937 rng(1996);
  auto random_text = [&] {
    std::string s(rng() % 4, ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  std::vector<std::string> texts(150);
  for (auto& t : texts) t = random_text();
  auto sign = [](int x) { return (x > 0) - (x < 0); };
  for (const auto& a : texts) {
    for (const auto& b : texts) {
      int ab = compare_texts(a, b);
      ASSERT_EQ(sign(ab), -sign(compare_texts(b, a))) << a << " " << b;
      ASSERT_EQ(ab == 0, a == b);
      bool equivalent = equal_through(a, b, kCollation);
      for (const auto& c : texts) {
        int bc = compare_texts(b, c);
        if (ab < 0 && bc < 0) {
          ASSERT_LT(compare_texts(a, c), 0) << a << " " << b << " " << c;
        }
        if (equivalent && !equal_through(a, c, kCollation)) {
          ASSERT_EQ(sign(compare_texts(c, a)), sign(compare_texts(c, b))) << a << " " << b << " " << c;
        }
      }
    }
  }
  // The primitive agrees with the native order.
  for (int i = 0; i < 200; ++i) {
    std::string a = random_text(), b = random_text();
    define("a", make_string(a));
    define("b", make_string(b));
    ASSERT_EQ(eval_text("(string<? a b)") == g_sym.t, compare_texts(a, b) < 0) << a << " " << b;
  }
}

TEST_F(StringsTest, StringToInt) {
  EXPECT_TRUE(gives("(string->int \"  -42  \")", "-42"));
  EXPECT_EQ(eval_text("(string->int \"12a\")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"99999999999\")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"2147483648\")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"-\")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"- \")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"   \")"), kNil);
  EXPECT_EQ(eval_text("(string->int \"+5\")"), kNil);
  Value low = eval_text("(string->int \"-2147483648\")");
  EXPECT_TRUE(is_long(low));
  EXPECT_EQ(integer_of(low), INT32_MIN);
  EXPECT_TRUE(gives("(string->int 17)", "17"));
}

TEST_F(StringsTest, StringToReal) {
  Value three = eval_text("(string->real \"3\")");
  EXPECT_TRUE(is_fixnum(three));
  EXPECT_TRUE(gives("(string->real \" -1.25e2 \")", "-125.0"));
  EXPECT_TRUE(gives("(string->real \".5\")", "0.5"));
  EXPECT_EQ(eval_text("(string->real \"1.5x\")"), kNil);
  EXPECT_EQ(eval_text("(string->real \"1e\")"), kNil);
  EXPECT_EQ(eval_text("(string->real \".\")"), kNil);
  g_decimal_mark = ',';
  EXPECT_DOUBLE_EQ(double_of(eval_text("(string->real \"1,5\")")), 1.5);
  EXPECT_EQ(eval_text("(string->real \"1.5\")"), kNil);
  g_decimal_mark = '.';
}

TEST_F(StringsTest, StringToSymbolInternsACopy) {
  define("s", make_string("fresh-name"));
  EXPECT_EQ(eval_text("(string->symbol s)"), intern("fresh-name"));
  eval_text("(string-set! s 0 70)");
  EXPECT_EQ(symbol_name(intern("fresh-name")), "fresh-name");
}

TEST_F(StringsTest, CopyingToAndFromNativeMemory) {
  define("p", eval_text("(new-ptr 300)"));
  eval_text("(put-string \"hello\" p)");
  EXPECT_TRUE(gives("(mref 1 p)", "5"));
  EXPECT_TRUE(gives("(ptr->string p)", "\"hello\""));
  eval_text("(put-string (make-string 299) p)");
  EXPECT_TRUE(gives("(mref 1 p)", "255"));
  EXPECT_TRUE(gives("(string-length (ptr->string p))", "255"));
  eval_text("(put-string-text \"abc\" p)");
  EXPECT_TRUE(gives("(text->string p 3)", "\"abc\""));
  EXPECT_EQ(error_code("(text->string p 32001)"), 2);
  EXPECT_EQ(error_code("(text->string p 301)"), 2);       // beyond the block
  EXPECT_EQ(error_code("(put-string-text (make-string 301) p)"), 2);
  define("h", eval_text("(string->handle \"bytes\")"));
  EXPECT_TRUE(gives("(get-handle-size h)", "5"));
  EXPECT_TRUE(gives("(handle->string h)", "\"bytes\""));
  EXPECT_TRUE(gives("(handle->string (new-handle 0))", "\"\""));
}

}  // namespace
}  // namespace orvane
