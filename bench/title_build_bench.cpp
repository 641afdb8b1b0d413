// Building a title folder: 1 MB of Lisp in 20 files and four 640 x 480
// pictures (two of at most 256 colours, two of many), as text and compact
// code. Every source is read by the reader first, so this is also the
// check's cost.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "graphics/pict_encoder.h"
#include "platform/raster/png_io.h"
#include "reader/compact_encoder.h"
#include "shell/title_folder.h"

namespace {

using namespace orvane;
namespace fs = std::filesystem;

constexpr std::size_t kLispBytes = 1 << 20;
constexpr int kFiles = 20;

std::string lisp_file(int file) {
  std::string text;
  for (int n = 0; text.size() < kLispBytes / kFiles; ++n) {
    std::string f = "f" + std::to_string(file) + "-" + std::to_string(n);
    text += "; function " + f + "\n(define (" + f + " _x _y)\n  (let ((sum (+ _x _y " + std::to_string(n % 300) +
            ")))\n    (when (> sum 10) (prin \"big: \" sum :key 'sym-" + std::to_string(n % 97) +
            "))\n    (list sum 1.5 #\\a (car '(a b c)))))\n";
  }
  return text;
}

raster::Surface picture(bool many_colours) {
  raster::Surface s(640, 480, raster::PixelFormat::rgb32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      raster::Color c = many_colours ? raster::Color{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                                     static_cast<std::uint8_t>(x ^ y)}
                                     : raster::Color{static_cast<std::uint8_t>((x / 40) * 16), 0,
                                                     static_cast<std::uint8_t>((y / 30) * 16)};
      s.set_pixel(x, y, c.rgb());
    }
  return s;
}

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    std::string manifest = "caption Bench\nworld no\n";
    for (int i = 0; i < kFiles; ++i) {
      std::string name = "code" + std::to_string(i) + ".lsp";
      sources_.push_back(lisp_file(i));
      std::ofstream(path_ + "/" + name) << sources_.back();
      manifest += "source " + name + "\n";
    }
    for (int i = 0; i < 4; ++i) {
      std::string name = "picture" + std::to_string(i) + ".png";
      raster::write_png(picture(i % 2 == 1), path_ + "/" + name);
      manifest += "picture " + std::to_string(128 + i) + " " + name + "\n";
    }
    std::ofstream(path_ + "/title.manifest") << manifest;
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  const std::vector<std::string>& sources() const { return sources_; }

 private:
  std::string path_;
  std::vector<std::string> sources_;
};

BenchFolder& folder() {
  static BenchFolder f;
  return f;
}

void BM_BuildTitleFolder(benchmark::State& state) {
  shell::BuildOptions options;
  options.compact = state.range(0) != 0;
  for (auto _ : state) {
    shell::TitleBuild build = shell::build_title_folder(folder().path(), options);
    if (!build.title) state.SkipWithError(build.errors.empty() ? "not built" : build.errors[0].c_str());
    benchmark::DoNotOptimize(build);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kLispBytes);
}
BENCHMARK(BM_BuildTitleFolder)->Arg(0)->Arg(1)->ArgNames({"compact"})->Unit(benchmark::kMillisecond);

void BM_CompactEncoding(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(encode_compact(folder().sources()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kLispBytes);
}
BENCHMARK(BM_CompactEncoding)->Unit(benchmark::kMillisecond);

void BM_PictEncoding(benchmark::State& state) {
  raster::Surface image = picture(state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(graphics::encode_pict(image));
}
BENCHMARK(BM_PictEncoding)->Arg(0)->Arg(1)->ArgNames({"many_colours"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
