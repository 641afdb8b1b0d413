// The work stack of the deep walks: last in, first out across the boundary
// between the entries kept in the frame and those spilled to the heap.
#include <gtest/gtest.h>

#include "core/work_stack.h"

namespace orvane {
namespace {

TEST(WorkStack, PopsInReverseOrderAcrossTheSpill) {
  WorkStack<int, 4> stack;
  EXPECT_TRUE(stack.empty());
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 10; ++i) stack.push(i);
    for (int i = 9; i >= 3; --i) EXPECT_EQ(stack.pop(), i);
    stack.push(100);
    stack.push(101);
    EXPECT_EQ(stack.pop(), 101);
    EXPECT_EQ(stack.pop(), 100);
    for (int i = 2; i >= 0; --i) EXPECT_EQ(stack.pop(), i);
    EXPECT_TRUE(stack.empty());
  }
}

}  // namespace
}  // namespace orvane
