// Call frames by nesting level, as the clause engine finds them: a frame
// asked its level is registered, one never asked is found by walking the
// chain, and no frame is found after it exits.
#include "eval/context.h"
#include "support/eval_helpers.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class FramesTest : public EvalTest {
 protected:
  static std::uint32_t top() { return g_mem.lisp_stack_top; }
};

TEST_F(FramesTest, LiveFramesAreFoundByLevelWhetherAskedOrNot) {
  CallFrame outer(top(), nullptr);
  std::uint32_t level = outer.level();
  EXPECT_EQ(CallFrame::at_level(level), &outer);
  {
    CallFrame unasked(top(), &outer);
    EXPECT_EQ(CallFrame::at_level(level + 1), &unasked);
    {
      CallFrame asked(top(), &unasked);
      EXPECT_EQ(asked.level(), level + 2);
      EXPECT_EQ(CallFrame::at_level(level + 2), &asked);
      EXPECT_EQ(CallFrame::at_level(level + 1), &unasked);
    }
    EXPECT_EQ(CallFrame::at_level(level + 2), nullptr);
  }
  EXPECT_EQ(CallFrame::at_level(level + 1), nullptr);
  EXPECT_EQ(CallFrame::at_level(level), &outer);
}

TEST_F(FramesTest, ALevelFreedByAnAskedFrameNamesItsNextOccupant) {
  CallFrame outer(top(), nullptr);
  std::uint32_t level = outer.level();
  {
    CallFrame first(top(), &outer);
    EXPECT_EQ(first.level(), level + 1);
  }
  CallFrame second(top(), &outer);
  EXPECT_EQ(CallFrame::at_level(level + 1), &second);
  // Other contexts between frames do not disturb the walk.
  SelfBinding binding(kNoObject);
  CallFrame third(top(), &second);
  EXPECT_EQ(CallFrame::at_level(level + 2), &third);
  EXPECT_EQ(CallFrame::at_level(level + 1), &second);
}

}  // namespace
}  // namespace orvane
