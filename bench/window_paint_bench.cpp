// Painting window objects at 640 x 480: a full repaint of a page-level
// window holding 200 windows (each erasing its background and counting its
// `window-paint` in Lisp), and the same with 100 windows composed in an
// offscreen buffer first.
#include <benchmark/benchmark.h>

#include "null_screen.h"

#include <string>

#include "core/memory.h"
#include "core/runtime.h"
#include "core/symbols.h"
#include "eval/toplevel.h"
#include "platform/clock.h"
#include "platform/desktop/desktop.h"
#include "reader/reader.h"
#include "shell/modules.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane {
namespace {

using bench::NullScreen;

// The conversions the window layer calls and a window class that counts
// its paints.
constexpr const char* kWorld = R"(
(define Paints 0)
(define (symbolic-size _v) (make-point (car _v) (cadr _v)))
(define (symbolic-position _v _size _type) (make-point (car _v) (cadr _v)))
(define (symbolic-type _v) _v)
(define (symbolic-color _v) _v)
(define (symbolic-font _v) _v)
(define obj-bench-window (new-class 'obj-bench-window obj-window))
(obj-bench-window
  (defslot parent :default nil)
  (defslot paints :default 0)
  (define (window-paint) (set! Paints (+ Paints 1)))
  (define (show-event) ())
  (define (hide-event) ())
  (define (expose) ())
  (define (deexpose) ())
  (define (frame-width) 0))
(define (make-window _parent _initargs)
  (let ((_w (make-instance obj-bench-window)))
    (_w (set! parent _parent))
    (send _w link-object)
    (send _w setup-constructor _initargs)
    (send _w open)
    (send _w show)
    _w))
(define Root (make-window () ()))
(define Page (make-window Root '(:size (640 480) :color (65535 65535 65535))))
(define Top (make-window Page '(:size (640 480) :position (0 0) :type 7 :color (0 0 0) :erase? t)))
; Columns of windows, each holding a stack of smaller ones.
(define (fill-top _columns _per-column)
  (let ((_c 0))
    (while (< _c _columns)
      (let ((_column (make-window Top (list :size (list 60 460) :position (list (+ 4 (* _c 63)) 10)
                                           :color (list (* _c 6000) 30000 40000) :erase? t)))
            (_i 0))
        (while (< _i _per-column)
          (make-window _column (list :size (list 50 18) :position (list 5 (+ 2 (* _i 21)))
                                     :color (list 65535 (* _i 3000) 0) :erase? t))
          (set! _i (+ _i 1))))
      (set! _c (+ _c 1)))))
)";

class PaintWorld {
 public:
  PaintWorld(int columns, int per_column, bool offscreen)
      : runtime_(config(), register_all_modules), desktop_(screen_, clock_) {
    desktop_.register_class({"BenchFrame", 0,
                             [](desktop::Desktop& d, desktop::Hwnd h, std::uint32_t m, desktop::WParam w,
                                desktop::LParam l) { return d.def_window_proc(h, m, w, l); },
                             raster::Color{128, 128, 128}, std::nullopt});
    desktop::CreateParams frame;
    frame.class_name = "BenchFrame";
    frame.style = desktop::WS_VISIBLE | desktop::WS_POPUP;
    frame.x = frame.y = 0;
    frame.width = 640;
    frame.height = 480;
    desktop::Hwnd frame_window = desktop_.create_window(frame);
    desktop::CreateParams client = frame;
    client.style = desktop::WS_VISIBLE | desktop::WS_CHILD | desktop::WS_CLIPCHILDREN;
    client.parent = frame_window;
    desktop::Hwnd mdi_client = desktop_.create_window(client);
    ui::attach_window_layer(desktop_, frame_window, mdi_client);
    std::string source = std::string(kWorld) + "(fill-top " + std::to_string(columns) + " " +
                         std::to_string(per_column) + ")\n";
    if (offscreen) source += "(send Top set-offscreen? t)\n";
    for (Value forms = parse_text(source); is_pair(forms); forms = cdr(forms)) eval_toplevel(car(forms));
    top_ = &ui::window_peer(symbol_global(intern("Top")));
    repaint();  // the first paint, and every window's first composition
  }
  ~PaintWorld() { ui::detach_window_layer(); }

  // The window-paint messages so far.
  int paints() const { return integer_of(symbol_global(intern("Paints"))); }

  void repaint() {
    ui::invalidate_window(*top_);
    desktop_.update_window(top_->hwnd);
  }

  static MemoryConfig config() {
    MemoryConfig c;
    c.total = 64u << 20;
    return c;
  }

 private:
  Runtime runtime_;
  platform::VirtualClock clock_;
  NullScreen screen_;
  desktop::Desktop desktop_;
  ui::WindowPeer* top_ = nullptr;
};

void report_paints(benchmark::State& state, const PaintWorld& world, int before) {
  state.counters["paints"] = static_cast<double>(world.paints() - before) / static_cast<double>(state.iterations());
}

// The page-level window, 10 columns and 10 x 19 windows in them: 201 windows.
void BM_RepaintPageOf200Windows(benchmark::State& state) {
  PaintWorld world(10, 19, false);
  const int before = world.paints();
  for (auto _ : state) world.repaint();
  report_paints(state, world, before);
}
BENCHMARK(BM_RepaintPageOf200Windows)->Unit(benchmark::kMillisecond);

// 1 + 9 columns + 9 x 10 windows = 100 windows composed in the page-level
// window's buffer, then copied to the screen.
void BM_RepaintHundredWindowsThroughAnOffscreen(benchmark::State& state) {
  PaintWorld world(9, 10, true);
  const int before = world.paints();
  for (auto _ : state) world.repaint();
  report_paints(state, world, before);
}
BENCHMARK(BM_RepaintHundredWindowsThroughAnOffscreen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
