// Helpers for the collector's tests: a fixture, a way to drop Values for
// certain in spite of the conservative scan, and views of the free list.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/collector.h"
#include "core/memory.h"
#include "support/eval_helpers.h"

namespace orvane::testing {

// Overwrites the native stack below the caller, so that stale copies of
// Values that a finished helper held do not keep them alive.
[[gnu::noinline]] inline void scrub_stack() {
  volatile char buffer[64 * 1024];
  for (auto& b : buffer) b = 0;
}

// A collection that sees no stale copies of dropped Values.
[[gnu::noinline]] inline void collect_clean() {
  scrub_stack();
  collect();
}

// The offsets on the free list, in list order (stops after one more step
// than the free count, so a cycle cannot hang the test).
inline std::vector<std::uint32_t> free_list_offsets() {
  std::vector<std::uint32_t> offsets;
  for (std::uint32_t p = g_mem.free_head; p != 0 && offsets.size() <= g_mem.free_count;
       p = node_at(p).w1 & kPayloadMask)
    offsets.push_back(p);
  return offsets;
}

inline std::string text(Value s) { return std::string(string_view_of(s)); }

// A run-time with an evaluator, whose collections run only when asked
// (or when memory runs short) even under the stress mode: these tests
// check what one collection does.
class CollectorTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    g_mem.gc_stress = false;
  }
  void TearDown() override {
    g_collector_hooks = CollectorHooks{};
    EvalTest::TearDown();
  }
};

}  // namespace orvane::testing
