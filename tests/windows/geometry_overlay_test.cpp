// Outlines drawn over the page: the overlay context covers the root window
// and the windows in it but not the windows above the frame, and the XOR
// outline and the gray region border leave no trace when drawn twice.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/desktop_fixture.h"
#include "ui/root_overlay.h"
#include "windows/geometry_screen.h"
#include "ui/window_layer.h"

namespace orvane::ui {
namespace {

using desktop::Hwnd;
using raster::Color;
using raster::IntPoint;
using raster::IntRect;
using raster::Region;
using namespace desktop;

class Overlay : public desktop::testing::DesktopTest {
 protected:
  Hwnd frame, client, document, alert;

  void SetUp() override {
    register_logging_class("Plain");
    frame = create("Plain", WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 640, 480});
    client = create("Plain", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, {20, 30, 420, 330}, frame);
    document = create("Plain", WS_CHILD | WS_VISIBLE, {10, 10, 110, 110}, client);
    alert = create("Plain", WS_VISIBLE, {300, 200, 400, 300});
    attach_window_layer(desktop, frame, client);
    run_until_idle();
    // Something other than plain white under the outlines.
    raster::DeviceContext dc = desktop.get_dc({});
    for (int x = 0; x < 640; x += 7) dc.fill_rect({x, 0, x + 3, 480}, raster::Brush::solid({200, 30, 90}));
  }
  void TearDown() override { detach_window_layer(); }

  std::vector<Color> snapshot() { return testing::framebuffer_pixels(desktop.framebuffer()); }
  // The screen point of a root (client) point.
  IntPoint on_screen(IntPoint p) { return desktop.client_to_screen(client, p); }
};

TEST_F(Overlay, XorOutlineCoversWindowsInTheRootButNotThoseAboveTheFrame) {
  std::vector<Color> before = snapshot();
  IntRect outline{0, 0, 340, 250};  // crosses the document and runs under the alert
  {
    raster::DeviceContext dc = root_overlay_context();
    draw_xor_outline(dc, outline);
  }
  // Drawn over the document, which lies in the root window.
  IntPoint on_document = on_screen({40, 0});
  IntPoint next = on_screen({41, 0});
  EXPECT_NE(pixel(on_document), before[on_document.y * 640 + on_document.x]);
  // Dotted: every other pixel along the edge.
  EXPECT_EQ(pixel(next), before[next.y * 640 + next.x]);
  // Not drawn on the alert above the frame.
  IntPoint under_alert = on_screen({339, 200});
  ASSERT_TRUE((IntRect{300, 200, 400, 300}.contains(under_alert)));
  EXPECT_EQ(pixel(under_alert), before[under_alert.y * 640 + under_alert.x]);
  // Nothing outside the root window.
  IntPoint outside = on_screen({-1, -1});
  EXPECT_EQ(pixel(outside), before[outside.y * 640 + outside.x]);

  {
    raster::DeviceContext dc = root_overlay_context();
    draw_xor_outline(dc, outline);
  }
  EXPECT_EQ(snapshot(), before);
}

TEST_F(Overlay, OverlayMarksWhatItDrawsForThePresent) {
  screen.presented.clear();
  {
    raster::DeviceContext dc = root_overlay_context();
    draw_xor_outline(dc, {5, 5, 50, 50});
  }
  desktop.present();
  ASSERT_FALSE(screen.presented.empty());
  IntPoint corner = on_screen({5, 5});
  bool covered = false;
  for (const IntRect& r : screen.presented) covered = covered || r.contains(corner);
  EXPECT_TRUE(covered);
}

TEST(RegionBorder, IsTheBandInsideTheEdges) {
  Region square(IntRect{0, 0, 10, 10});
  Region border = region_border(square, 3, 3);
  EXPECT_TRUE(border.contains({0, 0}));
  EXPECT_TRUE(border.contains({2, 5}));
  EXPECT_FALSE(border.contains({3, 5}));
  EXPECT_TRUE(border.contains({7, 5}));
  EXPECT_FALSE(border.contains({6, 6}));
  // An L shape keeps a band along its inner corner too.
  Region l_shape = Region(IntRect{0, 0, 20, 10}).united(Region(IntRect{0, 10, 10, 20}));
  Region l_border = region_border(l_shape, 3, 3);
  EXPECT_TRUE(l_border.contains({15, 9}));
  EXPECT_TRUE(l_border.contains({9, 15}));
  EXPECT_FALSE(l_border.contains({5, 5}));
}

TEST_F(Overlay, GrayBorderInvertsHalfItsBandAndUndoesItself) {
  std::vector<Color> before = snapshot();
  Region shape = Region(IntRect{50, 40, 90, 70});
  {
    raster::DeviceContext dc = root_overlay_context();
    draw_gray_border(dc, shape);
  }
  int changed = 0;
  for (int x = 50; x < 90; ++x) {
    IntPoint p = on_screen({x, 40});
    if (pixel(p) != before[p.y * 640 + p.x]) ++changed;
  }
  EXPECT_EQ(changed, 20);  // the gray pattern: every other pixel
  IntPoint inside = on_screen({70, 55});
  EXPECT_EQ(pixel(inside), before[inside.y * 640 + inside.x]);
  {
    raster::DeviceContext dc = root_overlay_context();
    draw_gray_border(dc, shape);
  }
  EXPECT_EQ(snapshot(), before);
}

}  // namespace
}  // namespace orvane::ui
