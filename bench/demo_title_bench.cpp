// The demo title (titles/demo with the standard world): the time to build
// its folder into a title, and the time to boot the packed title headless,
// from reading the file to its first page shown and the orderly shutdown.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/commands.h"
#include "shell/title_file_writer.h"
#include "shell/title_folder.h"

namespace {

using namespace orvane;
namespace fs = std::filesystem;

// titles/demo of the source tree the benchmark was built in: looked for
// above the executable, as the run-time looks for the standard world.
std::string demo_folder() {
  std::error_code ec;
  fs::path at = fs::read_symlink("/proc/self/exe", ec).parent_path();
  for (int up = 0; up < 4 && !at.empty(); ++up, at = at.parent_path())
    if (fs::exists(at / "titles" / "demo" / "title.manifest")) return (at / "titles" / "demo").string();
  return "titles/demo";
}

const std::string kDemoFolder = demo_folder();

void BM_BuildDemoTitle(benchmark::State& state) {
  for (auto _ : state) {
    shell::TitleBuild build = shell::build_title_folder(kDemoFolder);
    if (!build.title) {
      state.SkipWithError(build.errors.empty() ? "not built" : build.errors[0].c_str());
      break;
    }
    benchmark::DoNotOptimize(build);
  }
}
BENCHMARK(BM_BuildDemoTitle)->Unit(benchmark::kMillisecond);

// The packed demo and a script that only lets the first page be shown; the
// scores database goes to a configuration folder of the benchmark's own.
struct PackedDemo {
  fs::path dir = fs::temp_directory_path() / ("orvane-demo-bench-" + std::to_string(::getpid()));
  std::string title = (dir / "DEMO.RI").string();
  std::string events = (dir / "boot.events").string();
  std::string error;

  PackedDemo() {
    fs::create_directories(dir / "config");
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    std::ofstream(events) << "wait 10\n";
    shell::TitleBuild build = shell::build_title_folder(kDemoFolder);
    if (!build.title)
      error = build.errors.empty() ? "not built" : build.errors[0];
    else if (!shell::write_title_file(build.title->resources, title, &error) && error.empty())
      error = "not written";
  }
  ~PackedDemo() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

void BM_BootDemoTitle(benchmark::State& state) {
  static PackedDemo demo;
  if (!demo.error.empty()) {
    state.SkipWithError(demo.error.c_str());
    return;
  }
  app::PlayOptions options;
  options.headless = true;
  options.title = demo.title;
  options.events = demo.events;
  options.frames = demo.dir.string();
  for (auto _ : state) {
    if (app::play_command({}, options) != 0) {
      state.SkipWithError("the demo did not boot and end in order");
      break;
    }
  }
}
BENCHMARK(BM_BootDemoTitle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
