// Crash safety of record databases: single-record writes, updates that add
// and remove records, and compactions run on a simulated disk; at every
// point of the writer the disk is taken as a process death, a power cut and
// partial power cuts would leave it. Started again, the database must open,
// every record must read, and the file must be exactly the state of the last
// operation that finished before the crash or of the one under way: no
// committed record lost, none corrupt.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <random>

#include "../support/crash_points.h"
#include "db_support.h"
#include "platform/file_io.h"
#include "storage/journal.h"

namespace orvane::testing {
namespace {

const FourCC kData = FourCC::of("DATA");
const std::string kDirectory = "/data";
const std::string kPath = kDirectory + "/scores.db";

std::string payload(int step, int id, std::size_t size) {
  std::string s(size, ' ');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (step * 7 + id * 3 + i) % 26);
  return s;
}

// Every record of the file, as text; "unreadable" when it does not open.
std::string dump(const std::string& path) {
  try {
    MemoryHandleStore store;
    auto db = open_db(path, store);
    std::string out;
    for (const DbType& t : db->types()) {
      for (std::size_t i = 0; i < t.entries.size(); ++i) {
        DbEntry* e = db->indexed(t.type, static_cast<int>(i));
        out += t.type.str() + ":" + std::to_string(e->id) + "=" + text_of(store, db->load(t.type, *e, false)) + ";";
      }
    }
    return out;
  } catch (const DatabaseError& e) {
    return "unreadable " + std::to_string(e.code);
  }
}

// Writes and updates that grow, shrink, add and remove records, with
// automatic and explicit compactions. `finished` runs after every
// operation.
void run_scenario(unsigned seed, const std::function<void()>& finished) {
  std::mt19937 rng(seed);
  MemoryHandleStore store;
  auto db = open_db(kPath, store);
  std::vector<int> ids{0, 1, 2, 3, 4, 5};
  for (int step = 1; step <= 3; ++step) {
    std::uint32_t last = 0;
    for (int k = 0; k < 2; ++k) {
      int id = ids[rng() % ids.size()];
      std::uint32_t h = db->load(kData, *db->find(kData, id), false);
      fill(store, h, payload(step, id, 1 + rng() % 200));
      db->changed(h);
      last = h;
    }
    db->write_record(last);
    finished();
    add_text(*db, store, "DATA", 100 + step, payload(step, 100 + step, 50), "fresh");
    for (int k = 0; k < 2; ++k) {
      std::size_t victim = rng() % ids.size();
      db->remove(db->load(kData, *db->find(kData, ids[victim]), true));
      ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(victim));
    }
    ids.push_back(100 + step);
    db->update(true);
    finished();
    if (step == 2) {
      db->compact();
      finished();
    }
  }
}

void make_base(platform::SimulatedDisk& disk) {
  ASSERT_EQ(disk.create_directory(kDirectory), 0);
  {
    platform::FileSystemScope scope(disk);
    create_database_file(kPath, FourCC::of("ORVN"), FourCC::of("DBSE"));
    MemoryHandleStore store;
    auto db = open_db(kPath, store);
    for (int id = 0; id < 6; ++id) add_text(*db, store, "DATA", id, payload(0, id, 80 + 10 * id));
    db->update(false);
  }
  disk = disk.after_crash(platform::Crash::power_cut, 0);  // only what was made durable
  platform::FileSystemScope scope(disk);
  MemoryHandleStore store;
  auto db = open_db(kPath, store);
  ASSERT_EQ(db->types().size(), 1u) << "the starting file lost its records";
  ASSERT_EQ(db->types()[0].entries.size(), 6u) << "the starting file lost records";
}

std::string judge(platform::SimulatedDisk& disk, const std::vector<const DiskBytes*>& allowed) {
  platform::FileSystemScope scope(disk);
  std::string records = dump(kPath);
  if (records.starts_with("unreadable")) return "the database is " + records;
  if (disk.file_exists(journal_path_for(kPath))) return "a journal is left";
  auto now = disk.contents(kPath);
  for (const DiskBytes* state : allowed)
    if (now && *now == *state) return "";
  return "the file is neither the last finished state nor the next: " + records;
}

CrashTally crash_everywhere(bool drop_syncs, bool expect_sound) {
  platform::SimulatedDisk base;
  make_base(base);
  return orvane::testing::crash_everywhere(base, kPath, 6, drop_syncs, expect_sound, run_scenario, judge);
}

TEST(DatabaseCrash, EveryCrashLeavesTheLastFinishedState) {
  CrashTally t = crash_everywhere(false, true);
  std::cout << "[ crash    ] databases: " << t.trials << " crashes, " << t.failures << " failures\n";
  RecordProperty("trials", t.trials);
  RecordProperty("failures", t.failures);
  EXPECT_GE(t.trials, 1000);
  EXPECT_EQ(t.failures, 0);
}

// The same crashes on a disk that ignores syncs: the test must see the harm.
TEST(DatabaseCrash, WithoutSyncsPowerCutsLoseOrCorruptRecords) {
  CrashTally t = crash_everywhere(true, false);
  std::cout << "[ crash    ] databases without syncs: " << t.trials << " crashes, " << t.failures << " failures\n";
  EXPECT_GT(t.failures, t.trials / 10);
}

}  // namespace
}  // namespace orvane::testing
