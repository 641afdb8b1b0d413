#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "core/blocks_allocator.h"
#include "core/core_primitives.h"
#include "core/primitives.h"
#include "eval/native_forms.h"
#include "lib/streams.h"
#include "shell/modules.h"
#include "library/library_test.h"

namespace orvane {
namespace {

using BlocksTest = testing::LibraryTest;

// --- The handle table -----------------------------------------------------------

TEST_F(BlocksTest, HandlesAreNumberedDownFromTheTopOfEachGrowth) {
  std::vector<HandleId> got;
  for (int i = 0; i < 32; ++i) got.push_back(new_handle(8));
  EXPECT_EQ(got[0], 31u);
  EXPECT_EQ(got[30], 1u);
  EXPECT_EQ(got[31], 63u);
  EXPECT_EQ(live_handle_count(), 32u);
  // A freed entry is handed out again first.
  dispose_handle(got[5]);
  EXPECT_EQ(new_handle(4), got[5]);
}

TEST_F(BlocksTest, EachRunTimeStartsWithAnEmptyTable) {
  for (int i = 0; i < 40; ++i) new_handle(100);
  runtime_.reset();
  runtime_ = std::make_unique<Runtime>(testing::small_config(), register_all_modules);
  EXPECT_EQ(live_handle_count(), 0u);
  EXPECT_EQ(blocks_total(), 0u);
  EXPECT_EQ(new_handle(1), 31u);
}

TEST_F(BlocksTest, EmptyHandlesHaveNoBlockToLock) {
  EXPECT_TRUE(gives("(get-handle-size (new-handle 0))", "0"));
  EXPECT_EQ(error_code("(hlock (new-handle 0))"), 60);
  define("h", eval_text("(new-handle 10)"));
  eval_text("(set-handle-size h 0)");
  EXPECT_TRUE(gives("(get-handle-size h)", "0"));
  eval_text("(set-handle-size h 3)");
  EXPECT_TRUE(gives("(get-handle-size h)", "3"));
  EXPECT_TRUE(gives("(mref 1 (hlock h) 2)", "0"));
}

// Error 60 names no culprit: nil, which the alert shows as "()".
TEST_F(BlocksTest, LockingAHandleWithoutABlockRaises60WithNil) {
  auto culprit = [&] {
    const std::string& alert = last_alert();
    auto first = alert.find(", ");
    auto second = alert.find(", ", first + 2);
    return first == std::string::npos ? std::string() : alert.substr(first + 2, second - first - 2);
  };
  EXPECT_EQ(error_code("(hlock (new-handle 0))"), 60);
  EXPECT_EQ(culprit(), "()");
  define("h", eval_text("(new-handle 10)"));
  eval_text("(set-handle-size h 0)");
  EXPECT_EQ(error_code("(hlock h)"), 60);
  EXPECT_EQ(culprit(), "()");
  // Not a handle at all is still a type error, naming the argument.
  EXPECT_EQ(error_code("(hlock 12)"), 2);
  EXPECT_EQ(culprit(), "12");
}

TEST_F(BlocksTest, TheTotalFollowsEverySize) {
  HandleId a = new_handle(100);
  HandleId b = new_handle(50);
  EXPECT_EQ(blocks_total(), 150u);
  ASSERT_TRUE(set_handle_size(a, 10));
  EXPECT_EQ(blocks_total(), 60u);
  dispose_handle(b);
  EXPECT_EQ(blocks_total(), 10u);
  ASSERT_TRUE(set_handle_size(a, 0));
  EXPECT_EQ(blocks_total(), 0u);
}

TEST_F(BlocksTest, ResizingKeepsTheBytesAndZeroesTheNewOnes) {
  HandleId h = new_handle(4);
  std::memcpy(handle_bytes(h).data(), "abcd", 4);
  HandleId neighbour = new_handle(4);  // forces a move when h grows
  ASSERT_TRUE(set_handle_size(h, 5000));
  auto bytes = handle_bytes(h);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data()), 4), "abcd");
  for (std::size_t i = 4; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(handle_size(neighbour), 4u);
}

