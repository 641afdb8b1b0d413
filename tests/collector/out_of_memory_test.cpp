// Running out of memory: when the alert appears, what "OK" and "Quit" do,
// and that the run-time goes on afterwards.
#include <gtest/gtest.h>

#include <string>

#include "collector/gc_test_support.h"
#include "core/primitives.h"

namespace orvane {
namespace {

using namespace orvane::testing;

struct Fill {
  std::uint64_t done = 0;
  std::uint32_t free_at_start = 0;
  int alerts = 0;
  std::uint32_t free_at_alert = 0;
};
Fill g_fill;

int answer_ok() {
  ++g_fill.alerts;
  g_fill.free_at_alert = g_mem.free_count;
  return 1;
}

// The alert answered "OK", after the normal cursor was restored.
class AnsweringOk {
 public:
  AnsweringOk() {
    host_.answer_out_of_memory = [this] {
      EXPECT_EQ(host_.restored_cursors, host_.out_of_memory_alerts);
      return answer_ok();
    };
  }

 private:
  CollectorHost host_;
};

// Keeps every pair it makes until memory runs out.
Value p_fill_nodes() {
  GcRoot kept;
  g_fill.free_at_start = g_mem.free_count;
  for (;;) {
    kept.set(cons(kNil, kept.get()));
    ++g_fill.done;
  }
}

Value p_fill_heap() {
  GcRoot kept;
  for (;;) {
    kept.set(cons(make_string(std::string(60000, 'h')), kept.get()));
    ++g_fill.done;
  }
}

class OutOfMemoryTest : public CollectorTest {
 protected:
  MemoryConfig config() override {
    MemoryConfig c = small_config();
    c.nodes = 20000;
    c.total = 2'200'000;  // an indirect area of about 1.5 MB
    return c;
  }
  void SetUp() override {
    CollectorTest::SetUp();
    g_fill = Fill{};
    defprim("fill-nodes", p_fill_nodes);
    defprim("fill-heap", p_fill_heap);
  }
  // After the abandoned computation the run-time goes on with its memory.
  // (Much of the dead list may stay: the conservative scan keeps what a
  // word left on the native stack happens to name, and the list is one
  // chain over the whole node store, so one such word near its head keeps
  // nearly all of it; where the stack's words fall changes from run to run.
  // So the test asks for room to go on, not for a share of the store.)
  void expect_recovered(std::uint32_t nodes) {
    collect_clean();
    EXPECT_GT(g_mem.free_count, std::min<std::uint32_t>(nodes / 4, 1000));
    EXPECT_EQ(run(list({sym("recycle"), kNil})), kNoValue);
    const int alerts = g_fill.alerts;
    EXPECT_TRUE(is_pair(run(list({sym("list"), num(1), num(2), num(3)}))));
    EXPECT_EQ(g_fill.alerts, alerts);
  }
};

TEST_F(OutOfMemoryTest, WithGrowthOffTheAlertComesOnlyWhenFewerThanTwoNodesRemain) {
  AnsweringOk ok;
  run(list({sym("set-memory-growable?"), kNil}));
  std::uint32_t nodes = g_mem.node_count;

  EXPECT_FALSE(eval_toplevel(list({sym("fill-nodes")})).completed);

  EXPECT_EQ(g_fill.alerts, 1);
  EXPECT_LT(g_fill.free_at_alert, 2u);
  EXPECT_GE(g_fill.done + 1, g_fill.free_at_start);
  EXPECT_EQ(g_mem.node_count, nodes);
  expect_recovered(nodes);
}

TEST_F(OutOfMemoryTest, WithGrowthOnTheNodeStoreGrowsBeforeTheAlert) {
  AnsweringOk ok;
  std::uint32_t nodes = g_mem.node_count;
  EXPECT_FALSE(eval_toplevel(list({sym("fill-nodes")})).completed);
  EXPECT_EQ(g_fill.alerts, 1);
  EXPECT_GE(g_mem.node_count, nodes + 5000);
  EXPECT_LT(g_mem.heap_end - g_mem.heap_alloc, 40000u)
      << "growth stops only when the indirect area has no room left";
  expect_recovered(g_mem.node_count);
}

TEST_F(OutOfMemoryTest, AnExhaustedIndirectAreaRaisesTheAlert) {
  AnsweringOk ok;
  EXPECT_FALSE(eval_toplevel(list({sym("fill-heap")})).completed);
  EXPECT_EQ(g_fill.alerts, 1);
  EXPECT_GT(g_fill.done, 10u);
  expect_recovered(g_mem.node_count);
  EXPECT_GT(g_mem.heap_end - g_mem.heap_alloc, 1'000'000u);
}

TEST_F(OutOfMemoryTest, AConsoleRunAnswersOk) {
  test_host().forward_errors = true;  // the console host answers
  run(list({sym("set-memory-growable?"), kNil}));
  ::testing::internal::CaptureStderr();
  TopLevelResult r = eval_toplevel(list({sym("fill-nodes")}));
  std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(r.completed);
  EXPECT_NE(printed.find("Out of Memory"), std::string::npos);
  expect_recovered(g_mem.node_count);
}

using OutOfMemoryDeathTest = OutOfMemoryTest;

TEST_F(OutOfMemoryDeathTest, QuitEndsTheProgram) {
  CollectorHost host;
  host.answer_out_of_memory = [] { return 2; };
  run(list({sym("set-memory-growable?"), kNil}));
  EXPECT_EXIT(eval_toplevel(list({sym("fill-nodes")})), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace orvane
