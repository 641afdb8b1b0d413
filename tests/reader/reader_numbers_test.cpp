// Number tokens: integers, longs, reals, the decimal mark, and the texts
// that look like numbers but read as symbols.
#include "reader/reader_numbers.h"

#include <cmath>
#include <limits>

#include "reader_fixture.h"

namespace orvane {
namespace {

using testing::sym;

TEST(NumberText, Integers) {
  EXPECT_EQ(integer_of_text("12"), 12);
  EXPECT_EQ(integer_of_text("-5"), -5);
  EXPECT_EQ(integer_of_text(" 7 "), 7);
  EXPECT_EQ(integer_of_text("2147483647"), 2147483647);
  EXPECT_EQ(integer_of_text("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(integer_of_text("0000000000042"), 42);
  EXPECT_FALSE(integer_of_text("2147483648"));
  EXPECT_FALSE(integer_of_text("-2147483649"));
  EXPECT_FALSE(integer_of_text("+5"));
  EXPECT_FALSE(integer_of_text("-"));
  EXPECT_FALSE(integer_of_text(""));
  EXPECT_FALSE(integer_of_text("1a"));
  EXPECT_FALSE(integer_of_text("1-2"));
  EXPECT_FALSE(integer_of_text("--1"));
}

TEST(NumberText, Reals) {
  EXPECT_EQ(real_of_text("1.5"), 1.5);
  EXPECT_EQ(real_of_text("1."), 1.0);
  EXPECT_EQ(real_of_text("-.25"), -0.25);
  EXPECT_EQ(real_of_text("2e3"), 2000.0);
  EXPECT_EQ(real_of_text("2E+3"), 2000.0);
  EXPECT_EQ(real_of_text("25e-1"), 2.5);
  EXPECT_EQ(real_of_text("3000000000"), 3e9);
  EXPECT_FALSE(real_of_text("1e"));
  EXPECT_FALSE(real_of_text("1e+"));
  EXPECT_FALSE(real_of_text("."));
  EXPECT_FALSE(real_of_text("+1.5"));
  EXPECT_FALSE(real_of_text("1.5.2"));
  EXPECT_FALSE(real_of_text("0x10"));
  EXPECT_FALSE(real_of_text("inf"));
  EXPECT_FALSE(real_of_text("1,5"));
}

TEST(NumberText, RealsOutOfRangeOverflowOrUnderflow) {
  EXPECT_EQ(real_of_text("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(real_of_text("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(real_of_text("1e-400"), 0.0);
  EXPECT_EQ(real_of_text("0.0001e-330"), 0.0);
  EXPECT_EQ(real_of_text("1e99999999999"), std::numeric_limits<double>::infinity());
}

class ReaderNumbers : public testing::ReaderTest {};

TEST_F(ReaderNumbers, IntegersAndLongs) {
  EXPECT_EQ(read1("12"), make_fixnum(12));
  EXPECT_EQ(read1("-5"), make_fixnum(-5));
  EXPECT_EQ(read1("-0"), make_fixnum(0));
  EXPECT_EQ(read1("8388606"), make_fixnum(8388606));
  Value big = read1("8388607");
  ASSERT_TRUE(is_long(big));
  EXPECT_EQ(integer_of(big), 8388607);
  Value low = read1("-2147483648");
  ASSERT_TRUE(is_long(low));
  EXPECT_EQ(integer_of(low), -2147483647 - 1);
}

TEST_F(ReaderNumbers, RealsAndIntegersTooLargeForAWord) {
  Value r = read1("1.5");
  ASSERT_TRUE(is_real(r));
  EXPECT_EQ(real_of(r), 1.5);
  EXPECT_EQ(real_of(read1("1.")), 1.0);
  EXPECT_EQ(real_of(read1("2e3")), 2000.0);
  EXPECT_EQ(real_of(read1("-1.25e2")), -125.0);
  Value huge = read1("12345678901");
  ASSERT_TRUE(is_real(huge));
  EXPECT_EQ(real_of(huge), 12345678901.0);
}

TEST_F(ReaderNumbers, NumberLikeTextsThatAreSymbols) {
  EXPECT_EQ(read1("+5"), sym("+5"));
  EXPECT_EQ(read1("1a"), sym("1a"));
  EXPECT_EQ(read1("1-2"), sym("1-2"));
  EXPECT_EQ(read1("-"), sym("-"));
  EXPECT_EQ(read1("+"), sym("+"));
  EXPECT_EQ(read1("e"), sym("e"));
  EXPECT_EQ(read1("E1"), sym("E1"));
  EXPECT_EQ(read1("1e"), sym("1e"));
  EXPECT_EQ(read1("1.2.3"), sym("1.2.3"));
  EXPECT_EQ(read1("1\\2"), sym("12"));
  EXPECT_EQ(read1("12\\.5"), sym("12.5"));
}

TEST_F(ReaderNumbers, ADotBeforeAnyDigitEndsTheToken) {
  auto data = read_all("e.x");
  ASSERT_GE(data.size(), 1u);
  EXPECT_EQ(data[0], sym("e"));
  EXPECT_TRUE(same(parse("(e . x)"), parse("(e.x)")));
  // ".5" is a dot followed by 5.
  Value p = read1("(a .5)");
  EXPECT_EQ(car(p), sym("a"));
  EXPECT_EQ(cdr(p), make_fixnum(5));
}

TEST_F(ReaderNumbers, NumberTokensEndAtDelimiters) {
  EXPECT_TRUE(same(read1("(1(2)3)"),
                   testing::list({make_fixnum(1), testing::list({make_fixnum(2)}), make_fixnum(3)})));
  Value p = read1("(1 . 2)");
  EXPECT_EQ(car(p), make_fixnum(1));
  EXPECT_EQ(cdr(p), make_fixnum(2));
}

TEST_F(ReaderNumbers, WithDotMarkChangesTheDecimalMark) {
  // (with-dot-mark 44 (lambda () (parse "1,5 1.5")))
  Value r = eval_text("(with-dot-mark 44 (lambda () (parse \"1,5 1.5\")))");
  ASSERT_TRUE(is_pair(r));
  ASSERT_TRUE(is_real(car(r)));
  EXPECT_EQ(real_of(car(r)), 1.5);
  // "1.5" is the integer 1, a dot and 5.
  Value rest = cdr(r);
  EXPECT_EQ(car(rest), make_fixnum(1));
  EXPECT_EQ(cdr(rest), make_fixnum(5));
  // The mark is restored afterwards.
  EXPECT_TRUE(is_real(read1("1.5")));
}

TEST_F(ReaderNumbers, WithDotMarkRestoresTheMarkWhenAnErrorLeaves) {
  EXPECT_EQ(eval_error("(with-dot-mark 44 (lambda () (no-such-function) (parse \"1\")))"), 6);
  EXPECT_TRUE(is_real(read1("1.5")));
  EXPECT_EQ(eval_error("(with-dot-mark 300 (lambda () 1))"), 2);
}

}  // namespace
}  // namespace orvane
