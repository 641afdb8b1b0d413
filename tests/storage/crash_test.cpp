// Crash safety: a writer is killed after its n-th change to the disk, for
// every n, in the middle of updates, single writes and compactions; the file
// must then open, and hold exactly a state that a finished operation left.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <set>

#include "platform/file_io.h"
#include "storage/journal.h"
#include "storage/resource_manager.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

const FourCC kText = FourCC::of("TEXT");

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
void run_scenario(const std::string& path, unsigned seed, const std::function<void()>& after_step) {
  std::mt19937 rng(seed);
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  int ref = m.open(path);
  if (ref < 0) return;
  after_step();
  std::vector<int> ids;
  for (int i = 0; i < m.count1(kText); ++i) ids.push_back(m.file(ref)->map().id(m.file(ref)->map().first_entry(0) + 12 * i));
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
    after_step();
    std::uint32_t fresh = store.create();
    fill(store, fresh, contents(seed, step, 500 + step, 1 + rng() % 100));
    m.add(fresh, kText, static_cast<std::int16_t>(500 + step), "new");
    ids.push_back(500 + step);
    std::size_t victim = rng() % ids.size();
    m.remove(m.get(kText, static_cast<std::int16_t>(ids[victim])));
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(victim));
    m.update(ref);
    after_step();
  }
  m.close(ref);
  after_step();
}

Bytes base_file(const std::string& dir) {
  std::string path = dir + "/base.RI";
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  m.create_file(path, FourCC::of("ORVN"), FourCC::of("rsrc"));
  int ref = m.open(path);
  for (int id = 1; id <= 12; ++id) {
    std::uint32_t h = store.create();
    fill(store, h, contents(0, 0, id, static_cast<std::size_t>(20 * id)));
    m.add(h, kText, static_cast<std::int16_t>(id), "r" + std::to_string(id));
  }
  m.close(ref);
  return read_bytes(path);
}

// Reopens the file after a crash: it must open, every resource must read,
// and the bytes must be those of a finished step.
bool survives(const std::string& path, const std::set<Bytes>& finished, std::string& why) {
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  int ref = m.open(path);
  if (ref < 0) {
    why = "the file does not open (error " + std::to_string(code_of(m.last_error())) + ")";
    return false;
  }
  for (int i = 1, n = m.count(kText); i <= n; ++i) {
    if (m.get_indexed(kText, i) == 0 || m.last_error() != ResError::none) {
      why = "resource " + std::to_string(i) + " does not read";
      return false;
    }
  }
  m.close(ref);
  if (platform::file_exists(journal_path_for(path))) {
    why = "a journal is left";
    return false;
  }
  if (!finished.count(read_bytes(path))) {
    why = "the file is in no finished state";
    return false;
  }
  return true;
}

std::string crash_directory() {
  // Memory-backed when the host has it: thousands of flushes stay cheap.
  if (platform::directory_exists("/dev/shm")) return "/dev/shm";
  return std::filesystem::temp_directory_path().string();
}

TEST(CrashSafety, EveryInterruptedWriteLeavesAFinishedState) {
  std::string root = crash_directory() + "/orvane-crash-" + std::to_string(::getpid());
  std::filesystem::create_directories(root);
  const Bytes base = base_file(root);
  const std::string path = root + "/title.RI";
  int trials = 0, failures = 0;

  for (unsigned seed = 1; seed <= 8; ++seed) {
    // The run without a crash: every state a finished step leaves.
    write_bytes(path, base);
    std::set<Bytes> finished = {base};
    platform::set_fault_after_changes(0);
    std::uint64_t before = platform::changes_made();
    run_scenario(path, seed, [&] {
      if (!platform::file_exists(journal_path_for(path))) finished.insert(read_bytes(path));
    });
    const std::uint64_t changes = platform::changes_made() - before;
    ASSERT_GT(changes, 10u);

    for (bool tear : {false, true}) {
      for (std::uint64_t n = 1; n <= changes; ++n) {
        write_bytes(path, base);
        std::filesystem::remove(journal_path_for(path));
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
          platform::set_fault_after_changes(n, tear);
          run_scenario(path, seed, [] {});
          ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ++trials;
        std::string why;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != platform::kFaultExitCode) {
          why = "the writer did not stop at the fault";
        }
        if (why.empty()) survives(path, finished, why);
        if (!why.empty()) {
          ++failures;
          ADD_FAILURE() << "seed " << seed << (tear ? ", torn" : "") << ", crash after change " << n << ": " << why;
        }
      }
    }
  }
  std::filesystem::remove_all(root);
  std::cout << "[ crash    ] " << trials << " trials, " << failures << " failures\n";
  RecordProperty("trials", trials);
  RecordProperty("failures", failures);
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace orvane::testing
