// Helpers for the collector's tests: a fixture, a way to drop Values for
// certain in spite of the conservative scan, and views of the free list.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/collector.h"
#include "core/memory.h"
#include "platform/host.h"
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

// Values kept by a registered root range, so that tests can drop them.
class Keep {
 public:
  Keep() { add_root_range(values_.data(), values_.size()); }
  ~Keep() { remove_root_range(values_.data()); }
  Value& operator[](std::size_t i) { return values_[i]; }

 private:
  std::array<Value, 16> values_{};
};

inline std::string text(Value s) { return std::string(string_view_of(s)); }

// A host that counts what the collector asks of it and answers the
// out-of-memory alert as told; everything else goes to the host it replaced.
class CollectorHost final : public platform::Host {
 public:
  CollectorHost() : outer_(platform::host()), scope_(*this) {}
  std::function<int()> answer_out_of_memory = [] { return 1; };
  int busy_cursors = 0, restored_cursors = 0, out_of_memory_alerts = 0;
  std::vector<std::string> internal_errors;

  platform::Clock& clock() override { return outer_.clock(); }
  void write_terminal(std::string_view text) override { outer_.write_terminal(text); }
  void flush_terminal() override { outer_.flush_terminal(); }
  int read_terminal() override { return outer_.read_terminal(); }
  void write_error_line(std::string_view text) override { outer_.write_error_line(text); }
  void internal_error_alert(std::string_view text) override { internal_errors.emplace_back(text); }
  int out_of_memory_alert() override {
    ++out_of_memory_alerts;
    return answer_out_of_memory();
  }
  void show_busy_cursor() override { ++busy_cursors; }
  void restore_cursor() override { ++restored_cursors; }

 private:
  platform::Host& outer_;
  platform::HostScope scope_;
};

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
    set_cursor_restore_poster(nullptr);
    EvalTest::TearDown();
  }
};

}  // namespace orvane::testing
