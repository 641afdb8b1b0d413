// Paint: update regions merged and validated, erase, visible regions of
// overlapping siblings and clip-children, pixels on the framebuffer, scrolling.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

using raster::Region;

constexpr raster::Color kRed{255, 0, 0};
constexpr raster::Color kGreen{0, 255, 0};
constexpr raster::Color kBlue{0, 0, 255};

class PaintTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Test", 0, raster::colors::white);
    // Windows of this class fill their client area with the colour in their user data.
    WindowClass filler;
    filler.name = "Filler";
    filler.procedure = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      log.push_back({h, m, w, l});
      if (m != WM_PAINT) return d.def_window_proc(h, m, w, l);
      PaintScope paint(d, h);
      paint_rects.push_back(paint.paint().paint_rect);
      paint.dc().fill_rect(d.client_rect(h), raster::Brush::solid(raster::Color::from_rgb(static_cast<std::uint32_t>(d.user_data(h)))));
      return 0;
    };
    ASSERT_TRUE(desktop.register_class(std::move(filler)));
  }
  Hwnd filler(raster::Color c, IntRect r, Hwnd parent, std::uint32_t style = 0) {
    const Hwnd h = create("Filler", (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE | style, r, parent);
    desktop.set_user_data(h, static_cast<LParam>(c.rgb()));
    return h;
  }
  std::vector<IntRect> paint_rects;
};

TEST_F(PaintTest, UpdateRegionsMergeAndValidatedAreasAreNotRepainted) {
  const Hwnd w = create("Test", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  run_until_idle();
  log.clear();
  const IntRect a{10, 10, 20, 20}, b{50, 50, 60, 60};
  desktop.invalidate_rect(w, &a, false);
  desktop.invalidate_rect(w, &b, false);
  EXPECT_EQ(desktop.update_region(w), Region::from_rects(std::vector<IntRect>{a, b}));
  EXPECT_EQ(desktop.update_rect(w), (IntRect{10, 10, 60, 60}));
  desktop.validate_rect(w, &b);
  EXPECT_EQ(desktop.update_region(w), Region(a));
  desktop.validate_rect(w, &a);
  run_until_idle();
  EXPECT_EQ(count(w, WM_PAINT), 0u);
  // Without erase no WM_ERASEBKGND; with it, one inside BeginPaint.
  desktop.invalidate_rect(w, &a, false);
  run_until_idle();
  EXPECT_EQ(count(w, WM_PAINT), 1u);
  EXPECT_EQ(count(w, WM_ERASEBKGND), 0u);
  desktop.invalidate_rect(w, &a, true);
  run_until_idle();
  EXPECT_EQ(count(w, WM_PAINT), 2u);
  EXPECT_EQ(count(w, WM_ERASEBKGND), 1u);
  EXPECT_EQ(pixel({15, 15}), raster::colors::white);
}

TEST_F(PaintTest, OverlappingSiblingsClipEachOtherAndTheTopOneShows) {
  const Hwnd parent = filler(kBlue, {0, 0, 300, 300}, {}, WS_CLIPCHILDREN);
  const Hwnd bottom = filler(kRed, {10, 10, 110, 110}, parent);
  const Hwnd top = filler(kGreen, {60, 60, 160, 160}, parent);
  run_until_idle();
  EXPECT_EQ(desktop.visible_region(bottom, true),
            Region(IntRect{10, 10, 110, 110}).subtracted(Region(IntRect{60, 60, 160, 160})));
  EXPECT_EQ(desktop.visible_region(top, true), Region(IntRect{60, 60, 160, 160}));
  // Clip-children: the parent's visible region leaves its children out.
  EXPECT_FALSE(desktop.visible_region(parent, true).contains({20, 20}));
  EXPECT_TRUE(desktop.visible_region(parent, true).contains({200, 200}));
  EXPECT_EQ(pixel({80, 80}), kGreen);
  EXPECT_EQ(pixel({20, 20}), kRed);
  EXPECT_EQ(pixel({200, 200}), kBlue);
  // Repainting the bottom window does not draw over the top one.
  desktop.invalidate_rect(bottom, nullptr, false);
  run_until_idle();
  EXPECT_EQ(pixel({80, 80}), kGreen);
  // Raising the bottom window brings its hidden part back.
  desktop.set_window_pos(bottom, Desktop::kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  run_until_idle();
  EXPECT_EQ(pixel({80, 80}), kRed);
  EXPECT_EQ(pixel({150, 150}), kGreen);
  // Moving it away shows what was under it.
  desktop.move_window(bottom, 200, 200, 50, 50);
  run_until_idle();
  EXPECT_EQ(pixel({20, 20}), kBlue);
  EXPECT_EQ(pixel({80, 80}), kGreen);
  EXPECT_EQ(pixel({210, 210}), kRed);
}

TEST_F(PaintTest, WithoutClipChildrenTheParentPaintsUnderItsChildrenAndTheyRepaint) {
  const Hwnd parent = filler(kBlue, {0, 0, 300, 300}, {});
  const Hwnd child = filler(kRed, {10, 10, 60, 60}, parent);
  run_until_idle();
  EXPECT_TRUE(desktop.visible_region(parent, true).contains({20, 20}));
  desktop.invalidate_rect(parent, nullptr, false);
  EXPECT_FALSE(desktop.update_region(child).empty());
  run_until_idle();
  EXPECT_EQ(pixel({20, 20}), kRed);
}

TEST_F(PaintTest, HiddenAndObscuredWindowsDrawNothing) {
  const Hwnd a = filler(kRed, {0, 0, 100, 100}, {});
  run_until_idle();
  desktop.show_window(a, SW_HIDE);
  run_until_idle();
  EXPECT_NE(pixel({50, 50}), kRed);  // the desktop shows again
  raster::DeviceContext dc = desktop.get_dc(a);
  dc.fill_rect({0, 0, 100, 100}, raster::Brush::solid(kGreen));
  EXPECT_NE(pixel({50, 50}), kGreen);
}

TEST_F(PaintTest, ScrollWindowMovesPixelsAndInvalidatesWhatItUncovers) {
  const Hwnd w = filler(kBlue, {0, 0, 100, 100}, {});
  run_until_idle();
  {
    raster::DeviceContext dc = desktop.get_dc(w);
    dc.fill_rect({0, 50, 100, 60}, raster::Brush::solid(kRed));
  }
  const Region uncovered = desktop.scroll_window(w, 0, -20, nullptr, nullptr, SW_INVALIDATE);
  EXPECT_EQ(uncovered, Region(IntRect{0, 80, 100, 100}));
  EXPECT_EQ(pixel({50, 35}), kRed);
  EXPECT_EQ(pixel({50, 55}), kBlue);
  EXPECT_EQ(desktop.update_region(w), Region(IntRect{0, 80, 100, 100}));
}

TEST_F(PaintTest, ADirtyAreaIsPresentedWhenTheDesktopWaits) {
  filler(kRed, {0, 0, 100, 100}, {});
  Message m;
  while (desktop.get_message(m)) desktop.dispatch_message(m);  // until input ends
  EXPECT_EQ(m.message, WM_QUIT);
  ASSERT_GE(screen.presents, 1);
  bool covered = false;
  for (const auto& r : screen.presented) covered |= r.contains({50, 50});
  EXPECT_TRUE(covered);
}

TEST_F(PaintTest, NonClientAreaShowsTheCaptionColoursOfActivation) {
  const Hwnd a = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 100}, {}, 0, "A");
  run_until_idle();
  EXPECT_EQ(pixel({50, 8}), (raster::Color{0, 0, 128}));  // active caption
  const Hwnd b = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {300, 0, 500, 100}, {}, 0, "B");
  run_until_idle();
  EXPECT_EQ(desktop.active_window(), b);
  EXPECT_EQ(pixel({50, 8}), (raster::Color{128, 128, 128}));  // inactive now
  EXPECT_EQ(pixel({350, 8}), (raster::Color{0, 0, 128}));
  EXPECT_TRUE(desktop.is_window(a));
}

