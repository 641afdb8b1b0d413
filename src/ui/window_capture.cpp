// Mouse capture and the native drag: the capture window and the drag window
// of the window layer, and the desktop's capture that follows them.
#include "core/primitives.h"
#include "core/symbols.h"
#include "graphics/geometry_primitives.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/window_geometry_methods.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::ui {

namespace {

// The desktop window that captures the mouse for w: the MDI client for the
// root and the page (whose events the MDI client hands on), else its own.
desktop::Hwnd capture_target(const WindowPeer& w) {
  return w.is_page() || w.is_root() ? layer().mdi_client : w.hwnd;
}

Value answer_object(const WindowPeer* w) { return w ? w->lisp_object() : kNil; }

}  // namespace

void WindowPeer::capture_mouse() {
  layer().capture = this;
  window_desktop().set_capture(capture_target(*this));
}

void WindowPeer::release_mouse() {
  WindowLayer& l = layer();
  desktop::Desktop& d = window_desktop();
  l.capture = nullptr;
  if (l.tracking_drag && l.drag) {
    d.set_capture(capture_target(*l.drag));
  } else {
    d.release_capture();
  }
}

void WindowPeer::start_drag(int x, int y, bool reposition) {
  WindowLayer& l = layer();
  l.tracking_drag = true;
  l.drag = this;
  window_desktop().set_capture(capture_target(*this));
  send_to(*this, reposition ? "mouse-reposition" : "drag", {make_integer(x), make_integer(y)});
}

void WindowPeer::release_drag() {
  WindowLayer& l = layer();
  desktop::Desktop& d = window_desktop();
  l.tracking_drag = false;
  if (l.drag == this) l.drag = nullptr;
  // A capture window set during the drag keeps the mouse.
  if (l.capture) {
    d.set_capture(capture_target(*l.capture));
  } else {
    d.release_capture();
  }
}

namespace {

Value m_capture_mouse() {
  self_window().capture_mouse();
  return kNoValue;
}

Value m_release_mouse() {
  self_window().release_mouse();
  return kNoValue;
}

Value m_release_drag() {
  self_window().release_drag();
  return kNoValue;
}

Value m_capture_window() { return answer_object(layer().capture); }

Value tracking_drag() { return geometry::truth(layer().tracking_drag && layer().drag); }

Value get_blotter() { return answer_object(layer().page); }

}  // namespace

void register_capture_methods(Value klass) {
  register_method(klass, "capture-mouse", m_capture_mouse);
  register_method(klass, "release-mouse", m_release_mouse);
  register_method(klass, "release-drag", m_release_drag);
  register_method(klass, "capture-window", m_capture_window);
  defprim("tracking-drag?", tracking_drag);
  defprim("get-blotter", get_blotter);
}

}  // namespace orvane::ui
