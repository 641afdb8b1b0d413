#include "ui/window_layer.h"

#include "core/errors.h"
#include "core/symbols.h"
#include "eval/eval.h"
#include "objects/configurations.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/messages.h"
#include "platform/desktop/ui_look.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

WindowLayer g_layer;               // the documented singleton: the window layer of the title playing now
ObjectProcedure g_object_procedure;  // the event dispatcher, once installed

desktop::LResult object_window_procedure(desktop::Desktop& d, desktop::Hwnd h, std::uint32_t m, desktop::WParam w,
                                         desktop::LParam l) {
  WindowPeer* peer = window_peer_of(h);
  if (!peer) {
    if (d.parent(h) == g_layer.mdi_client) return d.def_mdi_child_proc(h, m, w, l);
    return d.def_window_proc(h, m, w, l);
  }
  if (g_object_procedure) return g_object_procedure(*peer, h, m, w, l);
  return default_window_procedure(*peer, h, m, w, l);
}

}  // namespace

WindowLayer& layer() { return g_layer; }

void attach_window_layer(desktop::Desktop& desktop, desktop::Hwnd frame, desktop::Hwnd mdi_client) {
  using namespace desktop;
  g_layer = WindowLayer{};
  g_layer.desktop = &desktop;
  g_layer.frame = frame;
  g_layer.mdi_client = mdi_client;
  if (!desktop.find_class(kPageClass))
    desktop.register_class({std::string(kPageClass), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, object_window_procedure,
                            raster::Color{255, 255, 255}, std::nullopt});
  if (!desktop.find_class(kWindowClass))
    desktop.register_class({std::string(kWindowClass), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, object_window_procedure,
                            raster::Color{255, 255, 255}, std::nullopt});
}

void detach_window_layer() {
  desktop::Desktop* d = g_layer.desktop;
  g_layer.root = g_layer.page = g_layer.key_focus = g_layer.capture = g_layer.drag = g_layer.front = nullptr;
  g_layer.desktop = nullptr;
  (void)d;
}

desktop::Desktop& window_desktop() {
  if (!g_layer.desktop) raise_error(47, kNil);
  return *g_layer.desktop;
}

void set_object_procedure(ObjectProcedure procedure) { g_object_procedure = std::move(procedure); }

desktop::LResult default_window_procedure(WindowPeer& peer, desktop::Hwnd hwnd, std::uint32_t message,
                                          desktop::WParam wparam, desktop::LParam lparam) {
  using namespace desktop;
  Desktop& d = window_desktop();
  switch (message) {
    case WM_PAINT:
      if (peer.in_page()) {
        peer.paint_message();
      } else {
        d.validate_rect(hwnd, nullptr);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  if (d.parent(hwnd) == g_layer.mdi_client) return d.def_mdi_child_proc(hwnd, message, wparam, lparam);
  return d.def_window_proc(hwnd, message, wparam, lparam);
}

raster::IntPoint map_point(const WindowPeer& from, const WindowPeer& to, raster::IntPoint p) {
  if (&from == &to) return p;
  if (!from.hwnd) raise_error(2, from.lisp_object());
  if (!to.hwnd) raise_error(2, to.lisp_object());
  return window_desktop().map_point(from.hwnd, to.hwnd, p);
}

raster::IntRect map_rect(const WindowPeer& from, const WindowPeer& to, const raster::IntRect& r) {
  raster::IntPoint a = map_point(from, to, {r.left, r.top});
  return {a.x, a.y, a.x + r.width(), a.y + r.height()};
}

Value send_to(const WindowPeer& w, std::string_view selector, std::initializer_list<Value> args) {
  Value object = w.lisp_object();
  if (object == kNil || object == kNoValue) return kNoValue;
  return send(object, intern(selector), args);
}

Value call_world(std::string_view name, std::initializer_list<Value> args) {
  Value sym = intern(name);
  Value fn = symbol_global(sym);
  if (fn == kNoValue) return kNoValue;
  return call(fn, args);
}

Value value_in_object(Value object, std::string_view name) { return objects::value_in(object, intern(name)); }

}  // namespace orvane::ui
