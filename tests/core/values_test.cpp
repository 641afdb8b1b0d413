#include <gtest/gtest.h>

#include "core/equality.h"
#include "core/memory.h"
#include "core/symbols.h"
#include "support/runtime_fixture.h"

namespace orvane {
namespace {

using ValuesTest = testing::RuntimeTest;

TEST_F(ValuesTest, CarAndCdrOfNilAreNil) {
  EXPECT_EQ(car(kNil), kNil);
  EXPECT_EQ(cdr(kNil), kNil);
}

}  // namespace
}  // namespace orvane