TEST_F(BlocksTest, LockedBlocksDoNotMove) {
  HandleId h = new_handle(16);
  WorldAddress at = lock_handle(h);
  new_handle(16);  // the neighbour leaves no room to grow in place
  EXPECT_FALSE(set_handle_size(h, 4096));
  EXPECT_EQ(handle_size(h), 16u);
  unlock_handle(h);
  EXPECT_TRUE(set_handle_size(h, 4096));
  EXPECT_NE(lock_handle(h), at);
}

TEST_F(BlocksTest, LocksNest) {
  HandleId h = new_handle(8);
  lock_handle(h);
  lock_handle(h);
  unlock_handle(h);
  EXPECT_EQ(handle_lock_count(h), 1u);
  unlock_handle(h);
  unlock_handle(h);
  EXPECT_EQ(handle_lock_count(h), 0u);
}

TEST_F(BlocksTest, PurgingDropsOnlyPurgeableUnlockedBlocks) {
  define("a", eval_text("(new-handle 1000)"));
  define("b", eval_text("(new-handle 1000)"));
  define("c", eval_text("(new-handle 1000)"));
  eval_text("(hpurge a)");
  eval_text("(hpurge b)");
  eval_text("(hlock b)");
  Value answer = eval_text("(compact-memory 2000000000)");
  EXPECT_TRUE(is_integer(answer));
  EXPECT_TRUE(gives("(get-handle-size a)", "0"));
  EXPECT_TRUE(gives("(get-handle-size b)", "1000"));
  EXPECT_TRUE(gives("(get-handle-size c)", "1000"));
  EXPECT_EQ(blocks_total(), 2000u);
  // The purged handle stays valid and can be filled again.
  eval_text("(set-handle-size a 5)");
  EXPECT_TRUE(gives("(get-handle-size a)", "5"));
}

TEST_F(BlocksTest, SpaceAvailableComparesWithWhatIsLeft) {
  EXPECT_TRUE(holds("(space-available? 1000)"));
  EXPECT_EQ(eval_text("(space-available? 2000000000)"), kNil);
  set_configured_total(10000);
  new_handle(6000);
  EXPECT_TRUE(holds("(space-available? 3999)"));
  EXPECT_EQ(eval_text("(space-available? 4000)"), kNil);
}

TEST_F(BlocksTest, CopyHandleCopiesSizeAndContents) {
  define("h", eval_text("(string->handle \"hello\")"));
  define("c", eval_text("(copy-handle h)"));
  EXPECT_TRUE(gives("(handle->string c)", "\"hello\""));
  EXPECT_EQ(eval_text("(ptr-equal? h c)"), kNil);
  eval_text("(dispose-handle h)");
  EXPECT_TRUE(gives("(handle->string c)", "\"hello\""));
}

TEST_F(BlocksTest, HandleStateIsNotAvailable) {
  EXPECT_EQ(error_code("(hgetstate (new-handle 1))"), 47);
  EXPECT_EQ(error_code("(hsetstate (new-handle 1) 0)"), 47);
}

// --- Raw memory ----------------------------------------------------------------------

TEST_F(BlocksTest, MrefReadsEverySizeCode) {
  define("p", eval_text("(new-ptr 8)"));
  eval_text("(mset 1 18 p)");
  eval_text("(mset 1 52 p 1)");
  EXPECT_TRUE(gives("(mref -2 p)", "4660"));
  EXPECT_TRUE(gives("(mref 2 p)", "13330"));
  eval_text("(mset 2 65535 p 2)");
  EXPECT_TRUE(gives("(mref 2 p 2)", "65535"));
  EXPECT_TRUE(gives("(mref 3 p 2)", "-1"));
  EXPECT_TRUE(gives("(mref -3 p 2)", "-1"));
  eval_text("(mset -2 256 p 2)");
  EXPECT_TRUE(gives("(mref 1 p 2)", "1"));
  EXPECT_TRUE(gives("(mref 1 p 3)", "0"));
  eval_text("(mset 4 -2 p 4)");
  EXPECT_TRUE(gives("(mref 4 p 4)", "-2"));
  EXPECT_TRUE(gives("(mref -4 p 4)", "-16777217"));
  eval_text("(mset -4 305419896 p 4)");
  EXPECT_TRUE(gives("(mref 1 p 4)", "18"));
  EXPECT_TRUE(gives("(mref 4 p 4)", "2018915346"));
}

