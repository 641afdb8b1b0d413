// Event dispatch: a click (press and release) on a window object, from the
// desktop's queue through the mouse state machine to `mouse-down-system` in
// Lisp and back.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "core/memory_config.h"
#include "platform/clock.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "platform/screen.h"
#include "null_screen.h"
#include "reader/reader.h"
#include "shell/dispatch_state.h"
#include "shell/event_primitives.h"
#include "shell/event_pump.h"
#include "shell/frame_procedure.h"
#include "shell/modules.h"
#include "shell/session.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

using namespace orvane;
using namespace orvane::desktop;

namespace {

using bench::NullScreen;

// The conversions the window layer calls, and a window class counting its presses.
constexpr const char* kWorld = R"(
(define (as-point _v) (if (and (pair? _v) (pair? (cdr _v))) (make-point (car _v) (cadr _v)) _v))
(define (symbolic-size _v) (as-point _v))
(define (symbolic-position _v _size _type) (as-point _v))
(define (symbolic-type _v) _v)
(define (symbolic-font _v) _v)
(define (symbolic-color _v) _v)
(define Presses 0)
(define obj-bench-window (new-class 'obj-bench-window obj-window))
(obj-bench-window
  (defslot parent :default nil)
  (defslot handles-keys? :default nil)
  (defslot handles-mouse? :default t)
  (defslot thickness :default nil)
  (defslot transparent? :default nil)
  (defslot closed-zone? :default nil)
  (defslot color-ref :default nil)
  (defslot color-fore-ref :default nil)
  (define (window-paint) ())
  (define (show-event) ())
  (define (hide-event) ())
  (define (expose) ())
  (define (deexpose) ())
  (define (default-mouse-down _x _y) ())
  (define (mouse-down-system _x _y) (set! Presses (+ Presses 1)))
  (define (mouse-up-system _x _y) ()))
(define (open-bench-window _parent _initargs)
  (let ((_w (make-instance obj-bench-window)))
    (_w (set! parent _parent))
    (send _w link-object)
    (send _w setup-constructor _initargs)
    (send _w open)
    (if _parent (send _w show))
    _w))
(define Root (open-bench-window () ()))
(define Page (open-bench-window Root '(:size (640 480))))
(define Target (open-bench-window Page '(:size (200 150) :position (50 40) :type 7)))
)";

void register_modules() {
  register_all_modules();
  shell::register_event_primitives();
}

void BM_ClickToMouseDownSystem(benchmark::State& state) {
  platform::VirtualClock clock;
  NullScreen screen;
  Desktop desktop(screen, clock);
  desktop.register_class({"FrameWClass", CS_HREDRAW | CS_VREDRAW, shell::frame_procedure, std::nullopt});
  CreateParams frame_params;
  frame_params.class_name = "FrameWClass";
  frame_params.style = WS_CLIPCHILDREN | WS_VISIBLE;
  frame_params.x = frame_params.y = 0;
  frame_params.width = 640;
  frame_params.height = 480;
  Hwnd frame = desktop.create_window(frame_params);
  desktop.set_host_frame(frame);
  ClientCreateStruct client_create;
  CreateParams client_params;
  client_params.class_name = "MDICLIENT";
  client_params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
  client_params.x = client_params.y = 0;
  client_params.width = 640;
  client_params.height = 480;
  client_params.parent = frame;
  client_params.create_params = lparam_of_pointer(&client_create);
  Hwnd client = desktop.create_window(client_params);
  ui::attach_window_layer(desktop, frame, client);
  shell::attach_dispatch(desktop, frame, client, 0);
  {
    shell::LispSession session(MemoryConfig{}, register_modules);
    TextSource world(kWorld);
    bool loaded = session.run_source(world);
    std::fflush(stdout);
    if (!loaded) {
      state.SkipWithError("the bench's world did not load");
      return;
    }
    Value target = kNil;
    session.eval_datum(read_from_text("Target"), &target);
    ui::WindowPeer* window = ui::window_peer_or_null(target);
    if (!window) {
      state.SkipWithError("the bench's window did not open");
      return;
    }
    Hwnd hwnd = window->hwnd;
    shell::process_events(desktop, client, -1);
    for (auto _ : state) {
      desktop.post_message(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, make_lparam(20, 20));
      desktop.post_message(hwnd, WM_LBUTTONUP, 0, make_lparam(20, 20));
      shell::process_events(desktop, client, -1);
      clock.advance(600);  // never a double click
    }
    Value presses = kNil;
    session.eval_datum(read_from_text("Presses"), &presses);
    if (!is_fixnum(presses) || presses.fixnum() < static_cast<std::int32_t>(state.iterations()))
      state.SkipWithError("not every click reached mouse-down-system");
    state.SetItemsProcessed(state.iterations());
    shell::detach_dispatch();
    ui::detach_window_layer();
  }
}
BENCHMARK(BM_ClickToMouseDownSystem);

}  // namespace

BENCHMARK_MAIN();
