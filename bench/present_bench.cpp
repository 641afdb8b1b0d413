// Presenting the framebuffer in the SDL2 backend, in a window on a private
// Xvfb (skipped with a message when Xvfb is not installed): a full 1024 x 768
// frame, a small dirty rectangle, and a full frame at scale 2. What a present
// costs is the texture upload of the dirty rectangles plus one draw of the
// texture and the swap; under Xvfb the renderer is Mesa's software GL.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "../tests/support/xvfb_server.h"
#include "platform/backends/sdl_screen.h"

namespace {

using orvane::platform::backends::SdlOptions;
using orvane::platform::backends::SdlScreen;
using orvane::raster::IntRect;
using orvane::raster::PixelFormat;
using orvane::raster::Surface;

orvane::testing::XvfbServer* server() {
  static std::unique_ptr<orvane::testing::XvfbServer> instance =
      orvane::testing::XvfbServer::installed() ? std::make_unique<orvane::testing::XvfbServer>("2560x1600x24")
                                               : nullptr;
  return instance && instance->ready() ? instance.get() : nullptr;
}

void present(benchmark::State& state, int scale, IntRect dirty) {
  if (!server()) {
    state.SkipWithError("Xvfb is not installed or did not start");
    return;
  }
  SdlOptions options;
  options.size = {1024, 768};
  options.scale = scale;
  std::optional<SdlScreen> screen;
  try {
    screen.emplace(options);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  Surface framebuffer(1024, 768, PixelFormat::rgb32);
  std::uint32_t value = 0;
  for (auto _ : state) {
    // Every present shows new pixels in the dirty rectangle.
    value = (value + 0x010203) & 0xFFFFFF;
    for (int y = dirty.top; y < dirty.bottom; ++y)
      for (int x = dirty.left; x < dirty.right; x += 64) framebuffer.set_pixel(x, y, value);
    screen->present(framebuffer, std::span<const IntRect>(&dirty, 1));
    while (screen->poll_input()) {
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(screen->renderer_name());
}

void BM_PresentFullFrame(benchmark::State& state) { present(state, 1, {0, 0, 1024, 768}); }
void BM_PresentSmallDirtyRect(benchmark::State& state) { present(state, 1, {100, 100, 164, 164}); }
void BM_PresentFullFrameAtScale2(benchmark::State& state) { present(state, 2, {0, 0, 1024, 768}); }

BENCHMARK(BM_PresentFullFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PresentSmallDirtyRect)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PresentFullFrameAtScale2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
