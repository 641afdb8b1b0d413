// The fonts unit: measuring and drawing a line of Windows-1252 text with the
// glyphs cached, and finding an open font again.
#include <benchmark/benchmark.h>

#include "platform/fonts/font.h"

namespace {

using namespace orvane;

constexpr std::string_view kLine = "The quick brown fox jumps over the lazy dog";

fonts::Font arial() { return *fonts::Font::open(fonts::FontRequest::points("Arial", 10)); }

void BM_TextWidth(benchmark::State& state) {
  const fonts::Font font = arial();
  for (auto _ : state) benchmark::DoNotOptimize(font.text_width(kLine));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}
BENCHMARK(BM_TextWidth);

void BM_DrawLine(benchmark::State& state) {
  const fonts::Font font = arial();
  raster::Surface surface(640, 480, raster::PixelFormat::rgb32);
  raster::DeviceContext dc(surface);
  const auto smoothing = state.range(0) ? fonts::Smoothing::antialiased : fonts::Smoothing::monochrome;
  fonts::TextPaint paint;
  paint.smoothing = smoothing;
  for (auto _ : state) font.draw(dc, {10, 200}, kLine, paint);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}
BENCHMARK(BM_DrawLine)->Arg(0)->Arg(1);

void BM_OpenCachedFont(benchmark::State& state) {
  const fonts::Font held = arial();
  for (auto _ : state) benchmark::DoNotOptimize(fonts::Font::open(fonts::FontRequest::points("Arial", 10)));
}
BENCHMARK(BM_OpenCachedFont);

}  // namespace

BENCHMARK_MAIN();
