// The numeric primitives: kinds of results, wrapping, comparisons, rounding,
// division, bits, and the random generator.
#include <cmath>
#include <string>

#include "platform/clock.h"
#include "lisp_test.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class NumbersTest : public LispTest {
 protected:
  std::int32_t integer(std::string_view text) {
    Value v = eval_text(text);
    EXPECT_TRUE(is_integer(v)) << text;
    return is_integer(v) ? integer_unchecked(v) : 0;
  }
  double real(std::string_view text) {
    Value v = eval_text(text);
    EXPECT_TRUE(is_real(v)) << text;
    return is_real(v) ? real_of(v) : std::nan("");
  }
};

TEST_F(NumbersTest, Predicates) {
  EXPECT_TRUE(gives("(list (number? 1) (number? 1.5) (number? 'a) (real? 2147483647) (complex? \"1\"))",
                    "(t t () t ())"));
  EXPECT_TRUE(gives("(list (integer? 1) (integer? 1.0) (exact? 9000000) (inexact? 1.0) (inexact? 'a) (inexact? 1))",
                    "(t () t t t ())"));
  EXPECT_TRUE(gives("(list (rational? 1) (zero? 0) (zero? 0.0) (zero? -1) (positive? 0.5) (negative? -9000000))",
                    "(() t t () t t)"));
  EXPECT_EQ(error_code("(zero? 'a)"), 2);
}

TEST_F(NumbersTest, SumsStayIntegersUntilARealArrives) {
  EXPECT_EQ(integer("(+ 1 2)"), 3);
  EXPECT_EQ(real("(+ 1 2.0)"), 3.0);
  EXPECT_EQ(real("(+ 1.5 1.5)"), 3.0);
  EXPECT_EQ(integer("(+)"), 0);
  EXPECT_EQ(integer("(*)"), 1);
  EXPECT_EQ(integer("(* 2 3 4)"), 24);
  EXPECT_EQ(real("(* 2 0.5 3)"), 3.0);
  EXPECT_EQ(error_code("(+ 1 'a)"), 2);
  EXPECT_EQ(error_code("(* 2.0 \"x\")"), 2);
}

TEST_F(NumbersTest, IntegersAreBoxedOutsideTheImmediateRangeAndWrapAt32Bits) {
  Value big = eval_text("(+ 8388606 1)");
  EXPECT_TRUE(is_long(big));
  EXPECT_EQ(integer_unchecked(big), 8388607);
  Value small = eval_text("(- 8388607 1)");
  EXPECT_TRUE(is_fixnum(small));
  EXPECT_EQ(small.fixnum(), 8388606);
  EXPECT_TRUE(is_long(eval_text("(- -8388607 1)")));
  EXPECT_EQ(integer("(* 65536 65536)"), 0);
  EXPECT_EQ(integer("(+ 2147483647 1)"), INT32_MIN);
  EXPECT_EQ(integer("(- -2147483647 2)"), INT32_MAX);
  EXPECT_EQ(integer("(- -2147483647 1)"), INT32_MIN);
  EXPECT_EQ(integer("(abs (- -2147483647 1))"), INT32_MIN);
}

TEST_F(NumbersTest, SubtractionAndNegation) {
  EXPECT_EQ(integer("(- 5)"), -5);
  EXPECT_EQ(real("(- 2.5)"), -2.5);
  EXPECT_EQ(integer("(- 10 1 2 3)"), 4);
  EXPECT_EQ(real("(- 10 1 2.5)"), 6.5);
  EXPECT_EQ(real("(- 10.5 1 2)"), 7.5);
}

TEST_F(NumbersTest, DivisionIsAlwaysReal) {
  EXPECT_EQ(real("(/ 6 3)"), 2.0);
  EXPECT_EQ(real("(/ 4)"), 0.25);
  EXPECT_EQ(real("(/ 1 2 4)"), 0.125);
  EXPECT_TRUE(std::isinf(real("(/ 1 0)")));
}

TEST_F(NumbersTest, ComparisonsOnAdjacentPairs) {
  EXPECT_TRUE(gives("(list (< 1 2 3) (< 1 3 2) (<= 1 1 2) (> 3 2.5 2) (>= 2 2.0) (= 1 1.0 1))",
                    "(t () t t t t)"));
  EXPECT_TRUE(gives("(list (/= 1 2 1) (/= 1 1) (< 5) (= 8388607 8388608))", "(t () t ())"));
  EXPECT_TRUE(gives("(< 8388607 8388608)", "t"));
  EXPECT_EQ(error_code("(<)"), 42);
  EXPECT_EQ(error_code("(=)"), 42);
  EXPECT_EQ(error_code("(< 1 'a)"), 2);
}

