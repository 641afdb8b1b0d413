// What one collection does: roots, marking, the compaction of the indirect
// area, the node sweep and the free list, native objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "collector/gc_test_support.h"
#include "core/native_objects.h"
#include "core/symbols.h"
#include "lib/vectors.h"

namespace orvane {
namespace {

using namespace orvane::testing;

using CollectionTest = CollectorTest;

[[gnu::noinline]] void make_garbage(std::uint32_t pairs, std::uint32_t strings) {
  for (std::uint32_t i = 0; i < pairs; ++i) cons(make_fixnum(static_cast<std::int32_t>(i)), kNil);
  for (std::uint32_t i = 0; i < strings; ++i) make_string("garbage text");
}

// --- Roots and survival -------------------------------------------------------------------

TEST_F(CollectionTest, ACollectionWithoutGarbageChangesNothing) {
  Keep keep;
  keep[0] = list({num(1), make_string("two"), make_real(3.5), num(10'000'000)});
  keep[1] = make_vector(std::array{make_string("in a vector"), num(7)}.data(), 2);
  collect_clean();
  std::uint32_t free = g_mem.free_count, alloc = g_mem.heap_alloc;
  std::uint32_t list_bits = keep[0].bits, vector_data = node_of(keep[1]).w1;

  collect_clean();

  EXPECT_EQ(g_mem.free_count, free);
  EXPECT_EQ(g_mem.heap_alloc, alloc);
  EXPECT_EQ(keep[0].bits, list_bits);
  EXPECT_EQ(node_of(keep[1]).w1, vector_data);
  Value l = keep[0];
  EXPECT_EQ(car(l), num(1));
  EXPECT_EQ(text(car(cdr(l))), "two");
  EXPECT_EQ(real_of(car(cdr(cdr(l)))), 3.5);
  EXPECT_EQ(integer_of(car(cdr(cdr(cdr(l))))), 10'000'000);
  EXPECT_EQ(text(load_value(indirect_data(keep[1]) + 2)), "in a vector");
}

[[gnu::noinline]] std::string string_held_by_a_local_only(std::uint64_t& collections_seen) {
  make_garbage(0, 50);  // dead data below the string, so that it moves
  Value s = make_string("only a local holds me");
  std::uint32_t before = node_of(s).w1;
  std::uint64_t start = collector_stats().collections;
  while (collector_stats().collections == start) cons(kNil, kNil);
  collections_seen = collector_stats().collections - start;
  EXPECT_LT(node_of(s).w1, before) << "the string was expected to move down";
  return std::string(string_view_of(s));
}

TEST_F(CollectionTest, AStringHeldOnlyByANativeLocalSurvivesACollectionInTheSameRoutine) {
  std::uint64_t collections = 0;
  EXPECT_EQ(string_held_by_a_local_only(collections), "only a local holds me");
  EXPECT_EQ(collections, 1u);
}

[[gnu::noinline]] Node* node_address_of_a_fresh_pair() {
  Value pair = cons(make_string("reached by address"), kNil);
  return &node_of(pair);
}

TEST_F(CollectionTest, ANodeReachedOnlyThroughAHostAddressStaysAllocated) {
  // Native code may keep node_of(v) instead of v; the scan honours it.
  Node* volatile node = node_address_of_a_fresh_pair();
  make_garbage(1000, 10);
  collect_clean();
  make_garbage(1000, 10);
  EXPECT_EQ(text(Value(node->w0 & kCarMask)), "reached by address");
}

TEST_F(CollectionTest, RootsOfEveryKindKeepTheirValues) {
  static Value extra_root;
  Keep keep;
  Value symbol = intern("collector-test-global");
  set_symbol_global(symbol, make_string("symbol value"));
  keep[0] = make_string("root range");
  g_mem.self = list({make_string("self")});
  LispStackMark mark;
  lisp_push(make_string("lisp stack"));
  extra_root = make_string("extra root");
  ExtraRoots extra([](ValueMarker& m) { m.mark(extra_root); });

  make_garbage(2000, 100);
  collect_clean();
  make_garbage(2000, 100);  // would overwrite anything wrongly freed

  EXPECT_EQ(text(symbol_global(symbol)), "symbol value");
  EXPECT_EQ(text(keep[0]), "root range");
  EXPECT_EQ(text(car(g_mem.self)), "self");
  EXPECT_EQ(text(*lisp_stack_host(mark.saved())), "lisp stack");
  EXPECT_EQ(text(extra_root), "extra root");
  g_mem.self = kNoObject;
}

// --- Marking deep and long structures -----------------------------------------------------

TEST_F(CollectionTest, DeeplyNestedCarsAndLongListsAreMarkedWithoutNativeRecursion) {
  GcRoot deep, long_list;
  const std::uint32_t depth = 30000;
  for (std::uint32_t i = 0; i < depth; ++i) deep.set(cons(deep.get(), make_fixnum(static_cast<std::int32_t>(i))));
  for (std::uint32_t i = 0; i < depth; ++i) long_list.set(cons(make_fixnum(static_cast<std::int32_t>(i)), long_list.get()));

  collect_clean();
  make_garbage(5000, 0);

  std::uint32_t n = 0;
  for (Value v = deep.get(); is_pair(v); v = car(v)) EXPECT_EQ(cdr(v).fixnum(), static_cast<std::int32_t>(depth - 1 - n++));
  EXPECT_EQ(n, depth);
  EXPECT_EQ(list_length(long_list.get()), depth);
}

TEST_F(CollectionTest, CircularListsAreMarkedOnce) {
  GcRoot ring(list({make_string("a"), make_string("b"), make_string("c")}));
  Value last = cdr(cdr(ring.get()));
  set_cdr(last, ring.get());
  collect_clean();
  EXPECT_EQ(text(car(cdr(cdr(cdr(ring.get()))))), "a");
}

// --- The node sweep and the free list -------------------------------------------------------

TEST_F(CollectionTest, TheFreeListStartsAtTheHighestFreedNodeAndHoldsEveryFreeNode) {
  make_garbage(3000, 0);
  collect_clean();
  std::vector<std::uint32_t> offsets = free_list_offsets();
  ASSERT_EQ(offsets.size(), g_mem.free_count);
  std::set<std::uint32_t> distinct(offsets.begin(), offsets.end());
  EXPECT_EQ(distinct.size(), offsets.size());
  for (std::uint32_t off : offsets) ASSERT_EQ(node_at(off).w0, kNil.bits);

  // Freed nodes come first, highest first; the nodes never used since the
  // layout follow in ascending order up to the last node.
  std::uint32_t fresh = g_mem.fresh_nodes;
  auto first_fresh = std::find(offsets.begin(), offsets.end(), fresh);
  ASSERT_TRUE(std::is_sorted(offsets.begin(), first_fresh, std::greater<>()));
  ASSERT_TRUE(std::is_sorted(first_fresh, offsets.end()));
  ASSERT_NE(offsets.begin(), first_fresh) << "the garbage pairs were expected to be freed";
  std::uint32_t highest_freed = offsets.front();
  for (std::uint32_t off = highest_freed + 8; off < fresh; off += 8)
    EXPECT_EQ(distinct.count(off), 0u) << "node " << off << " is free but not first";
}

TEST_F(CollectionTest, NodesFreedAreCountedAndReused) {
  // The conservative scan keeps a node whose offset equals some integer
  // left on the native stack (unoptimised builds leave more of them): one
  // percent of the garbage is tolerated.
  constexpr std::uint32_t kSlack = 40;
  collect_clean();
  static std::uint32_t free;
  free = g_mem.free_count;
  make_garbage(4000, 0);
  EXPECT_EQ(g_mem.free_count, free - 4000);
  collect_clean();
  EXPECT_GE(g_mem.free_count + kSlack, free);
  EXPECT_LE(g_mem.free_count, free);
  EXPECT_GE(collector_stats().nodes_freed + kSlack, 4000u);
}

// --- The compaction of the indirect area -----------------------------------------------------

[[gnu::noinline]] void make_chain_with_a_hole(Keep& keep) {
  keep[0] = make_string("aaaa");   // 5 bytes, 6 with padding
  make_string("hole!");            // 6 bytes: the hole
  keep[1] = make_string("bbbbbbb"); // 8 bytes
  keep[2] = make_real(2.25);
  keep[3] = make_vector(std::array{keep[1], num(42)}.data(), 2);
}

TEST_F(CollectionTest, FreeingAnIndirectInTheMiddleSlidesLaterSurvivorsDown) {
  Keep keep;
  collect_clean();
  make_chain_with_a_hole(keep);
  std::uint32_t first = node_of(keep[0]).w1;
  std::uint32_t second = node_of(keep[1]).w1, real = node_of(keep[2]).w1, vector = node_of(keep[3]).w1;
  ASSERT_EQ(second, first + 6 + 6);
  std::uint32_t alloc = g_mem.heap_alloc;

  collect_clean();

  EXPECT_EQ(node_of(keep[0]).w1, first);
  EXPECT_EQ(node_of(keep[1]).w1, second - 6);
  EXPECT_EQ(node_of(keep[2]).w1, real - 6);
  EXPECT_EQ(node_of(keep[3]).w1, vector - 6);
  EXPECT_EQ(g_mem.heap_alloc, alloc - 6);
  EXPECT_EQ(collector_stats().bytes_reclaimed, 6u);
  EXPECT_EQ(text(keep[0]), "aaaa");
  EXPECT_EQ(text(keep[1]), "bbbbbbb");
  EXPECT_EQ(real_of(keep[2]), 2.25);
  EXPECT_EQ(load_value(indirect_data(keep[3]) + 2), keep[1]);
  EXPECT_EQ(load_value(indirect_data(keep[3]) + 6), num(42));
}

TEST_F(CollectionTest, PermanentIndirectsAreCompactedButNeverFreed) {
  Value name_holder = intern("a-symbol-made-at-run-time");
  make_garbage(0, 20);
  collect_clean();
  EXPECT_EQ(symbol_name(name_holder), "a-symbol-made-at-run-time");
}

TEST_F(CollectionTest, ACorruptChainRaisesTheAlertAndLosesNothing) {
  CollectorHost host;
  Keep keep;
  keep[0] = make_string("before");
  keep[1] = make_string("damaged");
  keep[2] = make_string("after");
  Node& damaged = node_of(keep[1]);
  std::uint32_t saved = damaged.w0;
  damaged.w0 = (saved & ~0x3f000000u) | (0x3fu << 24);  // no indirect header

  collect_clean();
  Value fresh = make_string("allocated after");
  damaged.w0 = saved;

  EXPECT_EQ(host.internal_errors,
            std::vector<std::string>{"An error has occured.  You should save your file, quit and reload the software."});
  EXPECT_EQ(text(keep[0]), "before");
  EXPECT_EQ(text(keep[2]), "after");
  EXPECT_EQ(text(fresh), "allocated after");
}

// --- Hash tables ---------------------------------------------------------------------------------

TEST_F(CollectionTest, HashTableSlotsAreRoots) {
  GcRoot table(make_hash_table());
  Value key = intern("collector-hash-key");
  hash_table_put(table.get(), key, make_string("in a hash table"));
  make_garbage(0, 30);
  collect_clean();
  make_garbage(0, 30);
  EXPECT_EQ(text(hash_table_get(table.get(), key)), "in a hash table");
}

// --- Hooks ---------------------------------------------------------------------------------------

TEST_F(CollectionTest, TheCursorRestoreMessageIsPostedOnceUntilHandled) {
  CollectorHost host;
  int posted = 0;
  set_cursor_restore_poster([&] { ++posted; });
  cursor_restore_done();
  collect();
  collect();
  EXPECT_EQ(host.busy_cursors, 2);
  EXPECT_EQ(posted, 1);
  cursor_restore_done();
  collect();
  EXPECT_EQ(posted, 2);
}

TEST_F(CollectionTest, RecycleRunsACollectionAndAnswersNoValue) {
  std::uint64_t before = collector_stats().collections;
  EXPECT_EQ(run(list({sym("recycle"), num(0)})), kNoValue);
  EXPECT_EQ(collector_stats().collections, before + 1);
}

using CollectionDeathTest = CollectorTest;

TEST_F(CollectionDeathTest, AnAllocationDuringACollectionStopsTheProgram) {
  ExtraRoots allocating([](ValueMarker&) { cons(kNil, kNil); });
  EXPECT_DEATH(collect(), "allocation was attempted during a collection");
}

}  // namespace
}  // namespace orvane
