// The desktop's hot paths: a posted message's round trip through the queue,
// and painting a frame of 100 overlapping child windows at 640 x 480.
#include <benchmark/benchmark.h>

#include "null_screen.h"

#include "platform/clock.h"
#include "platform/desktop/desktop.h"

using namespace orvane;
using namespace orvane::desktop;

namespace {

using bench::NullScreen;

void BM_PostedMessageRoundTrip(benchmark::State& state) {
  platform::VirtualClock clock;
  NullScreen screen;
  Desktop desktop(screen, clock);
  std::uint64_t received = 0;
  desktop.register_class({"Counter", 0,
                          [&received](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
                            if (m == WM_USER) {
                              ++received;
                              return 0;
                            }
                            return d.def_window_proc(h, m, w, l);
                          },
                          std::nullopt});
  CreateParams p;
  p.class_name = "Counter";
  p.style = WS_POPUP;
  const Hwnd w = desktop.create_window(p);
  Message m;
  for (auto _ : state) {
    desktop.post_message(w, WM_USER, 1, 2);
    desktop.peek_message(m, {}, 0, 0, PM_REMOVE);
    desktop.dispatch_message(m);
  }
  benchmark::DoNotOptimize(received);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PostedMessageRoundTrip);

void BM_PaintHundredOverlappingChildren(benchmark::State& state) {
  platform::VirtualClock clock;
  NullScreen screen;
  Desktop desktop(screen, clock);
  desktop.register_class({"Filler", 0,
                          [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
                            if (m != WM_PAINT) return d.def_window_proc(h, m, w, l);
                            PaintScope paint(d, h);
                            const auto c = raster::Color::from_rgb(static_cast<std::uint32_t>(d.user_data(h)));
                            paint.dc().fill_rect(d.client_rect(h), raster::Brush::solid(c));
                            return 0;
                          },
                          std::nullopt});
  CreateParams p;
  p.class_name = "Filler";
  p.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  p.x = 0, p.y = 0, p.width = 640, p.height = 480;
  const Hwnd parent = desktop.create_window(p);
  for (int i = 0; i < 100; ++i) {
    CreateParams c;
    c.class_name = "Filler";
    c.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER;
    c.parent = parent;
    c.x = (i * 37) % 400, c.y = (i * 23) % 300, c.width = 240, c.height = 180;
    const Hwnd h = desktop.create_window(c);
    desktop.set_user_data(h, static_cast<LParam>(0x010203u * static_cast<unsigned>(i + 1)));
  }
  Message m;
  auto paint_all = [&] {
    while (desktop.peek_message(m, {}, 0, 0, PM_REMOVE)) desktop.dispatch_message(m);
    desktop.present();
  };
  paint_all();
  for (auto _ : state) {
    desktop.invalidate_rect({}, nullptr, true);
    paint_all();
  }
}
BENCHMARK(BM_PaintHundredOverlappingChildren)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