TEST_F(PaintTest, FramesHaveTheClassicBevelsAndBorders) {
  create("Test", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, {10, 10, 110, 110});
  create("Test", WS_POPUP | WS_VISIBLE | WS_BORDER, {200, 10, 300, 110});
  run_until_idle();
  EXPECT_EQ(pixel({10, 10}), (raster::Color{192, 192, 192}));   // outer top-left: face
  EXPECT_EQ(pixel({11, 11}), raster::colors::white);             // inner top-left: highlight
  EXPECT_EQ(pixel({109, 109}), raster::colors::black);           // outer bottom-right: black
  EXPECT_EQ(pixel({108, 108}), (raster::Color{128, 128, 128}));  // inner bottom-right: shadow
  EXPECT_EQ(pixel({12, 50}), (raster::Color{192, 192, 192}));    // the rest of the frame
  EXPECT_EQ(pixel({14, 50}), raster::colors::white);             // the client, erased by its class
  EXPECT_EQ(pixel({200, 50}), raster::colors::black);            // a thin border
  EXPECT_EQ(pixel({201, 50}), raster::colors::white);
}

TEST_F(PaintTest, AWindowDestroyedInsideItsOwnPaintIsHarmless) {
  const Hwnd w = create("Test", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (m == WM_PAINT && h == w) {
      PaintScope paint(d, h);
      d.destroy_window(h);
      paint.dc().fill_rect({0, 0, 100, 100}, raster::Brush::solid(kRed));
      return 0;
    }
    return std::nullopt;
  };
  run_until_idle();
  EXPECT_FALSE(desktop.is_window(w));
  Message m;
  EXPECT_FALSE(desktop.peek_message(m, {}, WM_PAINT, WM_PAINT, PM_REMOVE) && m.hwnd == w);
}

}  // namespace
}  // namespace orvane::desktop::testing
