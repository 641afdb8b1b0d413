// The drawing layer's hot paths: one frame of animate-rect (a 64 x 64 image
// moved one pixel over a 640 x 480 port, restoring what it uncovers), and
// a transparent transfer through a mask.
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/animate_rect.h"
#include "graphics/offscreen.h"

using namespace orvane;
using namespace orvane::graphics;

namespace {

void BM_AnimateRectFrame(benchmark::State& state) {
  Offscreen port(OffscreenSpec::of({0, 0, 640, 480}));
  port.port().paint_oval({0, 0, 64, 64});
  const int frames = 200;
  std::vector<raster::IntPoint> path{{0, 0}, {frames, 200}};
  Animation animation{{0, 0, 64, 64}, path, 1, 0, static_cast<int>(state.range(0))};
  for (auto _ : state) animate_rect(port.context(), nullptr, animation, nullptr);
  state.SetItemsProcessed(state.iterations() * frames);
  state.counters["frame_us"] = benchmark::Counter(static_cast<double>(state.iterations() * frames),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AnimateRectFrame)->Arg(0)->Arg(kTransparentMode)->Unit(benchmark::kMillisecond);

void BM_MaskedTransfer(benchmark::State& state) {
  Offscreen image(OffscreenSpec::of({0, 0, 256, 256}));
  image.port().paint_oval({0, 0, 256, 256});
  image.make_mask();
  image.port().set_transfer_mode(kTransparentMode);
  Offscreen port(OffscreenSpec::of({0, 0, 640, 480}));
  for (auto _ : state) draw_offscreen(port.port(), image, {10, 10, 266, 266});
}
BENCHMARK(BM_MaskedTransfer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