TEST_F(BlocksTest, MsetRefusesBadCodesAndValues) {
  define("p", eval_text("(new-ptr 8)"));
  EXPECT_EQ(error_code("(mset 3 1 p)"), 2);
  EXPECT_EQ(error_code("(mset -3 1 p)"), 2);
  EXPECT_EQ(error_code("(mset 8 1 p)"), 2);
  EXPECT_EQ(error_code("(mref 5 p)"), 2);
  EXPECT_EQ(error_code("(mset 1 \"a\" p)"), 2);
  EXPECT_EQ(error_code("(mset 2 10000000 p)"), 2);  // a long where a fixnum is needed
  EXPECT_EQ(integer("(mset 4 10000000 p)"), 10000000);
  EXPECT_EQ(integer("(mref 4 p)"), 10000000);
}

TEST_F(BlocksTest, RawAccessStaysInsideOneLiveBlock) {
  define("p", eval_text("(new-ptr 8)"));
  define("q", eval_text("(new-ptr 8)"));
  EXPECT_EQ(error_code("(mref 4 p 5)"), 2);   // runs past the end
  EXPECT_EQ(error_code("(mref 1 p 8)"), 2);
  EXPECT_EQ(error_code("(mref 1 p -5)"), 2);  // before the block's header
  EXPECT_EQ(error_code("(mref 1 (null-ptr))"), 2);
  EXPECT_EQ(error_code("(mref 1 (number->pointer 100))"), 2);
  EXPECT_EQ(error_code("(mset 1 0 (number->pointer -1))"), 2);
  EXPECT_EQ(error_code("(block-move p q 9)"), 2);
  EXPECT_EQ(error_code("(equal-block? p q 9)"), 2);
  EXPECT_EQ(error_code("(mref 1 (new-handle 4))"), 2);  // a handle is not an address
  // Reading the Lisp block is allowed, writing it is not.
  Value symbols = make_pointer(g_mem.symbols_offset, PointerKind::pointer);
  define("s", symbols);
  EXPECT_EQ(error_code("(mref 4 s)"), -1);
  EXPECT_EQ(error_code("(mset 4 0 s)"), 2);
}

// Each size code reads and writes exactly its width: at the block's last
// bytes it fits, one byte further it runs past the end.
TEST_F(BlocksTest, EverySizeCodeFitsTheLastBytesOfABlockAndNoFurther) {
  define("p", eval_text("(new-ptr 8)"));
  struct Code {
    int code;
    int width;
    bool writable;
  };
  for (Code c : {Code{1, 1, true}, Code{2, 2, true}, Code{-2, 2, true}, Code{3, 2, false}, Code{-3, 2, false},
                 Code{4, 4, true}, Code{-4, 4, true}}) {
    std::string code = std::to_string(c.code);
    std::string last = std::to_string(8 - c.width);
    std::string past = std::to_string(9 - c.width);
    EXPECT_EQ(error_code("(mref " + code + " p " + last + ")"), -1) << "code " << code;
    EXPECT_EQ(error_code("(mref " + code + " p " + past + ")"), 2) << "code " << code;
    if (!c.writable) continue;
    EXPECT_TRUE(gives("(mset " + code + " 1 p " + last + ")", "1")) << "code " << code;
    EXPECT_TRUE(gives("(mref " + code + " p " + last + ")", "1")) << "code " << code;
    EXPECT_EQ(error_code("(mset " + code + " 1 p " + past + ")"), 2) << "code " << code;
  }
  // The signed codes read the last two bytes with their sign.
  eval_text("(mset 2 65534 p 6)");
  EXPECT_TRUE(gives("(mref 3 p 6)", "-2"));
  EXPECT_TRUE(gives("(mref -3 p 6)", "-257"));
}

