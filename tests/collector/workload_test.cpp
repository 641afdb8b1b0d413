// Long and random workloads: structures built and dropped at random, with a
// shadow copy of what stays reachable checked after every collection; and a
// long run that must keep working in constant memory.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "collector/gc_test_support.h"
#include "lib/vectors.h"

namespace orvane {
namespace {

using namespace orvane::testing;

// What a structure should hold, kept on the host heap.
struct Shape {
  enum class Kind { fixnum, long_int, real, string, list, vector } kind = Kind::fixnum;
  std::int64_t integer = 0;
  double real = 0;
  std::string text;
  std::vector<Shape> items;
};

class ShapeMaker {
 public:
  explicit ShapeMaker(std::uint32_t seed) : rng_(seed) {}

  Shape make(int depth = 0) {
    Shape s;
    int kind = pick(depth < 3 ? 6 : 4);
    switch (kind) {
      case 0: s.kind = Shape::Kind::fixnum; s.integer = pick(2'000'000) - 1'000'000; break;
      case 1: s.kind = Shape::Kind::long_int; s.integer = 100'000'000 + pick(1'000'000); break;
      case 2: s.kind = Shape::Kind::real; s.real = pick(100000) / 7.0; break;
      case 3: s.kind = Shape::Kind::string; s.text = text(pick(120)); break;
      default: {
        s.kind = kind == 4 ? Shape::Kind::list : Shape::Kind::vector;
        int n = pick(12);
        for (int i = 0; i < n; ++i) s.items.push_back(make(depth + 1));
      }
    }
    return s;
  }
  int pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }

