// Window objects on a desktop without the opening path: a test primitive
// links hand-built peers into the window tree (root, page, windows in the
// page as the page's desktop siblings, deeper windows as plain children),
// so that the geometry methods can be driven from Lisp.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/desktop_fixture.h"
#include "lib/lisp_test.h"
#include "objects/native_classes.h"
#include "platform/desktop/desktop.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"
#include "windows/geometry_screen.h"

namespace orvane::ui::testing {

inline constexpr std::string_view kTestWindowClass = "GeometryTestWindow";

// (test-window object parent x y width height): x y in the parent's coordinates.
inline Value test_window(Value object, Value parent, Value x, Value y, Value width, Value height) {
  using namespace desktop;
  open_peer(object);
  WindowPeer& w = window_peer(object);
  WindowLayer& l = layer();
  Desktop& d = *l.desktop;
  raster::IntPoint at{integer_of(x), integer_of(y)};
  w.rect = {0, 0, integer_of(width), integer_of(height)};
  CreateParams p;
  p.class_name = std::string(kTestWindowClass);
  p.style = WS_CHILD | WS_VISIBLE;
  p.width = w.rect.width();
  p.height = w.rect.height();
  if (is_nil(parent)) {
    l.root = &w;
    w.hwnd = l.mdi_client;
    w.rect = d.client_rect(l.mdi_client);
  } else {
    WindowPeer& up = window_peer(parent);
    w.parent = &up;
    w.next_sibling = up.first_child;
    up.first_child = &w;
    p.parent = up.hwnd;
    if (up.is_root()) {
      l.page = &w;
      w.system = &up;
    } else if (up.is_page()) {
      w.system = &w;
      // A window in the page is the page's sibling in the MDI client, above it.
      p.parent = l.mdi_client;
      at = d.map_point(up.hwnd, l.mdi_client, at);
    } else {
      w.system = up.system;
    }
    p.x = at.x;
    p.y = at.y;
    w.hwnd = d.create_window(p);
    d.set_prop(w.hwnd, kObjectProperty, reinterpret_cast<LParam>(&w));
  }
  w.view_rect = w.virtual_rect = w.frame_rect = w.rect;
  w.flags.visible = true;
  return object;
}

class GeometryWindows : public orvane::testing::LispTest {
 protected:
  platform::VirtualClock clock;
  desktop::testing::FakeScreen screen{clock, {640, 480}};
  desktop::Desktop desktop{screen, clock};
  desktop::Hwnd frame, client;

  void SetUp() override {
    using namespace desktop;
    LispTest::SetUp();
    for (std::string_view name : {std::string_view("GeometryTestFrame"), kTestWindowClass}) {
      WindowClass c;
      c.name = std::string(name);
      c.background = raster::colors::white;
      c.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam wp, LParam lp) {
        return d.def_window_proc(h, m, wp, lp);
      };
      ASSERT_TRUE(desktop.register_class(std::move(c)));
    }
    frame = create("GeometryTestFrame", WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 640, 480}, {});
    client = create("GeometryTestFrame", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, {0, 20, 640, 480}, frame);
    attach_window_layer(desktop, frame, client);
    defprim("test-window", test_window);
    eval_text(R"((define Log ()))");
    eval_text(R"((define obj-tw (new-class 'obj-tw obj-window)))");
    eval_text(R"((obj-tw
      (defslot label)
      (defslot handles-mouse? :default t)
      (define (drag _x _y) (set! Log (cons (list label 'drag _x _y) Log)))
      (define (mouse-reposition _x _y) (set! Log (cons (list label 'mouse-reposition _x _y) Log)))))");
  }
  void TearDown() override {
    detach_window_layer();
    LispTest::TearDown();
  }

  desktop::Hwnd create(const std::string& cls, std::uint32_t style, raster::IntRect r, desktop::Hwnd parent) {
    desktop::CreateParams p;
    p.class_name = cls;
    p.style = style;
    p.x = r.left;
    p.y = r.top;
    p.width = r.width();
    p.height = r.height();
    p.parent = parent;
    return desktop.create_window(p);
  }

  // Makes a window object labelled `name` and links it under `parent` (nil: the root).
  void window(std::string_view name, std::string_view parent, int x, int y, int w, int h) {
    eval_text("(define " + std::string(name) + " (make-instance obj-tw))");
    eval_text("(" + std::string(name) + " (set! label '" + std::string(name) + "))");
    eval_text("(test-window " + std::string(name) + " " + std::string(parent) + " " + std::to_string(x) + " " +
              std::to_string(y) + " " + std::to_string(w) + " " + std::to_string(h) + ")");
  }
  WindowPeer& peer(std::string_view name) { return window_peer(eval_text(name)); }
  std::vector<raster::Color> snapshot() { return framebuffer_pixels(desktop.framebuffer()); }
  raster::Color pixel(raster::IntPoint screen_point) {
    return desktop.framebuffer().color_at(screen_point.x, screen_point.y);
  }
  // The screen point of a point of a window object.
  raster::IntPoint on_screen(std::string_view name, raster::IntPoint p) {
    return desktop.client_to_screen(peer(name).hwnd, p);
  }
  std::string log_text() { return value_to_text(eval_text("(reverse Log)")); }
};

}  // namespace orvane::ui::testing
