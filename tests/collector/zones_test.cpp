// The memory configuration, the sizing and layout of the zones, the zone
// primitives, the growth of the node store and the moves of the zones.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "collector/gc_test_support.h"
#include "core/runtime.h"
#include "shell/modules.h"
#include "core/zones.h"

namespace orvane {
namespace {

using namespace orvane::testing;

// --- The configuration ---------------------------------------------------------------------

std::vector<std::uint8_t> big_endian(std::initializer_list<std::uint32_t> words) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t w : words)
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(w >> shift));
  return bytes;
}

TEST(MemoryConfigTest, ParsesTheNineFieldsAndTheTotalBigEndian) {
  auto vprf = big_endian({9000, 70000, 3000, 250000, 0x123456, 200000, 300000, 40, 7});
  std::vector<std::uint8_t> size = {0xaa, 0xbb, 0x01, 0x02, 0x03, 0x04, 0xcc};
  MemoryConfig c = MemoryConfig::parse(vprf, size);
  EXPECT_EQ(c.symbols, 9000u);
  EXPECT_EQ(c.lisp_stack, 70000u);
  EXPECT_EQ(c.prolog_stack, 3000u);
  EXPECT_EQ(c.nodes, 250000u);
  EXPECT_EQ(c.heap, 0x123456u);
  EXPECT_EQ(c.reserve, 200000u);
  EXPECT_EQ(c.native_stack, 300000u);
  EXPECT_EQ(c.node_share, 40u);
  EXPECT_EQ(c.reserve_share, 7u);
  EXPECT_EQ(c.total, 0x01020304u);
}

TEST(MemoryConfigTest, AMissingResourceKeepsTheDefaultsAndATruncatedOneIsRefused) {
  MemoryConfig defaults;
  MemoryConfig c = MemoryConfig::parse({}, {});
  EXPECT_EQ(c.symbols, defaults.symbols);
  EXPECT_EQ(c.total, defaults.total);
  auto vprf = big_endian({1, 2, 3, 4, 5, 6, 7, 8, 9});
  vprf.pop_back();
  EXPECT_THROW(MemoryConfig::parse(vprf, {}), MemoryConfigError);
  std::vector<std::uint8_t> short_size = {0, 0, 1, 2, 3};
  EXPECT_THROW(MemoryConfig::parse({}, short_size), MemoryConfigError);
}

