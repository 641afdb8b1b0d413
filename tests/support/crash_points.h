// Crash tests on a simulated disk: a writer runs once, undisturbed; at each
// of its points (every write, length change, creation, rename, removal and
// sync) the disk is taken as a crash there would leave it. The states the
// writer's finished operations left are recorded in order, so that each
// crash can be judged: after recovery the file must be exactly the state of
// the last operation that finished before the crash, or of the one under
// way (never an older one: that would lose a committed change; never
// anything else: that would be a corrupt file).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/simulated_disk.h"

namespace orvane::testing {

using DiskBytes = std::vector<std::uint8_t>;

struct CrashCase {
  std::uint64_t point = 0;  // the crash came after this many points
  platform::Crash kind = platform::Crash::power_cut;
  platform::SimulatedDisk disk;
};

class CrashRecorder {
 public:
  // `partial_variants` partial power cuts are taken at each point, besides a
  // process death and a power cut that keeps only what was synced.
  CrashRecorder(platform::SimulatedDisk& disk, std::string path, int partial_variants, std::uint32_t seed)
      : disk_(disk), path_(std::move(path)), partial_variants_(partial_variants), seed_(seed) {
    take_crashes();
    finished();
    disk_.set_point_observer([this] { take_crashes(); });
  }
  ~CrashRecorder() { disk_.set_point_observer(nullptr); }
  CrashRecorder(const CrashRecorder&) = delete;
  CrashRecorder& operator=(const CrashRecorder&) = delete;

  // An operation has finished: the file as it is now must survive a crash.
  void finished() {
    if (auto bytes = disk_.contents(path_)) states_.push_back({disk_.points(), std::move(*bytes)});
  }

  const std::vector<CrashCase>& cases() const { return cases_; }

  // The file states a crash after `point` may leave.
  std::vector<const DiskBytes*> allowed_after(std::uint64_t point) const {
    std::size_t k = 0;
    while (k + 1 < states_.size() && states_[k + 1].point <= point) ++k;
    std::vector<const DiskBytes*> out{&states_[k].bytes};
    if (k + 1 < states_.size()) out.push_back(&states_[k + 1].bytes);
    return out;
  }

 private:
  struct State {
    std::uint64_t point;
    DiskBytes bytes;
  };

  void take_crashes() {
    std::uint64_t at = disk_.points();
    cases_.push_back({at, platform::Crash::process_death, disk_.after_crash(platform::Crash::process_death, 0)});
    cases_.push_back({at, platform::Crash::power_cut, disk_.after_crash(platform::Crash::power_cut, 0)});
    for (int i = 0; i < partial_variants_; ++i)
      cases_.push_back(
          {at, platform::Crash::partial_power_cut, disk_.after_crash(platform::Crash::partial_power_cut, seed_++)});
  }

  platform::SimulatedDisk& disk_;
  std::string path_;
  int partial_variants_;
  std::uint32_t seed_;
  std::vector<State> states_;
  std::vector<CrashCase> cases_;
};

inline const char* crash_name(platform::Crash kind) {
  switch (kind) {
    case platform::Crash::process_death: return "process death";
    case platform::Crash::power_cut: return "power cut";
    case platform::Crash::partial_power_cut: return "partial power cut";
  }
  return "?";
}

// Partial power cuts per point: ORVANE_CRASH_VARIANTS overrides (sanitizer
// builds run fewer).
inline int partial_variants(int normal) {
  if (const char* v = std::getenv("ORVANE_CRASH_VARIANTS")) return std::max(0, std::atoi(v));
  return normal;
}

struct CrashTally {
  int trials = 0;
  int failures = 0;
};

// Runs scenarios 1..`scenarios` on power-cut copies of `base` (syncs dropped
// when asked), crashes each at every point the recorder saw and judges what
// the disk holds after each crash; failures are reported when `expect_sound`.
//   run(seed, finished): the scenario, calling finished() after each step;
//   judge(disk, allowed): empty when the crashed disk holds an allowed state.
template <class Run, class Judge>
CrashTally crash_everywhere(const platform::SimulatedDisk& base, const std::string& path, unsigned scenarios,
                            bool drop_syncs, bool expect_sound, Run run, Judge judge) {
  CrashTally tally;
  if (::testing::Test::HasFatalFailure()) return tally;
  for (unsigned seed = 1; seed <= scenarios; ++seed) {
    platform::SimulatedDisk disk = base.after_crash(platform::Crash::power_cut, 0);
    disk.set_drop_syncs(drop_syncs);
    CrashRecorder recorder(disk, path, partial_variants(6), seed * 1000);
    {
      platform::FileSystemScope scope(disk);
      run(seed, [&] { recorder.finished(); });
    }
    if (::testing::Test::HasFatalFailure()) return tally;
    for (const CrashCase& c : recorder.cases()) {
      platform::SimulatedDisk crashed = c.disk;
      std::string why = judge(crashed, recorder.allowed_after(c.point));
      ++tally.trials;
      if (why.empty()) continue;
      ++tally.failures;
      if (expect_sound)
        ADD_FAILURE() << "seed " << seed << ", " << crash_name(c.kind) << " after point " << c.point << ": " << why;
    }
  }
  return tally;
}

}  // namespace orvane::testing
