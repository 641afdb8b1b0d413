// Crash safety: a writer is killed after its n-th change to the disk, for
// every n (whole and torn writes), in the middle of single-record writes,
// updates and compactions. Reopened, the database must hold exactly a state
// that a finished operation left: every record reads as old or new, never
// as a mixture or as garbage.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "platform/file_io.h"
#include "storage/journal.h"
#include "db_support.h"

namespace orvane::testing {
namespace {

const FourCC kData = FourCC::of("DATA");

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
// automatic and explicit compactions. `committed` runs after every
// operation that ends with a commit.
void run_scenario(const std::string& path, const std::function<void()>& committed) {
  std::mt19937 rng(7);
  MemoryHandleStore store;
  auto db = open_db(path, store);
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
    committed();
    add_text(*db, store, "DATA", 100 + step, payload(step, 100 + step, 50), "fresh");
    for (int k = 0; k < 2; ++k) {
      std::size_t victim = rng() % ids.size();
      db->remove(db->load(kData, *db->find(kData, ids[victim]), true));
      ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(victim));
    }
    ids.push_back(100 + step);
    db->update(true);
    committed();
    if (step == 2) {
      db->compact();
      committed();
    }
  }
}

void make_base(const std::string& path) {
  create_database_file(path, FourCC::of("ORVN"), FourCC::of("DBSE"));
  MemoryHandleStore store;
  auto db = open_db(path, store);
  for (int id = 0; id < 6; ++id) add_text(*db, store, "DATA", id, payload(0, id, 80 + 10 * id));
  db->update(false);
}

TEST(DatabaseCrash, EveryInterruptedWriterLeavesACommittedState) {
  DbTempDir dir;
  std::string base = dir.file("base.db");
  make_base(base);
  Bytes base_bytes = file_bytes(base);

  // The states a finished operation leaves, from a run without faults.
  std::string reference = dir.file("reference.db");
  put_file(reference, base_bytes);
  std::set<std::string> states{dump(reference)};
  platform::set_fault_after_changes(0);
  std::uint64_t before = platform::changes_made();
  run_scenario(reference, [&] { states.insert(dump(reference)); });
  std::uint64_t total_changes = platform::changes_made() - before;
  ASSERT_GT(total_changes, 10u);
  ASSERT_GE(states.size(), 6u);

  int trials = 0, failures = 0, crashed = 0;
  std::string trial = dir.file("trial.db");
  for (bool tear : {false, true}) {
    for (std::uint64_t n = 1; n <= total_changes + 2; ++n) {
      put_file(trial, base_bytes);
      std::filesystem::remove(journal_path_for(trial));
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        platform::set_fault_after_changes(n, tear);
        try {
          run_scenario(trial, [] {});
        } catch (...) {
          _exit(3);
        }
        _exit(0);
      }
      int status = 0;
      waitpid(child, &status, 0);
      ASSERT_TRUE(WIFEXITED(status));
      int code = WEXITSTATUS(status);
      ASSERT_TRUE(code == 0 || code == platform::kFaultExitCode) << "n=" << n << " exit " << code;
      if (code == platform::kFaultExitCode) ++crashed;
      ++trials;
      std::string after = dump(trial);
      if (!states.contains(after)) {
        ++failures;
        ADD_FAILURE() << "n=" << n << (tear ? " torn" : "") << ": " << after;
      }
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(crashed, 0);
  std::printf("database crash trials: %d (%d killed), failures: %d, changes per run: %llu\n", trials, crashed,
              failures, static_cast<unsigned long long>(total_changes));
}

}  // namespace
}  // namespace orvane::testing