// A form with two fixnum arguments takes the evaluator's shortcut; `apply`
// reaches the primitive itself. Both must answer alike, at the edges of the
// immediate range and of 32 bits too.
TEST_F(NumbersTest, TwoFixnumFormsAgreeWithThePrimitives) {
  const char* ops[] = {"+", "-", "*", "<", ">", "<=", ">=", "=", "/="};
  const char* values[] = {"0", "1", "-1", "8388606", "-8388607", "4096", "-3"};
  for (const char* op : ops) {
    for (const char* a : values) {
      for (const char* b : values) {
        std::string args = std::string(a) + " " + b;
        std::string text = std::string("(equal? (") + op + " " + args + ") (apply " + op + " (list " + args + ")))";
        EXPECT_TRUE(gives(text, "t")) << op << " " << args;
      }
    }
  }
  EXPECT_TRUE(is_long(eval_text("(* 8388606 2)")));
  EXPECT_EQ(integer("(* 8388606 -8388607)"), static_cast<std::int32_t>(8388606u * static_cast<std::uint32_t>(-8388607)));
}

TEST_F(NumbersTest, TwoArgumentFormsThatAreNotTwoFixnumsEvaluateEachArgumentOnce) {
  EXPECT_TRUE(gives("(let ((n 0)) (list (+ (begin (set! n (+ n 1)) n) (begin (set! n (* n 10)) 2.5)) n))",
                    "(3.5 10)"));
  EXPECT_TRUE(gives("(let ((n 0)) (list (- (begin (set! n (+ n 1)) 2.5) (begin (set! n (* n 10)) n)) n))",
                    "(-7.5 10)"));
  EXPECT_TRUE(gives("(list (+ 1.5 (car (list 2))) (< 2 2.5) (= 3 3.0) (+ 9000000 1) (- 1 9000000))",
                    "(3.5 t t 9000001 -8999999)"));
  EXPECT_EQ(error_code("(+ 'a 1)"), 2);
  EXPECT_EQ(error_code("(- 1 \"x\")"), 2);
  EXPECT_EQ(integer("(+ 1 2 3)"), 6);
  EXPECT_EQ(integer("(+ 4)"), 4);
}

TEST_F(NumbersTest, ExtremesTurnRealWhenARealIsMet) {
  EXPECT_EQ(real("(max 1 2.0 3)"), 3.0);
  EXPECT_EQ(integer("(max 3 1)"), 3);
  EXPECT_EQ(integer("(min 3 -1 2)"), -1);
  EXPECT_EQ(real("(min 3 -1 2.5)"), -1.0);
  EXPECT_EQ(integer("(max 9000000 -9000000)"), 9000000);
  EXPECT_EQ(error_code("(max)"), 42);
  EXPECT_EQ(error_code("(min 1 'a)"), 2);
}

TEST_F(NumbersTest, AbsAndRelate) {
  EXPECT_EQ(integer("(abs -7)"), 7);
  EXPECT_EQ(real("(abs -7.5)"), 7.5);
  EXPECT_EQ(integer("(relate 2 5)"), -1);
  EXPECT_EQ(integer("(relate 5 5)"), 0);
  EXPECT_EQ(integer("(relate 9000000 5)"), 1);
}

TEST_F(NumbersTest, RoundingToIntegers) {
  EXPECT_EQ(integer("(round 2.5)"), 3);
  EXPECT_EQ(integer("(round -2.5)"), -2);
  EXPECT_EQ(integer("(round 7 2)"), 4);
  EXPECT_EQ(integer("(truncate -2.7)"), -2);
  EXPECT_EQ(integer("(floor -2.7)"), -3);
  EXPECT_EQ(integer("(ceiling 2.1)"), 3);
  EXPECT_EQ(integer("(floor 7 2)"), 3);
  EXPECT_EQ(integer("(ceiling -7 2)"), -3);
  EXPECT_EQ(integer("(floor 9000000)"), 9000000);
  Value big = read_text("9000000");
  set_symbol_global(sym("big"), big);
  EXPECT_EQ(eval_text("(round big)"), big);
  EXPECT_EQ(error_code("(floor 7 0)"), 58);
  EXPECT_EQ(error_code("(round 1e20)"), 2);
  EXPECT_EQ(error_code("(floor 'a)"), 2);
}

TEST_F(NumbersTest, RoundFloat) {
  EXPECT_EQ(real("(round-float 3.14159 2)"), 3.14);
  EXPECT_EQ(real("(round-float 2.5 nil)"), 3.0);
  EXPECT_EQ(real("(round-float 1234 -2)"), 1200.0);
  EXPECT_EQ(real("(round-float 7 0)"), 7.0);
}

TEST_F(NumbersTest, QuotientRemainderModulo) {
  EXPECT_EQ(integer("(quotient 7 2)"), 3);
  EXPECT_EQ(integer("(quotient -7 2)"), -3);
  EXPECT_EQ(integer("(modulo -7 3)"), 2);
  EXPECT_EQ(integer("(remainder -7 3)"), -1);
  EXPECT_EQ(integer("(modulo 7 -3)"), -2);
  EXPECT_EQ(integer("(modulo 6 3)"), 0);
  EXPECT_EQ(real("(modulo -7.5 2)"), 0.5);
  EXPECT_EQ(real("(remainder -7.5 2)"), -1.5);
  for (const char* form : {"(quotient 1 0)", "(remainder 1 0)", "(modulo 1 0)", "(modulo 1.5 0)",
                           "(remainder 1.5 0.0)"})
    EXPECT_EQ(error_code(form), 58) << form;
  // The one quotient that overflows wraps like every other overflow.
  EXPECT_EQ(integer("(quotient (- -2147483647 1) -1)"), INT32_MIN);
  EXPECT_EQ(integer("(remainder (- -2147483647 1) -1)"), 0);
  EXPECT_EQ(integer("(modulo (- -2147483647 1) -1)"), 0);
}

