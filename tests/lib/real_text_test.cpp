// The text form of reals.
#include "lib/real_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane {
namespace {

TEST(RealText, WholeValuesGetAMarkAndAZero) {
  EXPECT_EQ(real_to_text(2.0), "2.0");
  EXPECT_EQ(real_to_text(100.0), "100.0");
  EXPECT_EQ(real_to_text(0.0), "0.0");
  EXPECT_EQ(real_to_text(-3.0), "-3.0");
}

TEST(RealText, FifteenSignificantDigits) {
  EXPECT_EQ(real_to_text(0.1), "0.1");
  EXPECT_EQ(real_to_text(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(real_to_text(123456789012345.0), "123456789012345.0");
  EXPECT_EQ(real_to_text(3.14159), "3.14159");
}

TEST(RealText, ExponentsAsPercentGWritesThem) {
  EXPECT_EQ(real_to_text(1e20), "1e+20");
  EXPECT_EQ(real_to_text(1234567890123456.0), "1.23456789012346e+15");
  EXPECT_EQ(real_to_text(0.00001), "1e-05");
  EXPECT_EQ(real_to_text(-2.5e-7), "-2.5e-07");
}

TEST(RealText, TheDecimalMarkReplacesThePoint) {
  EXPECT_EQ(real_to_text(2.5, ','), "2,5");
  EXPECT_EQ(real_to_text(1.5, ','), "1,5");
  EXPECT_EQ(real_to_text(2.0, ','), "2,0");
  EXPECT_EQ(real_to_text(1.5e30, ','), "1,5e+30");
  char saved = g_decimal_mark;
  g_decimal_mark = ',';
  EXPECT_EQ(real_to_text(0.25), "0,25");
  g_decimal_mark = saved;
}

TEST(RealText, NonFiniteValuesHaveNoDecimalMark) {
  EXPECT_EQ(real_to_text(INFINITY), "inf");
  EXPECT_EQ(real_to_text(-INFINITY), "-inf");
  EXPECT_EQ(real_to_text(std::nan("")), "nan");
  EXPECT_EQ(real_to_text(-std::nan("")), "nan");
}

}  // namespace
}  // namespace orvane
