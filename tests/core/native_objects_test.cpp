// The native-object table's ids: stale ids stay stale, slots are reused
// oldest first and retired before their generation wraps.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "core/native_objects.h"

namespace orvane {
namespace {

struct Counted : NativeObject {
  explicit Counted(int& destroyed) : destroyed_(destroyed) {}
  ~Counted() override { ++destroyed_; }
  int& destroyed_;
};

constexpr std::uint32_t kIndexMask = 0xfffff;

std::uint32_t add(NativeObjectTable& table, int& destroyed) {
  return table.add(std::make_unique<Counted>(destroyed));
}

TEST(NativeObjectTableTest, AKeptIdStaysStaleThroughAHundredThousandReusesOfItsSlot) {
  NativeObjectTable table(0);  // the worst case: a freed slot is reused at once
  int destroyed = 0;
  std::uint32_t kept = add(table, destroyed);
  table.release(kept);
  for (int cycle = 0; cycle < 100'000; ++cycle) {
    std::uint32_t id = add(table, destroyed);
    ASSERT_NE(id, kept) << "after " << cycle << " reuses";
    ASSERT_EQ(table.find(kept), nullptr);
    table.release(id);
  }
  EXPECT_EQ(destroyed, 100'001);
  // Without collections the retired slots stay retired: one per 4,095 reuses.
  EXPECT_EQ(table.slot_count(), 100'001 / 4095 + 1);
}

TEST(NativeObjectTableTest, FreedSlotsAreReusedOldestFirstOnceEnoughAreFree) {
  NativeObjectTable table(2);
  int destroyed = 0;
  std::uint32_t a = add(table, destroyed), b = add(table, destroyed), c = add(table, destroyed);
  table.release(b);
  table.release(a);
  table.release(c);
  // Three free, more than the distance: the first freed (b) comes back.
  std::uint32_t d = add(table, destroyed);
  EXPECT_EQ(d & kIndexMask, b & kIndexMask);
  EXPECT_NE(d, b);
  // Two free, no more than the distance: a new slot.
  std::uint32_t e = add(table, destroyed);
  EXPECT_EQ(e & kIndexMask, 4u);
  EXPECT_EQ(table.slot_count(), 4u);
}

// Reuses one slot until it retires; answers the last id it had.
std::uint32_t wear_out_one_slot(NativeObjectTable& table, int& destroyed) {
  std::uint32_t last = 0;
  for (std::size_t slots = table.slot_count(); table.slot_count() == slots;) {
    std::uint32_t id = add(table, destroyed);
    if (table.slot_count() != slots) {
      table.release(id);
      break;
    }
    last = id;
    table.release(id);
  }
  return last;
}

TEST(NativeObjectTableTest, ARetiredSlotReturnsOnlyAfterACollectionFoundNoPointerNamingIt) {
  NativeObjectTable table(0);
  int destroyed = 0;
  // Pointers of the kind "region" are owned by the table from now on.
  table.release(table.add_owned(std::make_unique<Counted>(destroyed), PointerKind::region, 8));
  std::uint32_t last = wear_out_one_slot(table, destroyed);
  ASSERT_EQ(last >> 20, 0xfffu) << "the slot retired at its last generation";
  std::size_t slots = table.slot_count();

  // A live region pointer still names the slot: it stays retired.
  table.note_named(last, PointerKind::region);
  table.collection_finished();
  std::set<std::uint32_t> indexes;
  for (int i = 0; i < 3; ++i) indexes.insert(add(table, destroyed) & kIndexMask);
  EXPECT_FALSE(indexes.contains(last & kIndexMask));
  EXPECT_EQ(table.slot_count(), slots + 2);

  // A number that only looks like it (a handle) does not keep it; nor does
  // nothing at all. Then the slot is free again, at generation 1.
  table.note_named(last, PointerKind::handle);
  table.collection_finished();
  std::uint32_t back = 0;
  for (int i = 0; i < 4 && back == 0; ++i) {
    std::uint32_t id = add(table, destroyed);
    if ((id & kIndexMask) == (last & kIndexMask)) back = id;
  }
  EXPECT_EQ(back, (1u << 20) | (last & kIndexMask));
  EXPECT_EQ(table.find(last), nullptr);
}

TEST(NativeObjectTableTest, ClearDestroysEveryObjectOnAnEmptyTable) {
  NativeObjectTable table;
  int destroyed = 0;
  std::uint32_t a = add(table, destroyed);
  add(table, destroyed);
  table.clear();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(table.find(a), nullptr);
  EXPECT_EQ(table.live_count(), 0u);
}

}  // namespace
}  // namespace orvane
