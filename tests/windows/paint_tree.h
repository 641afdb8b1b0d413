// Window peers linked by hand on a desktop, without Lisp objects: the root
// on the MDI client, a page, windows in the page and deeper windows, as
// opening would link them. Painting, invalidation and offscreen buffers work
// on them; the messages to Lisp go nowhere.
#pragma once

#include <memory>
#include <vector>

#include "desktop/desktop_fixture.h"
#include "support/runtime_fixture.h"
#include "ui/window_layer.h"
#include "ui/window_painting.h"
#include "ui/window_peer.h"

namespace orvane::ui::testing {

using desktop::Hwnd;
using raster::Color;
using raster::IntPoint;
using raster::IntRect;

class PaintTreeTest : public orvane::testing::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    desk.register_class({"PaintTestFrame", 0,
                         [](desktop::Desktop& d, Hwnd h, std::uint32_t m, desktop::WParam w, desktop::LParam l) {
                           return d.def_window_proc(h, m, w, l);
                         },
                         raster::Color{128, 128, 128}, std::nullopt});
    desktop::CreateParams frame;
    frame.class_name = "PaintTestFrame";
    frame.style = desktop::WS_VISIBLE | desktop::WS_POPUP;
    frame.x = 0;
    frame.y = 0;
    frame.width = 640;
    frame.height = 480;
    frame_ = desk.create_window(frame);
    desktop::CreateParams client = frame;
    client.style = desktop::WS_VISIBLE | desktop::WS_CHILD | desktop::WS_CLIPCHILDREN;
    client.parent = frame_;
    mdi_client_ = desk.create_window(client);
    attach_window_layer(desk, frame_, mdi_client_);
    root = &add_root();
    page = &add(root, {0, 0, 640, 480});
  }

  void TearDown() override {
    while (!peers_.empty()) peers_.pop_back();
    detach_window_layer();
    RuntimeTest::TearDown();
  }

  WindowPeer& add_root() {
    auto p = std::make_unique<WindowPeer>();
    p->hwnd = mdi_client_;
    p->rect = p->view_rect = p->virtual_rect = p->frame_rect = {0, 0, 640, 480};
    p->flags.visible = true;
    layer().root = p.get();
    peers_.push_back(std::move(p));
    return *peers_.back();
  }

  // A visible window at `place` in its parent, linked at the front of the
  // parent's children.
  WindowPeer& add(WindowPeer* parent, IntRect place) {
    auto p = std::make_unique<WindowPeer>();
    WindowPeer& w = *p;
    const bool is_page = parent == root;
    const bool in_page = parent == page && page;
    desktop::CreateParams c;
    c.class_name = std::string(is_page ? kPageClass : kWindowClass);
    c.style = desktop::WS_VISIBLE | desktop::WS_CHILD | desktop::WS_CLIPSIBLINGS;
    c.x = place.left;
    c.y = place.top;
    c.width = place.width();
    c.height = place.height();
    c.parent = is_page || in_page ? mdi_client_ : parent->hwnd;
    if (in_page) {
      // Windows in the page lie over the page, in its coordinates.
      IntPoint at = desk.map_point(page->hwnd, mdi_client_, {place.left, place.top});
      c.x = at.x;
      c.y = at.y;
    }
    w.hwnd = desk.create_window(c);
    desk.set_prop(w.hwnd, kObjectProperty, reinterpret_cast<desktop::LParam>(&w));
    w.rect = w.view_rect = w.virtual_rect = w.frame_rect = {0, 0, place.width(), place.height()};
    w.flags.visible = true;
    w.parent = parent;
    w.next_sibling = parent->first_child;
    parent->first_child = &w;
    w.system = is_page ? root : in_page ? &w : parent->system;
    if (is_page) layer().page = &w;
    peers_.push_back(std::move(p));
    return w;
  }

  // Dispatches every waiting message, paints included.
  void run_until_idle() {
    desktop::Message m;
    for (int guard = 0; guard < 10000 && desk.peek_message(m, {}, 0, 0, desktop::PM_REMOVE); ++guard) {
      if (m.message == desktop::WM_QUIT) break;
      desk.dispatch_message(m);
    }
  }

  Color pixel_at(IntPoint screen) { return desk.framebuffer().color_at(screen.x, screen.y); }
  // The screen pixel at a point of a window.
  Color pixel_of(const WindowPeer& w, IntPoint p) { return pixel_at(desk.client_to_screen(w.hwnd, p)); }

  platform::VirtualClock clock;
  desktop::testing::FakeScreen screen{clock, {640, 480}};
  desktop::Desktop desk{screen, clock};
  WindowPeer* root = nullptr;
  WindowPeer* page = nullptr;

 private:
  Hwnd frame_, mdi_client_;
  std::vector<std::unique_ptr<WindowPeer>> peers_;
};

inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kGreen{0, 255, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kBlack{0, 0, 0};

inline graphics::Rgb16 rgb16(Color c) { return graphics::Rgb16::from_system(c); }

}  // namespace orvane::ui::testing