TEST_F(BlocksTest, InternalBlocksAreClosedToLisp) {
  WorldAddress slots = new_internal_pointer_or_fail(64);
  define("p", make_pointer(slots, PointerKind::pointer));
  EXPECT_EQ(error_code("(mref 1 p)"), 2);
  EXPECT_EQ(error_code("(mset 1 0 p)"), 2);
}

TEST_F(BlocksTest, BlockMoveHandlesOverlap) {
  define("p", eval_text("(new-ptr 10)"));
  for (int i = 0; i < 10; ++i) eval_text(("(mset 1 " + std::to_string(i) + " p " + std::to_string(i) + ")").c_str());
  eval_text("(block-move p (add-ptr p 2) 6)");
  EXPECT_TRUE(gives("(mref 1 p 2)", "0"));
  EXPECT_TRUE(gives("(mref 1 p 7)", "5"));
  eval_text("(block-move (add-ptr p 4) p 6)");
  EXPECT_TRUE(gives("(mref 1 p 0)", "2"));
  EXPECT_TRUE(gives("(mref 1 p 5)", "9"));
}

TEST_F(BlocksTest, EqualBlockComparesBytes) {
  define("a", eval_text("(string->handle \"abcdef\")"));
  define("b", eval_text("(string->handle \"abcxef\")"));
  EXPECT_TRUE(holds("(equal-block? (hlock a) (hlock b) 3)"));
  EXPECT_EQ(eval_text("(equal-block? (hlock a) (hlock b) 4)"), kNil);
  EXPECT_TRUE(holds("(equal-block? (hlock a) (hlock b) 0)"));
}

TEST_F(BlocksTest, PointersConvertAndCompare) {
  EXPECT_TRUE(holds("(null-ptr? (null-ptr))"));
  EXPECT_TRUE(holds("(ptr-equal? (number->pointer 64) (add-ptr (number->pointer 60) 1 3))"));
  EXPECT_TRUE(gives("(pointer->number (add-ptr (number->pointer 10) -4))", "6"));
  // Block addresses lie above 2 GiB: as numbers they are negative, and they
  // convert back unchanged.
  define("p", eval_text("(new-ptr 4)"));
  EXPECT_LT(integer("(pointer->number p)"), 0);
  eval_text("(mset 1 7 (number->pointer (pointer->number p)))");
  EXPECT_TRUE(gives("(mref 1 p)", "7"));
}

// --- Disposal -------------------------------------------------------------------------

TEST_F(BlocksTest, EveryPrimitiveRefusesADisposedHandle) {
  define("h", eval_text("(string->handle \"stale\")"));
  define("p", eval_text("(hlock h)"));
  define("m", eval_text("(new-ptr 8)"));
  eval_text("(dispose-handle h)");
  eval_text("(dispose-ptr m)");
  EXPECT_TRUE(holds("(null-ptr? h)"));
  const char* uses[] = {
      "(dispose-handle h)", "(copy-handle h)", "(get-handle-size h)", "(set-handle-size h 4)",
      "(reallocate-handle h 4)", "(hlock h)", "(hunlock h)", "(hpurge h)", "(hnopurge h)",
      "(handle->string h)", "(new-handle-struct 0 0 nil h)", "(set-symbols-table h)",
      "(mref 1 p)", "(mset 1 0 p)", "(mref 4 (add-ptr p 1))", "(block-move p p 1)",
      "(equal-block? p p 1)", "(ptr->string p)", "(text->string p 1)", "(put-string \"x\" p)",
      "(put-string-text \"x\" p)", "(dispose-ptr p)", "(dispose-ptr m)", "(mref 1 m)",
      "(set-lecture m 1)",
  };
  for (const char* use : uses) EXPECT_EQ(error_code(use), 2) << use;
  // A buffer record over the stale address reads nothing from it.
  defprim("test-buffer-getc", +[](Value r) { return make_fixnum(buffer_getc(r)); });
  define("r", eval_text("(new-buffer-struct 0 4 p)"));
  EXPECT_EQ(error_code("(test-buffer-getc r)"), 2);
}

