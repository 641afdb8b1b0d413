// Painting on window peers linked by hand: visible rectangles, start
// windows, invalidation into dirty rectangles and update regions, offscreen
// chains with their composition and masks, the paint of a window in the page
// with backgrounds and click zones, the copy of buffers, scrolling.
#include <gtest/gtest.h>

#include "core/symbols.h"
#include "graphics/geometry_values.h"
#include "graphics/offscreen.h"
#include "paint_tree.h"
#include "platform/desktop/desktop.h"

namespace orvane::ui::testing {
namespace {

using PaintTree = PaintTreeTest;

TEST_F(PaintTree, VisibleRectanglesAreCutByEveryParentAndScrollingWindowsByTheParentsView) {
  WindowPeer& w = add(page, {10, 10, 210, 210});
  WindowPeer& a = add(&w, {150, 150, 250, 250});  // runs past w's right and bottom
  WindowPeer& b = add(&a, {-20, 30, 20, 60});     // runs past a's left
  EXPECT_EQ(visible_rect(w, true), (IntRect{0, 0, 200, 200}));
  EXPECT_EQ(visible_rect(a, true), (IntRect{0, 0, 50, 50}));
  EXPECT_EQ(visible_rect(b, true), (IntRect{20, 0, 40, 20}));

  // A window with the scroll flag is cut by its parent's view rect instead.
  a.view_rect = {0, 0, 20, 40};
  EXPECT_EQ(visible_rect(b, true), (IntRect{20, 0, 40, 20})) << "without the flag the rect counts";
  b.flags.scroll = true;
  EXPECT_EQ(visible_rect(b, true), (IntRect{20, 0, 40, 10}));

  // The windows of page level and buffer owners see their whole rect.
  a.offscreen.chain = std::make_unique<graphics::Offscreen>(graphics::OffscreenSpec::of(a.rect));
  EXPECT_EQ(visible_rect(a, true), a.rect);
  EXPECT_EQ(visible_rect(*page, true), page->rect);
}

TEST_F(PaintTree, TheStartWindowIsTheFrontMostWindowThatCoversTheAreaOpaquely) {
  WindowPeer& w = add(page, {0, 0, 300, 300});
  WindowPeer& back = add(&w, {0, 0, 200, 200});
  back.flags.erase = true;
  WindowPeer& front = add(&w, {50, 50, 100, 100});
  const IntRect inside_front{60, 60, 70, 70};
  front.flags.opaque = true;
  EXPECT_EQ(start_window(w, inside_front, std::nullopt), &front);
  // Partly covered by the front window: the search ends, w itself starts.
  EXPECT_EQ(start_window(w, {40, 40, 70, 70}, std::nullopt), &w);
  // Invisible and transparent windows take no part.
  front.flags.visible = false;
  EXPECT_EQ(start_window(w, inside_front, std::nullopt), &back);
  front.flags.visible = true;
  front.flags.transparent = true;
  EXPECT_EQ(start_window(w, inside_front, std::nullopt), &back);
  // Outside w: none.
  EXPECT_EQ(start_window(w, {290, 290, 310, 310}, std::nullopt), nullptr);
  // A buffer owner is not searched into; it starts when it copies plainly.
  back.offscreen.chain = std::make_unique<graphics::Offscreen>(graphics::OffscreenSpec::of(back.rect));
  EXPECT_EQ(start_window(w, {10, 10, 20, 20}, std::nullopt), &back);
  back.transfer_mode = graphics::kTransparentMode;
  EXPECT_EQ(start_window(w, {10, 10, 20, 20}, std::nullopt), &w);
}

// A window in front that covers the area without painting it whole must be
// painted over the opaque one behind it, so painting starts above both.
TEST_F(PaintTree, AWindowInFrontThatDoesNotPaintOpaquelyIsNotLostBehindAnOpaqueOne) {
  WindowPeer& w = add(page, {0, 0, 300, 300});
  w.flags.erase = true;
  w.color = rgb16(kRed);
  WindowPeer& back = add(&w, {0, 0, 200, 200});
  back.flags.erase = true;
  back.color = rgb16(kBlue);
  WindowPeer& front = add(&w, {0, 0, 200, 200});
  WindowPeer& mark = add(&front, {25, 25, 45, 45});  // what the front window shows
  mark.flags.erase = true;
  mark.color = rgb16(kGreen);
  const IntRect area{20, 20, 50, 50};
  EXPECT_EQ(start_window(w, area, std::nullopt), &w);
  run_until_idle();
  EXPECT_EQ(pixel_of(mark, {10, 10}), kGreen);
  invalidate_rect(back, area, true);
  run_until_idle();
  EXPECT_EQ(pixel_of(mark, {10, 10}), kGreen);
  EXPECT_EQ(pixel_of(back, {100, 100}), kBlue);
}

TEST_F(PaintTree, InvalidationReachesTheSystemWindowAndTheDirtyRectanglesOfEveryBufferAbove) {
  WindowPeer& outer = add(page, {20, 20, 320, 320});
  WindowPeer& inner = add(&outer, {10, 10, 210, 210});
  WindowPeer& leaf = add(&inner, {5, 5, 105, 105});
  set_offscreen_levels(outer, 2);
  set_offscreen_levels(inner, 1);
  for (graphics::Offscreen* o : {outer.offscreen.level(1), outer.offscreen.level(2), inner.offscreen.level(1)})
    o->port().set_dirty_rect({});
  desk.validate_rect(outer.hwnd, nullptr);

  invalidate_rect(leaf, {0, 0, 10, 10}, true);
  EXPECT_EQ(inner.offscreen.level(1)->port().dirty_rect(), (IntRect{5, 5, 15, 15}));
  EXPECT_EQ(outer.offscreen.level(1)->port().dirty_rect(), (IntRect{15, 15, 25, 25}));
  EXPECT_EQ(outer.offscreen.level(2)->port().dirty_rect(), (IntRect{15, 15, 25, 25}));
  EXPECT_EQ(desk.update_rect(outer.hwnd), (IntRect{15, 15, 25, 25}));
  invalidate_rect(leaf, {90, 90, 200, 200}, true);  // clipped to what of leaf is visible
  EXPECT_EQ(inner.offscreen.level(1)->port().dirty_rect(), (IntRect{5, 5, 105, 105}));

  // A transparent window invalidates nothing unless it is in edit mode.
  for (graphics::Offscreen* o : {outer.offscreen.level(1), inner.offscreen.level(1)}) o->port().set_dirty_rect({});
  leaf.flags.transparent = true;
  invalidate_rect(leaf, {0, 0, 10, 10}, true);
  EXPECT_TRUE(inner.offscreen.level(1)->port().dirty_rect().empty());
  leaf.flags.edit = true;
  invalidate_rect(leaf, {0, 0, 10, 10}, true);
  EXPECT_FALSE(inner.offscreen.level(1)->port().dirty_rect().empty());

  // Hidden: the buffers remember, the screen is left alone.
  desk.validate_rect(outer.hwnd, nullptr);
  outer.flags.visible = false;
  invalidate_rect(leaf, {50, 50, 60, 60}, true);
  EXPECT_EQ(inner.offscreen.level(1)->port().dirty_rect(), (IntRect{5, 5, 65, 65}));
  EXPECT_TRUE(desk.update_rect(outer.hwnd).empty());
}

TEST_F(PaintTree, ThePageInvalidatesTheChildHoldingTheAreaWholeOrEverything) {
  WindowPeer& left = add(page, {0, 0, 100, 100});
  WindowPeer& right = add(page, {200, 0, 300, 100});
  run_until_idle();
  invalidate_rect(*page, {210, 10, 220, 20}, true);
  EXPECT_EQ(desk.update_rect(right.hwnd), (IntRect{10, 10, 20, 20}));
  EXPECT_TRUE(desk.update_rect(left.hwnd).empty());
  run_until_idle();
  invalidate_rect(*page, {90, 10, 120, 20}, true);  // partly over left
  EXPECT_EQ(desk.update_rect(left.hwnd), left.rect);
  EXPECT_EQ(desk.update_rect(right.hwnd), right.rect);
}

// A chain of n buffers runs from level n to level 1: each level starts from
// the one before it and takes the windows of its own level; level 1 holds
// the composed image.
TEST_F(PaintTree, ChainLevelsStartFromThePreviousLevelAndTakeTheirOwnWindows) {
  WindowPeer& owner = add(page, {0, 0, 100, 100});
  owner.flags.erase = true;
  owner.color = rgb16(kRed);
  owner.offscreen_level = 2;
  WindowPeer& base = add(&owner, {10, 10, 30, 30});
  base.flags.erase = true;
  base.color = rgb16(kBlue);
  base.offscreen_level = 2;
  WindowPeer& sprite = add(&owner, {50, 50, 70, 70});
  sprite.flags.erase = true;
  sprite.color = rgb16(kGreen);
  set_offscreen_levels(owner, 2);
  ASSERT_EQ(owner.offscreen.count(), 2);
  ASSERT_EQ(owner.offscreen.chain->level(), 2);
  EXPECT_EQ(current_buffer(owner), owner.offscreen.level(1));
  update_offscreen(owner);

  const raster::Surface& second = owner.offscreen.level(2)->surface();
  const raster::Surface& first = owner.offscreen.level(1)->surface();
  EXPECT_EQ(second.color_at(5, 5), kRed);
  EXPECT_EQ(second.color_at(15, 15), kBlue);
  EXPECT_EQ(second.color_at(55, 55), kRed) << "the level-1 window stays out of level 2";
  EXPECT_EQ(first.color_at(5, 5), kRed) << "level 1 starts from level 2";
  EXPECT_EQ(first.color_at(15, 15), kBlue);
  EXPECT_EQ(first.color_at(55, 55), kGreen);
  EXPECT_TRUE(owner.offscreen.level(1)->port().dirty_rect().empty());
  EXPECT_TRUE(owner.offscreen.level(2)->port().dirty_rect().empty());
  EXPECT_TRUE(owner.flags.recomposed);

  // A change in the base reaches the composed level at the next composition.
  base.color = rgb16(kBlack);
  invalidate_window(base);
  update_offscreen(owner);
  EXPECT_EQ(first.color_at(15, 15), kBlack);
  EXPECT_EQ(first.color_at(55, 55), kGreen);
}

TEST_F(PaintTree, ABufferThatDoesNotPaintOpaquelyGetsAMaskOfItsNonWhitePixels) {
  WindowPeer& owner = add(page, {0, 0, 40, 40});
  owner.color = rgb16(kWhite);
  WindowPeer& spot = add(&owner, {10, 10, 20, 20});
  spot.flags.erase = true;
  spot.color = rgb16(kBlue);
  set_offscreen_levels(owner, 1);
  update_offscreen(owner);
  const auto& mask = owner.offscreen.level(1)->mask();
  ASSERT_TRUE(mask.has_value());
  EXPECT_EQ(mask->pixel(15, 15), 1u);
  EXPECT_EQ(mask->pixel(5, 5), 0u);

  // An opaque owner needs none: a fresh buffer stays without a mask.
  owner.flags.opaque = true;
  set_offscreen_levels(owner, 1);
  update_offscreen(owner);
  EXPECT_FALSE(owner.offscreen.level(1)->mask().has_value());
}

TEST_F(PaintTree, BuffersTakeTheDepthOfTheGlobalAndAreRemadeAtANewSize) {
  set_symbol_global(intern("offscreen-depth"), make_fixnum(8));
  WindowPeer& w = add(page, {0, 0, 30, 20});
  set_offscreen_levels(w, 3);
  EXPECT_EQ(w.offscreen.count(), 3);
  EXPECT_EQ(w.offscreen.level(3)->depth(), 8);
  w.rect = {0, 0, 50, 60};
  w.size_update(30, 20);
  EXPECT_EQ(w.offscreen.count(), 3);
  EXPECT_EQ(w.offscreen.level(1)->frame(), (IntRect{0, 0, 50, 60}));
  set_offscreen_levels(w, 0);
  EXPECT_EQ(w.offscreen.count(), 0);
  EXPECT_EQ(w.drawing_buffer(), nullptr);
}

TEST_F(PaintTree, PaintingFillsBackgroundsBackToFrontAndHonoursClickZones) {
  WindowPeer& w = add(page, {100, 100, 300, 300});
  w.flags.erase = true;
  w.color = rgb16(kRed);
  WindowPeer& oval = add(&w, {0, 0, 100, 100});
  oval.flags.erase = true;
  oval.color = rgb16(kBlue);
  oval.click_zone = make_rect({0, 0, 100, 100});
  WindowPeer& line = add(&w, {100, 100, 200, 200});
  line.flags.erase = true;
  line.color = rgb16(kGreen);
  line.click_zone = orvane::cons(make_point(0, 0), orvane::cons(make_point(99, 99), kNil));
  WindowPeer& plain = add(&w, {150, 0, 200, 50});
  plain.flags.erase = true;
  plain.color = rgb16(kBlack);
  WindowPeer& clear = add(&w, {0, 150, 50, 200});  // no erase flag: draws nothing of its own
  clear.color = rgb16(kBlue);
  invalidate_window(w);
  run_until_idle();

  EXPECT_EQ(pixel_of(w, {120, 20}), kRed);
  EXPECT_EQ(pixel_of(oval, {50, 50}), kBlue) << "the oval of a rectangle zone is filled";
  EXPECT_EQ(pixel_of(oval, {2, 2}), kRed) << "outside the oval the parent shows";
  EXPECT_EQ(pixel_of(line, {50, 50}), kRed) << "a line zone draws no background";
  EXPECT_EQ(pixel_of(plain, {10, 10}), kBlack);
  EXPECT_EQ(pixel_of(clear, {10, 10}), kRed);
  EXPECT_TRUE(desk.update_rect(w.hwnd).empty());
}

TEST_F(PaintTree, ABufferIsCopiedToTheScreenDirectlyUnlessItWasJustRecomposed) {
  WindowPeer& w = add(page, {0, 0, 50, 50});
  w.color = rgb16(kBlue);
  w.flags.opaque = true;
  run_until_idle();
  set_offscreen_levels(w, 1);
  ASSERT_TRUE(w.flags.recomposed);
  run_until_idle();
  // Just recomposed: the copy is left to `copy-offscreen`, which this
  // window's object (it has none) does not do; the mark is cleared.
  EXPECT_NE(pixel_of(w, {10, 10}), kBlue);
  EXPECT_FALSE(w.flags.recomposed);
  // The next paint without new drawing copies the buffer itself.
  desk.invalidate_rect(w.hwnd, nullptr, false);
  run_until_idle();
  EXPECT_EQ(pixel_of(w, {10, 10}), kBlue);

  // New drawing recomposes; once scrolled, the copy is always direct.
  w.color = rgb16(kGreen);
  invalidate_window(w);
  run_until_idle();
  EXPECT_EQ(pixel_of(w, {10, 10}), kBlue);
  w.color = rgb16(kRed);
  w.flags.scrolled = true;
  invalidate_window(w);
  run_until_idle();
  EXPECT_EQ(pixel_of(w, {10, 10}), kRed);
}

TEST_F(PaintTree, ScrollingShiftsTheViewsPixelsAndFillsWhatTheyUncover) {
  WindowPeer& w = add(page, {0, 0, 100, 100});
  w.flags.erase = true;
  w.flags.scroll = true;
  w.color = rgb16(kWhite);
  run_until_idle();
  {
    raster::DeviceContext dc = screen_context(w);
    dc.fill_rect({0, 40, 100, 50}, raster::Brush::solid(kBlue));
  }
  w.pixel_scroll(0, 10, true);
  EXPECT_EQ(w.scroll_offset, (IntPoint{0, 10}));
  // The update was painted at once: the band moved up by 10 and the bottom
  // was filled with the background.
  EXPECT_EQ(pixel_of(w, {50, 35}), kBlue);
  EXPECT_EQ(pixel_of(w, {50, 45}), kWhite);
  EXPECT_EQ(pixel_of(w, {50, 95}), kWhite);
  EXPECT_TRUE(desk.update_rect(w.hwnd).empty());

  // Without the scroll flag the view is repainted instead of shifted.
  w.flags.scroll = false;
  w.color = rgb16(kGreen);
  w.pixel_scroll(0, 10, true);
  EXPECT_EQ(desk.update_rect(w.hwnd), w.view_rect);
  w.pixel_scroll(0, 0, true);
  EXPECT_EQ(w.scroll_offset, (IntPoint{0, 20}));
}

TEST_F(PaintTree, DrawingOnTheScreenFollowsTheScrollOffset) {
  WindowPeer& w = add(page, {0, 0, 100, 100});
  w.scroll_offset = {0, 30};
  raster::DeviceContext dc = screen_context(w);
  dc.fill_rect({0, 40, 10, 50}, raster::Brush::solid(kRed));
  EXPECT_EQ(pixel_of(w, {5, 15}), kRed);
  EXPECT_NE(pixel_of(w, {5, 45}), kRed);
}

// While an animation waits, a left press inside the image stops it; other
// presses are taken from the queue and dropped.
TEST_F(PaintTree, APressInsideTheMovingImageStopsAnAnimation) {
  WindowPeer& w = add(page, {100, 100, 300, 300});
  run_until_idle();
  const IntRect image{40, 40, 60, 60};
  using platform::InputEvent;
  screen.mouse(InputEvent::Kind::mouse_down, {110, 110}, platform::MouseButton::right);
  screen.mouse(InputEvent::Kind::mouse_up, {110, 110}, platform::MouseButton::right);
  screen.mouse(InputEvent::Kind::mouse_down, {120, 120});  // outside the image
  screen.mouse(InputEvent::Kind::mouse_up, {120, 120});
  EXPECT_EQ(w.take_stopping_press(image, kNil), std::nullopt);
  screen.mouse(InputEvent::Kind::mouse_down, {150, 155});
  auto press = w.take_stopping_press(image, kNil);
  ASSERT_TRUE(press.has_value());
  EXPECT_EQ(*press, (IntPoint{50, 55}));
}

}  // namespace
}  // namespace orvane::ui::testing
