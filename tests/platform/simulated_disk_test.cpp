// The simulated disk the crash tests run on: what a crash keeps must be
// exactly what a real machine may keep, or the crash tests prove nothing.
#include "platform/simulated_disk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

class SimulatedDiskTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(disk.create_directory("/d"), 0); }
  File create(const std::string& path) {
    File f;
    EXPECT_EQ(File::create(path, CreateMode::exclusive, f), 0);
    return f;
  }
  SimulatedDisk disk;
  FileSystemScope scope{disk};
};

TEST_F(SimulatedDiskTest, APowerCutKeepsOnlyWhatWasSynced) {
  disk.put_file("/d/f", bytes("old"));
  File f;
  ASSERT_EQ(File::open("/d/f", OpenMode::read_write, f), 0);
  ASSERT_EQ(f.write_at(0, bytes("new data")), 0);
  EXPECT_EQ(disk.contents("/d/f"), bytes("new data"));
  EXPECT_EQ(disk.after_crash(Crash::power_cut, 0).contents("/d/f"), bytes("old"));
  EXPECT_EQ(disk.after_crash(Crash::process_death, 0).contents("/d/f"), bytes("new data"));
  ASSERT_EQ(f.sync(), 0);
  ASSERT_EQ(f.truncate(3), 0);
  EXPECT_EQ(disk.after_crash(Crash::power_cut, 0).contents("/d/f"), bytes("new data"));
}

TEST_F(SimulatedDiskTest, EntriesAreDurableOnlyOnceTheirDirectoryIsSynced) {
  File f = create("/d/new");
  ASSERT_EQ(f.write_at(0, bytes("x")), 0);
  ASSERT_EQ(f.sync(), 0);
  EXPECT_TRUE(disk.file_exists("/d/new"));
  EXPECT_FALSE(disk.after_crash(Crash::power_cut, 0).file_exists("/d/new"));
  ASSERT_EQ(sync_parent_directory("/d/new"), 0);
  EXPECT_EQ(disk.after_crash(Crash::power_cut, 0).contents("/d/new"), bytes("x"));

  ASSERT_EQ(remove_file("/d/new"), 0);
  EXPECT_TRUE(disk.after_crash(Crash::power_cut, 0).file_exists("/d/new"));
  ASSERT_EQ(sync_parent_directory("/d/new"), 0);
  EXPECT_FALSE(disk.after_crash(Crash::power_cut, 0).file_exists("/d/new"));
}

TEST_F(SimulatedDiskTest, ARenameSurvivesWholeOrNotAtAll) {
  disk.put_file("/d/a", bytes("A"));
  disk.put_file("/d/b", bytes("B"));
  ASSERT_EQ(rename_file("/d/a", "/d/b"), 0);
  EXPECT_EQ(rename_file_no_replace("/d/b", "/d/b2"), 0);
  disk.put_file("/d/c", bytes("C"));
  EXPECT_EQ(rename_file_no_replace("/d/b2", "/d/c"), sys_error::exists);
  for (std::uint32_t seed = 0; seed < 64; ++seed) {
    SimulatedDisk after = disk.after_crash(Crash::partial_power_cut, seed);
    auto a = after.contents("/d/a"), b = after.contents("/d/b"), b2 = after.contents("/d/b2");
    // In order: nothing, the first rename, both.
    bool none = a == bytes("A") && b == bytes("B") && !b2;
    bool first = !a && b == bytes("A") && !b2;
    bool both = !a && !b && b2 == bytes("A");
    EXPECT_TRUE(none || first || both) << seed;
  }
}

TEST_F(SimulatedDiskTest, APartialPowerCutMixesSyncedAndLatestSectors) {
  Bytes old(2048, 'o'), now(3072, 'n');
  disk.put_file("/d/f", old);
  File f;
  ASSERT_EQ(File::open("/d/f", OpenMode::read_write, f), 0);
  ASSERT_EQ(f.write_at(0, now), 0);
  bool saw_mixture = false;
  for (std::uint32_t seed = 0; seed < 64; ++seed) {
    Bytes after = *disk.after_crash(Crash::partial_power_cut, seed).contents("/d/f");
    ASSERT_TRUE(after.size() == old.size() || after.size() == now.size()) << seed;
    for (std::size_t at = 0; at < after.size(); at += 512) {
      Bytes sector(after.begin() + static_cast<std::ptrdiff_t>(at), after.begin() + static_cast<std::ptrdiff_t>(at + 512));
      bool was_old = at < old.size() ? sector == Bytes(512, 'o') : sector == Bytes(512, 0);
      EXPECT_TRUE(was_old || sector == Bytes(512, 'n')) << seed << " at " << at;
    }
    saw_mixture |= after.size() == old.size() && after != old && after != Bytes(2048, 'n');
  }
  EXPECT_TRUE(saw_mixture);
}

TEST_F(SimulatedDiskTest, DroppedSyncsLeaveEverythingVolatile) {
  disk.set_drop_syncs(true);
  File f = create("/d/f");
  ASSERT_EQ(f.write_at(0, bytes("x")), 0);
  ASSERT_EQ(f.sync(), 0);
  ASSERT_EQ(sync_parent_directory("/d/f"), 0);
  EXPECT_FALSE(disk.after_crash(Crash::power_cut, 0).file_exists("/d/f"));
}

TEST_F(SimulatedDiskTest, EveryChangeAndSyncIsAPointReadsAreNot) {
  int seen = 0;
  disk.set_point_observer([&] { ++seen; });
  File f = create("/d/f");                                // 1
  ASSERT_EQ(f.write_at(0, bytes("abc")), 0);              // 2
  ASSERT_EQ(f.truncate(1), 0);                            // 3
  ASSERT_EQ(f.sync(), 0);                                 // 4
  ASSERT_EQ(sync_parent_directory("/d/f"), 0);            // 5
  ASSERT_EQ(rename_file("/d/f", "/d/g"), 0);              // 6
  ASSERT_EQ(remove_file("/d/g"), 0);                      // 7
  Bytes out(1);
  EXPECT_EQ(f.read_exact(0, out), 0);
  EXPECT_TRUE(file_exists("/d/none") == false);
  EXPECT_EQ(seen, 7);
  EXPECT_EQ(disk.points(), 7u);
  disk.set_point_observer(nullptr);
}

TEST_F(SimulatedDiskTest, LocksAndIdentities) {
  disk.put_file("/d/f", bytes("x"));
  File a, b;
  ASSERT_EQ(File::open("/d/f", OpenMode::read_write, a), 0);
  ASSERT_EQ(File::open("/d/f", OpenMode::read_only, b), 0);
  EXPECT_EQ(a.try_lock(), 0);
  EXPECT_EQ(b.try_lock(), sys_error::busy);
  FileIdentity ia, ib;
  ASSERT_EQ(a.identity(ia), 0);
  ASSERT_EQ(b.identity(ib), 0);
  EXPECT_EQ(ia, ib);
  a.close();
  EXPECT_EQ(b.try_lock(), 0);
  disk.put_file("/d/f", bytes("y"));  // another file under the name
  File c;
  ASSERT_EQ(File::open("/d/f", OpenMode::read_only, c), 0);
  FileIdentity ic;
  ASSERT_EQ(c.identity(ic), 0);
  EXPECT_NE(ic, ib);
  EXPECT_EQ(File::open("/d/missing", OpenMode::read_only, c), sys_error::not_found);
  EXPECT_EQ(File::open("/d", OpenMode::read_only, c), sys_error::is_directory);
}

}  // namespace
}  // namespace orvane::platform
