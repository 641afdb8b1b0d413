#include <gtest/gtest.h>

#include "platform/backends/headless_screen.h"
#include "platform/desktop/desktop.h"

namespace orvane::desktop {
namespace {

using platform::backends::EventScript;
using platform::backends::HeadlessClock;
using platform::backends::HeadlessOptions;
using platform::backends::HeadlessScreen;

LResult paint_red(Desktop& d, Hwnd hwnd, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message != WM_PAINT) return d.def_window_proc(hwnd, message, wparam, lparam);
  PaintScope scope(d, hwnd);
  scope.dc().fill_rect(d.client_rect(hwnd), raster::Brush::solid({255, 0, 0}));
  return 0;
}

// Hiding or moving a window that clips its children uncovers what its
// children showed too, not only its own pixels.
TEST(DesktopExposure, HidingAClipChildrenWindowRepaintsUnderItsChildren) {
  HeadlessClock clock;
  HeadlessScreen screen(clock, EventScript{}, HeadlessOptions{{200, 150}, ".", {}});
  Desktop d(screen, clock);
  d.register_class({"Plain", 0, [](Desktop& dd, Hwnd h, std::uint32_t m, WParam w, LParam l) {
                      return dd.def_window_proc(h, m, w, l);
                    }, raster::Color{0, 0, 255}});
  d.register_class({"Red", 0, paint_red, {}});
  CreateParams parent;
  parent.class_name = "Plain";
  parent.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  parent.x = 20, parent.y = 20, parent.width = 100, parent.height = 80;
  Hwnd popup = d.create_window(parent);
  CreateParams child;
  child.class_name = "Red";
  child.style = WS_CHILD | WS_VISIBLE;
  child.x = 10, child.y = 10, child.width = 30, child.height = 20;
  child.parent = popup;
  d.create_window(child);
  Message m;
  while (d.peek_message(m, {}, 0, 0, PM_REMOVE)) d.dispatch_message(m);
  ASSERT_EQ(d.framebuffer().pixel(35, 35), 0xFF0000u);  // the child's paint

  d.show_window(popup, SW_HIDE);
  while (d.peek_message(m, {}, 0, 0, PM_REMOVE)) d.dispatch_message(m);
  EXPECT_NE(d.framebuffer().pixel(35, 35), 0xFF0000u) << "the child's pixels stayed behind";
  EXPECT_EQ(d.framebuffer().pixel(35, 35), d.framebuffer().pixel(5, 5));
}

}  // namespace
}  // namespace orvane::desktop