TEST(MemoryConfigTest, OverridesRaiseTheTotalByWhatTheyAdd) {
  MemoryConfig c;
  c.total = 10'000'000;
  c.symbols = 4096;
  c.nodes = 100'000;
  c.heap = 1'000'000;
  MemoryConfig o = apply_overrides(c, {.symbols = 8192, .nodes = 50'000, .heap = 3'000'000});
  EXPECT_EQ(o.symbols, 8192u);
  EXPECT_EQ(o.nodes, 50'000u);
  EXPECT_EQ(o.heap, 3'000'000u);
  // More symbols and a bigger heap cost memory; fewer nodes give none back.
  EXPECT_EQ(o.total, 10'000'000u + 16u * 4096 + 2'000'000u);
  EXPECT_EQ(size_memory(o, kLispBlockLimit).spare - size_memory(c, kLispBlockLimit).spare, 8 * 50'000);
}

TEST(MemoryConfigTest, UnusableZonesAreNamed) {
  MemoryConfig c;
  EXPECT_FALSE(memory_config_problem(c));
  c.symbols = 10;
  ASSERT_TRUE(memory_config_problem(c));
  EXPECT_NE(memory_config_problem(c)->find("symbol table"), std::string::npos);
  c = MemoryConfig{};
  c.lisp_stack = 100;
  EXPECT_TRUE(memory_config_problem(c));
  c = MemoryConfig{};
  c.symbols = 1u << 20;
  EXPECT_TRUE(memory_config_problem(c));
}

// --- Sizing -----------------------------------------------------------------------------------

MemoryConfig sizing_example() {
  MemoryConfig c;
  c.symbols = 1024;
  c.lisp_stack = 2048;
  c.prolog_stack = 64;
  c.nodes = 10000;
  c.heap = 100000;
  c.reserve = 50000;
  c.node_share = 50;
  c.reserve_share = 10;
  c.total = 1'000'000;
  return c;
}

TEST(SizingTest, TheSpareBecomesNodesAndReserveByTheirShares) {
  // need = 50000 + 16 x 1024 + 4 x 2048 + 32 + 8 x 10000 + 100000 + 4 x 64
  MemoryLayout l = size_memory(sizing_example(), kLispBlockLimit);
  EXPECT_EQ(l.spare, 1'000'000 - 254'864);
  EXPECT_EQ(l.nodes, 10000u + 50u * 745'136u / 800u);
  EXPECT_EQ(l.reserve, 50000u + 10u * 745'136u / 100u);
  EXPECT_EQ(l.block_size, 1'000'000u - l.reserve);
}

TEST(SizingTest, TheTotalIsLimitedByTheMemoryAvailable) {
  MemoryLayout l = size_memory(sizing_example(), 600'000);
  EXPECT_EQ(l.spare, 600'000 - 254'864);
}

TEST(SizingTest, SharesAboveOneHundredPercentDoNotEatTheMinimumHeap) {
  MemoryConfig c = sizing_example();
  c.node_share = 150;
  c.reserve_share = 30;
  MemoryLayout l = size_memory(c, kLispBlockLimit);
  EXPECT_EQ(l.nodes, 10000u + 70u * 745'136u / 800u);
  EXPECT_EQ(l.reserve, 50000u + 30u * 745'136u / 100u);
}

TEST(SizingTest, NodesStopAtTheLimitOfTwentyFourBitOffsets) {
  MemoryConfig c = sizing_example();
  c.node_share = 100;
  c.total = 1'000'000'000;
  EXPECT_EQ(size_memory(c, kLispBlockLimit).nodes, kMaxNodes);
}

TEST(SizingTest, TheStartUpAlertCountsTheMissingKilobytes) {
  EXPECT_EQ(startup_memory_alert_text(-1), "There is not enougth RAM memory : 1 K");
  EXPECT_EQ(startup_memory_alert_text(-1024), "There is not enougth RAM memory : 2 K");
  EXPECT_EQ(startup_memory_alert_text(-1025), "There is not enougth RAM memory : 2 K");
  EXPECT_EQ(startup_memory_alert_text(-5000), "There is not enougth RAM memory : 5 K");
}

TEST(SizingTest, TheRunTimeRefusesToStartShortOfMemory) {
  MemoryConfig c = small_config();
  c.total = 1'000'000;
  std::int64_t spare = size_memory(c, kLispBlockLimit).spare;
  ASSERT_LT(spare, 0);
  try {
    Runtime runtime(c, register_all_modules);
    FAIL() << "the run-time started";
  } catch (const StartupMemoryError& e) {
    EXPECT_EQ(std::string(e.what()), startup_memory_alert_text(spare));
  }
  c = small_config();
  c.symbols = 4;
  EXPECT_THROW((Runtime{c, register_all_modules}), StartupMemoryError);
  // A refused start leaves nothing behind: the next run-time starts.
  Runtime ok(small_config(), register_all_modules);
  EXPECT_NE(g_mem.nodes, nullptr);
}

TEST(SizingTest, TheZonesAreLaidOutInOrderAndFillTheBlock) {
  MemoryConfig c = sizing_example();
  c.symbols = 8192;
  c.lisp_stack = 65536;
  c.total = 4'000'000;
  Runtime runtime(c, register_all_modules);
  const LispMemory& m = g_mem;
  EXPECT_EQ(m.symbols_offset % 16, 0u);
  EXPECT_EQ(m.lisp_stack_base, m.symbols_offset + 16 * c.symbols);
  EXPECT_EQ(m.lisp_stack_limit, m.lisp_stack_base + 4 * c.lisp_stack - 2000);
  EXPECT_EQ(m.prolog_base, m.lisp_stack_base + 4 * c.lisp_stack);
  EXPECT_EQ(m.prolog_end, m.prolog_base + 4 * c.prolog_stack);
  EXPECT_EQ(m.nodes_offset % 8, 0u);
  EXPECT_GE(m.nodes_offset, m.prolog_end);
  EXPECT_EQ(m.node_count, runtime.layout().nodes);
  EXPECT_EQ(m.heap_start, m.nodes_offset + 8 * (m.node_count + 1));
  EXPECT_EQ(m.heap_end, m.block_end);
  EXPECT_EQ(m.block_end - m.block_start, runtime.layout().block_size);
  EXPECT_GE(m.heap_end - m.heap_start, c.heap);
}

// --- Zone primitives -----------------------------------------------------------------------------

using ZonesTest = CollectorTest;

std::vector<std::int64_t> integers(Value list) {
  std::vector<std::int64_t> out;
  for (; is_pair(list); list = cdr(list)) out.push_back(integer_of(car(list)));
  return out;
}

TEST_F(ZonesTest, SpaceSizeGivesTheUnitOfEachZone) {
  EXPECT_EQ(integers(run(list({sym("space-size-subr")}))), (std::vector<std::int64_t>{16, 4, 4, 8, 1, 1, 1}));
}

TEST_F(ZonesTest, ZoneAddressesAndSizesDescribeTheLayout) {
  const LispMemory& m = g_mem;
  EXPECT_EQ(integers(run(list({sym("zone-addresses")}))),
            (std::vector<std::int64_t>{m.symbols_offset, m.lisp_stack_base, m.nodes_offset + 8, m.heap_start,
                                       m.prolog_base, 0, 0}));
  std::vector<std::int64_t> sizes = integers(run(list({sym("space-subr")})));
  ASSERT_EQ(sizes.size(), 7u);
  EXPECT_EQ(sizes[0], m.symbol_count);
  EXPECT_EQ(sizes[1], (m.lisp_stack_end - m.lisp_stack_base) / 4);
  EXPECT_EQ(sizes[2], (m.prolog_end - m.prolog_base) / 4);
  EXPECT_EQ(sizes[3], m.node_count);
  EXPECT_EQ(sizes[4], m.heap_end - m.heap_start);
  EXPECT_EQ(sizes[5], m.reserve);
  EXPECT_GT(sizes[6], 0);
}

TEST_F(ZonesTest, FreeSpaceReportsWhatIsLeftInEachZone) {
  std::vector<std::int64_t> free = integers(run(list({sym("free-space-subr")})));
  ASSERT_EQ(free.size(), 7u);
  const LispMemory& m = g_mem;
  EXPECT_EQ(free[0], m.symbols_free);
  EXPECT_EQ(free[1], (m.lisp_stack_limit - m.lisp_stack_base) / 4);  // nothing pushed at top level
  EXPECT_EQ(free[2], (m.prolog_top - m.prolog_base) / 4);
  EXPECT_EQ(free[3], m.free_count + 7);  // the answer took seven pairs
  EXPECT_EQ(free[4], m.heap_end - m.heap_alloc);
  EXPECT_LE(free[5], m.reserve);
  EXPECT_GT(free[6], 0);
  EXPECT_LE(free[6], integers(run(list({sym("space-subr")})))[6]);
}

TEST_F(ZonesTest, GrowthCanBeTurnedOffAndOn) {
  EXPECT_EQ(run(list({sym("memory-growable?")})), g_sym.t);
  EXPECT_EQ(run(list({sym("set-memory-growable?"), kNil})), kNoValue);
  EXPECT_EQ(run(list({sym("memory-growable?")})), kNil);
  run(list({sym("set-memory-growable?"), num(0)}));
  EXPECT_EQ(run(list({sym("memory-growable?")})), g_sym.t);
}

TEST_F(ZonesTest, GrowHeapAlwaysAnswersNil) { EXPECT_EQ(run(list({sym("grow-heap"), num(100000)})), kNil); }

TEST_F(ZonesTest, GrowNodesAddsAtLeastFiveThousandNodesAndKeepsTheData) {
  GcRoot kept(list({make_string("moved up"), make_real(1.5)}));
  std::uint32_t nodes = g_mem.node_count, start = g_mem.heap_start;
  ASSERT_GE(g_mem.heap_end - g_mem.heap_alloc, 40000u);

  EXPECT_EQ(run(list({sym("grow-nodes"), num(10)})), g_sym.t);

  EXPECT_EQ(g_mem.node_count, nodes + 5000);
  EXPECT_EQ(g_mem.heap_start, start + 40000);
  EXPECT_EQ(text(car(kept.get())), "moved up");
  EXPECT_EQ(real_of(car(cdr(kept.get()))), 1.5);
  std::vector<std::uint32_t> offsets = free_list_offsets();
  EXPECT_EQ(offsets.size(), g_mem.free_count);
  EXPECT_EQ(offsets.back(), 8 * g_mem.node_count);

  run(list({sym("set-memory-growable?"), kNil}));
  EXPECT_EQ(run(list({sym("grow-nodes"), num(10)})), kNil);
  EXPECT_EQ(g_mem.node_count, nodes + 5000);
}

TEST_F(ZonesTest, GrowNodesNeedsRoomInTheIndirectArea) {
  GcRoot filler;
  while (g_mem.heap_end - g_mem.heap_alloc >= 40000)
    filler.set(cons(make_string(std::string(30000, 'x')), filler.get()));
  std::uint32_t nodes = g_mem.node_count;
  EXPECT_EQ(run(list({sym("grow-nodes"), num(10)})), kNil);
  EXPECT_EQ(g_mem.node_count, nodes);
}

[[gnu::noinline]] void use_every_free_node() {
  std::uint64_t start = collector_stats().collections;
  while (collector_stats().collections == start) cons(kNil, kNil);
}

TEST_F(ZonesTest, NewNodesJoinTheEndOfAFreeListOfSweptNodes) {
  use_every_free_node();  // the list now holds swept nodes, then the last node
  GcRoot kept(list({num(1), num(2)}));
  collect_clean();
  std::uint32_t free = g_mem.free_count, old_end = 8 * (g_mem.node_count + 1);
  ASSERT_TRUE(grow_nodes(5000));
  std::vector<std::uint32_t> offsets = free_list_offsets();
  ASSERT_EQ(offsets.size(), free + 5000);
  EXPECT_EQ(offsets[free - 1], old_end - 8);
  for (std::uint32_t i = 0; i < 5000; ++i) EXPECT_EQ(offsets[free + i], old_end + 8 * i);
  EXPECT_EQ(car(cdr(kept.get())), num(2));
}

// --- Moving zones ------------------------------------------------------------------------------------

TEST_F(ZonesTest, IndirectsAndNodesMoveIntoFreeSpaceAndBack) {
  GcRoot kept(list({make_string("stays readable"), num(12345678)}));
  const std::uint32_t heap = g_mem.heap_start, nodes = g_mem.nodes_offset;
  EXPECT_EQ(run(list({sym("move-indirects"), num(1000)})), kNoValue);
  EXPECT_EQ(g_mem.heap_start, heap + 1000);
  EXPECT_EQ(run(list({sym("move-nodes"), num(1000)})), kNoValue);
  EXPECT_EQ(g_mem.nodes_offset, nodes + 1000);
  EXPECT_EQ(text(car(kept.get())), "stays readable");
  EXPECT_EQ(integer_of(car(cdr(kept.get()))), 12345678);
  kept.set(cons(make_string("made after the move"), kept.get()));
  collect_clean();
  EXPECT_EQ(text(car(kept.get())), "made after the move");

  run(list({sym("move-nodes"), num(-1000)}));
  run(list({sym("move-indirects"), num(-1000)}));
  EXPECT_EQ(g_mem.nodes_offset, nodes);
  EXPECT_EQ(g_mem.heap_start, heap);
  EXPECT_EQ(text(car(cdr(kept.get()))), "stays readable");
}

TEST_F(ZonesTest, MovesThatLeaveTheBlockOrOverlapAZoneAreRefused) {
  std::uint32_t free_bytes = g_mem.heap_end - g_mem.heap_alloc;
  EXPECT_EQ(error_of(list({sym("move-nodes"), num(8)})), 2);            // onto the indirect area
  EXPECT_EQ(error_of(list({sym("move-nodes"), num(-8)})), 2);           // onto the prolog stack
  EXPECT_EQ(error_of(list({sym("move-symbols"), num(16)})), 2);         // onto the Lisp stack
  EXPECT_EQ(error_of(list({sym("move-symbols"), num(-16)})), 2);        // out of the block
  EXPECT_EQ(error_of(list({sym("move-indirects"), num(-2)})), 2);       // onto the nodes
  EXPECT_EQ(error_of(list({sym("move-indirects"), num(3)})), 2);        // odd
  EXPECT_EQ(error_of(list({sym("move-indirects"), num(static_cast<std::int32_t>(free_bytes + 2))})), 2);
  EXPECT_EQ(error_of(list({sym("move-nodes"), quoted(sym("far"))})), 2);
  run(list({sym("move-indirects"), num(64)}));
  EXPECT_EQ(error_of(list({sym("move-nodes"), num(12)})), 2);  // not a node boundary
  EXPECT_EQ(error_of(list({sym("move-nodes"), num(72)})), 2);  // past the gap
}

TEST_F(ZonesTest, TheStacksDoNotMove) {
  std::uint32_t base = g_mem.lisp_stack_base, prolog = g_mem.prolog_base;
  EXPECT_EQ(run(list({sym("move-lisp-stack"), num(400)})), kNoValue);
  EXPECT_EQ(run(list({sym("move-prolog-stack"), num(-400)})), kNoValue);
  EXPECT_EQ(g_mem.lisp_stack_base, base);
  EXPECT_EQ(g_mem.prolog_base, prolog);
  EXPECT_EQ(error_of(list({sym("move-lisp-stack"), make_string("x")})), 2);
}

}  // namespace
}  // namespace orvane