TEST_F(NumbersTest, ParityGrowthInterpolation) {
  EXPECT_TRUE(gives("(list (even? 4) (even? -3) (odd? -3) (odd? 9000001))", "(t () t t)"));
  EXPECT_EQ(error_code("(even? 2.0)"), 2);
  EXPECT_EQ(integer("(progressive-growth 10)"), 15);
  EXPECT_EQ(integer("(progressive-growth 11)"), 17);
  EXPECT_EQ(integer("(progressive-growth 0)"), 1);
  EXPECT_EQ(integer("(progressive-growth -3)"), -4);
  EXPECT_EQ(real("(interpolate 10 20 0.25 nil)"), 12.5);
  EXPECT_EQ(integer("(interpolate 10 20 0.25 t)"), 13);
  EXPECT_EQ(integer("(interpolate 0 -5 0.5 t)"), -2);
}

TEST_F(NumbersTest, MathematicalFunctionsAnswerReals) {
  EXPECT_EQ(real("(sqrt 16)"), 4.0);
  EXPECT_EQ(real("(expt 2 10)"), 1024.0);
  EXPECT_DOUBLE_EQ(real("(atan 1 nil)"), std::atan(1.0));
  EXPECT_DOUBLE_EQ(real("(atan 1 -1)"), std::atan2(1.0, -1.0));
  EXPECT_DOUBLE_EQ(real("(log (exp 2))"), 2.0);
  EXPECT_DOUBLE_EQ(real("(+ (* (sin 0.3) (sin 0.3)) (* (cos 0.3) (cos 0.3)))"), 1.0);
  EXPECT_EQ(real("(tan 0)"), 0.0);
  EXPECT_EQ(real("(asin 1)"), std::asin(1.0));
  EXPECT_EQ(real("(acos 1)"), 0.0);
  EXPECT_TRUE(std::isnan(real("(sqrt -1)")));
  EXPECT_EQ(error_code("(sin 'a)"), 2);
}

TEST_F(NumbersTest, BitOperations) {
  EXPECT_TRUE(gives("(list (bit-test 5 2) (bit-test 5 1) (bit-test -1 31) (bit-test 1 32))", "(t () t t)"));
  EXPECT_EQ(integer("(bit-set 0 33)"), 2);
  EXPECT_EQ(integer("(bit-set 0 31)"), INT32_MIN);
  EXPECT_EQ(integer("(bit-clear 7 1)"), 5);
  EXPECT_EQ(integer("(bit-and 12 10)"), 8);
  EXPECT_EQ(integer("(bit-or 12 10)"), 14);
  EXPECT_EQ(integer("(bit-xor 12 10)"), 6);
  EXPECT_EQ(integer("(bit-not 0)"), -1);
  EXPECT_EQ(error_code("(bit-and 1.0 1)"), 2);
}

// On a clock that stands still at 0 the generator is never stirred.
class RandomTest : public NumbersTest {
 protected:
  platform::VirtualClock clock_;
  platform::ClockOverride use_clock_{clock_};
};

TEST_F(RandomTest, TheGeneratorFollowsTheClassicLinearCongruentialSequence) {
  // The first draws from seed 1 of this well-known generator.
  for (std::int32_t expected : {41, 18467, 6334, 26500, 19169})
    EXPECT_EQ(integer("(random 32767)"), expected);
}

TEST_F(RandomTest, DrawsAreScaledIntoRange) {
  // 41 / (32767 / 100) = 0, 18467 / 327 = 56, 6334 / 327 = 19.
  EXPECT_EQ(integer("(random 100)"), 0);
  EXPECT_EQ(integer("(random 100)"), 56);
  EXPECT_EQ(integer("(random 100)"), 19);
  for (int i = 0; i < 200; ++i) {
    std::int32_t r = integer("(random 3)");
    ASSERT_TRUE(r >= 0 && r < 3);
  }
  EXPECT_EQ(integer("(random 1)"), 0);
}

TEST_F(RandomTest, TheClockStirsTheGeneratorBeforeEachDraw) {
  clock_.advance(64 * 5);  // one extra draw each time
  EXPECT_EQ(integer("(random 32767)"), 18467);
  EXPECT_EQ(integer("(random 32767)"), 26500);
}

TEST_F(RandomTest, RangesWithoutASoundResultAreRefused) {
  EXPECT_EQ(error_code("(random 0)"), 2);
  EXPECT_EQ(error_code("(random -5)"), 2);
  EXPECT_EQ(error_code("(random 32768)"), 2);
  EXPECT_EQ(error_code("(random 'a)"), 2);
}

}  // namespace
}  // namespace orvane
