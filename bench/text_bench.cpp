// Measuring and laying out a 1,000-character paragraph: the string width,
// the wrapped height and the drawn text box, as `string-width`,
// `get-text-height` and `text-box` do them.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/text_draw.h"
#include "graphics/text_fonts.h"
#include "graphics/text_layout.h"

namespace {

using namespace orvane;

std::string paragraph() {
  const std::string sentence = "The quick brown fox jumps over the lazy dog, caf\xE9 and \x93quotes\x94. ";
  std::string text;
  while (text.size() < 1000) text += sentence;
  text.resize(1000);
  return text;
}

const FontRecord kArial{0, 13, "Arial", 0};

void BM_StringWidth(benchmark::State& state) {
  const std::string text = paragraph();
  for (auto _ : state) benchmark::DoNotOptimize(font_of(kArial).text_width(text));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_StringWidth);

void BM_WrappedTextHeight(benchmark::State& state) {
  const std::string text = paragraph();
  for (auto _ : state) benchmark::DoNotOptimize(wrapped_text_height(font_of(kArial), text, 300));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_WrappedTextHeight);

// Arg: the justification code (0 top left, 9 bottom centred).
void BM_TextBox(benchmark::State& state) {
  const std::string text = paragraph();
  raster::Surface surface(320, 400, raster::PixelFormat::rgb32);
  raster::DeviceContext dc(surface);
  const int code = static_cast<int>(state.range(0));
  for (auto _ : state) draw_text_box(dc, font_of(kArial), text, {10, 10, 310, 390}, code, false, {});
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TextBox)->Arg(0)->Arg(9);

}  // namespace

BENCHMARK_MAIN();