TEST_F(BlocksTest, WithDisposesItsBlocks) {
  Value h = eval_text("(new-handle 10)");
  Value p = eval_text("(new-ptr 10)");
  dispose_memory_block(h);
  dispose_memory_block(p);
  EXPECT_EQ(pointer_address(h), 0u);
  EXPECT_EQ(pointer_address(p), 0u);
  EXPECT_EQ(live_handle_count(), 0u);
  dispose_memory_block(h);  // twice is harmless
}

TEST_F(BlocksTest, SymbolListsAreReadFromHandles) {
  // Two names, big-endian count.
  std::string list("\0\2:first\0second\0", 16);
  HandleId h = new_handle_with({reinterpret_cast<const std::uint8_t*>(list.data()), list.size()});
  define("h", make_handle_value(h));
  eval_text("(set-symbols-table h)");
  ASSERT_EQ(compact_symbol_table().size(), 10u);
  EXPECT_EQ(symbol_name(compact_symbol_table()[9]), "second");
  EXPECT_EQ(error_code("(set-symbols-table \"text\")"), 2);
}

TEST_F(BlocksTest, HandleLockGivesAStableView) {
  HandleId h = new_handle(4);
  set_handle_purgeable(h, true);
  {
    HandleLock lock(h);
    ASSERT_EQ(lock.bytes().size(), 4u);
    purge_memory(~std::uint64_t{0});
    EXPECT_EQ(handle_size(h), 4u);
  }
  EXPECT_EQ(handle_lock_count(h), 0u);
  HandleLock empty(new_handle(0));
  EXPECT_TRUE(empty.bytes().empty());
}

// --- The allocator ---------------------------------------------------------------------

TEST(RangeAllocatorTest, FreedNeighboursCoalesce) {
  RangeAllocator a(0x1000, 0x1000 + 4096);
  auto x = a.allocate(1000), y = a.allocate(1000), z = a.allocate(1000);
  ASSERT_TRUE(x && y && z);
  EXPECT_FALSE(a.allocate(2000));
  a.free(*x, 1000);
  a.free(*z, 1000);
  a.free(*y, 1000);
  EXPECT_EQ(a.free_range_count(), 1u);
  EXPECT_EQ(a.free_bytes(), 4096u);
  EXPECT_EQ(a.allocate(4096), 0x1000u);
}

TEST(RangeAllocatorTest, BestFitKeepsLargeRangesWhole) {
  RangeAllocator a(0, 10000);
  auto small = a.allocate(100), guard1 = a.allocate(16), large = a.allocate(5000), guard2 = a.allocate(16);
  ASSERT_TRUE(small && guard1 && large && guard2);
  a.free(*small, 100);
  a.free(*large, 5000);
  EXPECT_EQ(a.allocate(50), *small);
  EXPECT_EQ(a.allocate(5000), *large);
}

TEST(RangeAllocatorTest, ResizesInPlaceWhenTheNextBytesAreFree) {
  RangeAllocator a(0, 1 << 16);
  auto x = a.allocate(100);
  ASSERT_TRUE(x);
  EXPECT_TRUE(a.resize_in_place(*x, 100, 1000));
  auto y = a.allocate(16);
  EXPECT_EQ(*y, *x + 1008);
  EXPECT_FALSE(a.resize_in_place(*x, 1000, 2000));
  EXPECT_TRUE(a.resize_in_place(*x, 1000, 10));
  EXPECT_EQ(a.allocate(900), *x + 16);
}

}  // namespace
}  // namespace orvane