 private:
  std::string text(int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t.push_back(static_cast<char>('a' + pick(26)));
    return t;
  }
  std::mt19937 rng_;
};

// Builds the structure; partial results wait on the Lisp stack.
Value build(const Shape& s) {
  switch (s.kind) {
    case Shape::Kind::fixnum:
    case Shape::Kind::long_int: return make_integer(s.integer);
    case Shape::Kind::real: return make_real(s.real);
    case Shape::Kind::string: return make_string(s.text);
    case Shape::Kind::list:
    case Shape::Kind::vector: {
      LispStackMark mark;
      std::uint32_t first = g_mem.lisp_stack_top;
      for (const Shape& item : s.items) lisp_push(build(item));
      auto n = static_cast<std::uint32_t>(s.items.size());
      if (s.kind == Shape::Kind::vector) return make_vector(lisp_stack_host(first), n);
      Value l = kNil;
      for (std::uint32_t i = n; i-- > 0;) l = cons(*lisp_stack_host(first + 4 * i), l);
      return l;
    }
  }
  return kNil;
}

::testing::AssertionResult matches(Value v, const Shape& s) {
  auto fail = [&](const char* what) { return ::testing::AssertionFailure() << what << " differs"; };
  switch (s.kind) {
    case Shape::Kind::fixnum:
    case Shape::Kind::long_int:
      if (!is_integer(v) || integer_of(v) != s.integer) return fail("integer");
      break;
    case Shape::Kind::real:
      if (!is_real(v) || real_of(v) != s.real) return fail("real");
      break;
    case Shape::Kind::string:
      if (!is_string(v) || string_view_of(v) != s.text) return fail("string");
      break;
    case Shape::Kind::list: {
      Value l = v;
      for (const Shape& item : s.items) {
        if (!is_pair(l)) return fail("list length");
        if (auto r = matches(car(l), item); !r) return r;
        l = cdr(l);
      }
      if (l != kNil) return fail("list end");
      break;
    }
    case Shape::Kind::vector: {
      if (!is_vector(v) || vector_length(v) != s.items.size()) return fail("vector length");
      for (std::size_t i = 0; i < s.items.size(); ++i)
        if (auto r = matches(load_value(indirect_data(v) + 2 + 4 * i), s.items[i]); !r) return r;
      break;
    }
  }
  return ::testing::AssertionSuccess();
}

class WorkloadTest : public EvalTest {};

TEST_F(WorkloadTest, RandomStructuresSurviveExactlyAsLongAsTheyAreReachable) {
  constexpr std::size_t kSlots = 48;
  std::array<Value, kSlots> slots{};
  std::array<std::optional<Shape>, kSlots> shadow;
  add_root_range(slots.data(), kSlots);
  LispStackMark stack_mark;
  std::vector<Shape> on_lisp_stack;
  ShapeMaker maker(20240611);
  const int rounds = g_mem.gc_stress ? 400 : 4000;
  std::uint64_t start = collector_stats().collections;

  auto check_all = [&](int round) {
    for (std::size_t i = 0; i < kSlots; ++i) {
      if (shadow[i]) {
        ASSERT_TRUE(matches(slots[i], *shadow[i])) << "slot " << i << " round " << round;
      }
    }
    for (std::size_t i = 0; i < on_lisp_stack.size(); ++i)
      ASSERT_TRUE(matches(*lisp_stack_host(stack_mark.saved() + 4 * static_cast<std::uint32_t>(i)), on_lisp_stack[i]))
          << "Lisp stack entry " << i << " round " << round;
  };

  for (int round = 0; round < rounds; ++round) {
    int op = maker.pick(20);
    std::size_t slot = static_cast<std::size_t>(maker.pick(kSlots));
    if (op < 7) {  // keep a new structure, dropping the one it replaces
      Shape s = maker.make();
      slots[slot] = build(s);
      shadow[slot] = std::move(s);
    } else if (op < 13) {  // garbage
      build(maker.make());
    } else if (op < 15) {  // drop
      slots[slot] = kNil;
      shadow[slot].reset();
    } else if (op < 16 && on_lisp_stack.size() < 64) {
      Shape s = maker.make();
      Value v = build(s);
      lisp_push(v);
      on_lisp_stack.push_back(std::move(s));
    } else if (op < 18 && shadow[slot] && shadow[slot]->kind == Shape::Kind::list && !shadow[slot]->items.empty()) {
      Shape item = maker.make(2);
      set_car(slots[slot], build(item));
      shadow[slot]->items[0] = std::move(item);
    } else {
      collect();
      check_all(round);
      if (::testing::Test::HasFatalFailure()) break;
    }
  }
  collect();
  check_all(rounds);
  EXPECT_GT(collector_stats().collections - start, 10u);
  remove_root_range(slots.data());
}

class LongRunTest : public EvalTest {
 protected:
  MemoryConfig config() override {
    MemoryConfig c = small_config();
    c.nodes = 20000;
    return c;
  }
};

[[gnu::noinline]] void churn(std::array<Value, 100>& live, std::uint64_t nodes_to_allocate) {
  std::uint64_t allocated = 0;
  for (std::uint32_t i = 0; allocated < nodes_to_allocate; ++i) {
    // Six pairs and two indirects (each commit takes one node), then one
    // more indirect that stays alive until its slot is reused.
    list({num(1), num(2), num(3), make_real(i), make_string("short-lived"), num(i)});
    live[i % live.size()] = make_string("long-lived " + std::to_string(i % 10));
    allocated += 6 + 2 + 1;
  }
}

TEST_F(LongRunTest, AllocatingAHundredTimesTheNodeStoreKeepsWorkingInConstantMemory) {
  g_mem.gc_stress = false;  // this is about the ordinary cadence of collections
  std::array<Value, 100> live{};
  for (std::size_t i = 0; i < live.size(); ++i) live[i] = make_string("long-lived " + std::to_string(i % 10));
  add_root_range(live.data(), live.size());
  collect_clean();
  const std::uint32_t nodes = g_mem.node_count, heap_start = g_mem.heap_start, used = g_mem.heap_alloc - heap_start;
  const std::uint64_t collections = collector_stats().collections;

  churn(live, 100ull * nodes);
  collect_clean();

  EXPECT_EQ(g_mem.node_count, nodes);
  EXPECT_EQ(g_mem.heap_start, heap_start);
  EXPECT_LE(g_mem.heap_alloc - g_mem.heap_start, used + 1024);
  EXPECT_GE(collector_stats().collections - collections, 50u);
  for (std::size_t i = 0; i < live.size(); ++i) {
    std::string_view t = string_view_of(live[i]);
    EXPECT_EQ(t.substr(0, 11), "long-lived ");
  }
  remove_root_range(live.data());
}

}  // namespace
}  // namespace orvane
