// The boot of a title whose "Load" resources hold about 1 MB of Lisp source
// (10,550 definitions named fn-0 ... fn-10549, as bench/load_source makes
// them), as text and in the compact encoding with its "SYMB" 0, against a
// title with no code: `orvane play --headless` in-process, from reading the
// title file to the orderly shutdown.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/commands.h"
#include "reader/compact_encoder.h"
#include "play/title_writer.h"

namespace {

using namespace orvane;
namespace fs = std::filesystem;

constexpr int kDefinitions = 10550;
constexpr int kLoads = 4;
// Quits when the last definition is there; otherwise its call is an error
// and toplevel-loop returns, which fails the run.
constexpr const char* kToplevel = "(define (toplevel-loop) (fn-10549 1 2) (quit))";

// The definitions split into kLoads pieces at definition boundaries.
std::vector<std::string> source_pieces() {
  std::vector<std::string> pieces(kLoads);
  for (int i = 0; i < kDefinitions; ++i) {
    const int previous = i == 0 ? kDefinitions - 1 : i - 1;
    pieces[static_cast<std::size_t>(i * kLoads / kDefinitions)] +=
        "(define (fn-" + std::to_string(i) + " _a _b)\n  (let ((_c (+ _a " + std::to_string(i) + ")))\n" +
        "    (if (< _c _b) (fn-" + std::to_string(previous) + " _b _a) (list _c 'tag-" + std::to_string(i % 97) +
        "))))\n";
  }
  pieces.back() += kToplevel;
  return pieces;
}

struct Titles {
  fs::path dir = fs::temp_directory_path() / ("orvane-boot-bench-" + std::to_string(::getpid()));
  std::string empty, text, compact;
  std::size_t text_bytes = 0, compact_bytes = 0;

  Titles() {
    fs::create_directories(dir);
    empty = (dir / "EMPTY.RI").string();
    text = (dir / "TEXT.RI").string();
    compact = (dir / "COMPACT.RI").string();
    testing::TitleWriter none;
    none.load(0, "(define (toplevel-loop) (quit))");
    none.write(empty);

    const std::vector<std::string> pieces = source_pieces();
    testing::TitleWriter plain, encoded;
    CompactCode code = encode_compact(pieces);
    for (int n = 0; n < kLoads; ++n) {
      const std::string& piece = pieces[static_cast<std::size_t>(n)];
      plain.load(static_cast<std::int16_t>(n), piece);
      std::string& bytes = code.sources[static_cast<std::size_t>(n)];
      compact_bytes += bytes.size();
      text_bytes += piece.size();
      encoded.load(static_cast<std::int16_t>(n), std::move(bytes));
    }
    encoded.add("SYMB", 0, std::string(code.symbol_table.begin(), code.symbol_table.end()));
    plain.write(text);
    encoded.write(compact);
  }
  ~Titles() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

Titles& titles() {
  static Titles t;
  return t;
}

// Arg: 0 no code, 1 text source, 2 compact source.
void BM_BootTitle(benchmark::State& state) {
  Titles& t = titles();
  app::PlayOptions options;
  options.headless = true;
  options.title = state.range(0) == 0 ? t.empty : state.range(0) == 1 ? t.text : t.compact;
  for (auto _ : state) {
    if (app::play_command({}, options) != 0) {
      state.SkipWithError("the title did not boot to its quit");
      break;
    }
  }
  state.counters["source_bytes"] =
      static_cast<double>(state.range(0) == 0 ? 0 : state.range(0) == 1 ? t.text_bytes : t.compact_bytes);
}
BENCHMARK(BM_BootTitle)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
