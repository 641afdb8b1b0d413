// Crash safety of resource files: a writer runs updates, single writes that
// append over the map, additions and removals that compact the map, on a
// simulated disk; at every point of it the disk is taken as a process death,
// a power cut, and partial power cuts would leave it. Each such disk is
// started again: the file must open, every resource must read, no journal
// may remain, and the file must be exactly the state of the last operation
// that finished before the crash or of the one under way.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iostream>
#include <random>

#include "../support/crash_points.h"
#include "platform/file_io.h"
#include "storage/journal.h"
#include "storage/resource_manager.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

const FourCC kText = FourCC::of("TEXT");
const std::string kDirectory = "/titles";
const std::string kPath = kDirectory + "/title.RI";

// The data of a resource at one step of a scenario.
std::string contents(unsigned seed, int step, int id, std::size_t size) {
  std::string s(size, ' ');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (seed + step * 7 + id * 3 + i) % 26);
  return s;
}

void fill(MemoryHandleStore& store, std::uint32_t h, const std::string& data) {
  store.resize(h, static_cast<std::uint32_t>(data.size()));
  std::memcpy(store.bytes(h).data(), data.data(), data.size());
}

// A run of changes to a file: resources grow and shrink, single writes
// append over the old map, resources come and go, so updates compact.
void run_scenario(unsigned seed, const std::function<void()>& finished) {
  std::mt19937 rng(seed);
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  int ref = m.open(kPath);
  ASSERT_GT(ref, 0);
  std::vector<int> ids;
  for (int i = 0; i < m.count1(kText); ++i) ids.push_back(m.file(ref)->map().id(m.file(ref)->map().first_entry(0) + 12 * i));
  ASSERT_EQ(ids.size(), 12u) << "the starting file lost resources";
  for (int step = 1; step <= 3; ++step) {
    std::uint32_t last = 0;
    for (int k = 0; k < 3; ++k) {
      int id = ids[rng() % ids.size()];
      std::uint32_t h = m.get(kText, static_cast<std::int16_t>(id));
      fill(store, h, contents(seed, step, id, 1 + rng() % 300));
      m.changed(h);
      last = h;
    }
    m.write(last);
    // A write that appended over the map finishes with the next update.
    if (!platform::file_exists(journal_path_for(kPath))) finished();
    std::uint32_t fresh = store.create();
    fill(store, fresh, contents(seed, step, 500 + step, 1 + rng() % 100));
    m.add(fresh, kText, static_cast<std::int16_t>(500 + step), "new");
    ids.push_back(500 + step);
    std::size_t victim = rng() % ids.size();
    m.remove(m.get(kText, static_cast<std::int16_t>(ids[victim])));
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(victim));
    m.update(ref);
    ASSERT_EQ(m.last_error(), ResError::none);
    finished();
  }
  m.close(ref);
  finished();
}

// The starting file, made durable on the disk.
void make_base(platform::SimulatedDisk& disk) {
  ASSERT_EQ(disk.create_directory(kDirectory), 0);
  {
    platform::FileSystemScope scope(disk);
    MemoryHandleStore store;
    FileRefTable refs;
    ResourceManager m(store, refs);
    ASSERT_EQ(m.create_file(kPath, FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::none);
    int ref = m.open(kPath);
    ASSERT_GT(ref, 0);
    for (int id = 1; id <= 12; ++id) {
      std::uint32_t h = store.create();
      fill(store, h, contents(0, 0, id, static_cast<std::size_t>(20 * id)));
      m.add(h, kText, static_cast<std::int16_t>(id), "r" + std::to_string(id));
    }
    m.close(ref);
  }
  disk = disk.after_crash(platform::Crash::power_cut, 0);  // only what was made durable
}

// Starts the crashed disk again: empty when the file is as it must be,
// else why not.
std::string judge(platform::SimulatedDisk& disk, const std::vector<const DiskBytes*>& allowed) {
  platform::FileSystemScope scope(disk);
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  int ref = m.open(kPath);
  if (ref < 0) return "the file does not open (error " + std::to_string(code_of(m.last_error())) + ")";
  for (int i = 1, n = m.count(kText); i <= n; ++i) {
    if (m.get_indexed(kText, i) == 0 || m.last_error() != ResError::none)
      return "resource " + std::to_string(i) + " does not read";
  }
  m.close(ref);
  if (disk.file_exists(journal_path_for(kPath))) return "a journal is left";
  auto now = disk.contents(kPath);
  for (const DiskBytes* state : allowed)
    if (now && *now == *state) return "";
  return "the file is neither the last finished state nor the next";
}

CrashTally crash_everywhere(bool drop_syncs, bool expect_sound) {
  platform::SimulatedDisk base;
  make_base(base);
  return orvane::testing::crash_everywhere(base, kPath, 8, drop_syncs, expect_sound, run_scenario, judge);
}

TEST(CrashSafety, EveryCrashLeavesTheLastFinishedState) {
  CrashTally t = crash_everywhere(false, true);
  std::cout << "[ crash    ] resource files: " << t.trials << " crashes, " << t.failures << " failures\n";
  RecordProperty("trials", t.trials);
  RecordProperty("failures", t.failures);
  EXPECT_GE(t.trials, 1000);
  EXPECT_EQ(t.failures, 0);
}

// The same crashes on a disk that ignores syncs: the test must see the harm.
TEST(CrashSafety, WithoutSyncsPowerCutsLoseOrCorruptTheFile) {
  CrashTally t = crash_everywhere(true, false);
  std::cout << "[ crash    ] resource files without syncs: " << t.trials << " crashes, " << t.failures
            << " failures\n";
  EXPECT_GT(t.failures, t.trials / 10);
}

}  // namespace
}  // namespace orvane::testing
