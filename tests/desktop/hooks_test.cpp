// What the desktop is given: a frame's menu bar, caption text, the paint
// hook; and what the screen tells it: a new framebuffer size, a quit.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

using Kind = InputEvent::Kind;

class FakeMenuBar final : public MenuBarHook {
 public:
  int height(int) const override { return 20; }
  void paint(raster::DeviceContext& dc, const IntRect& bar) override {
    ++paints;
    dc.fill_rect(bar, raster::Brush::solid({192, 192, 192}));
  }
  void mouse_down(Desktop&, Hwnd, IntPoint at) override { presses.push_back(at); }
  void key_menu(Desktop&, Hwnd, int character) override { keys.push_back(character); }
  int paints = 0;
  std::vector<IntPoint> presses;
  std::vector<int> keys;
};

class CountingTextPainter final : public TextPainter {
 public:
  void draw_text(raster::DeviceContext&, IntPoint, std::string_view text) const override {
    drawn.emplace_back(text);
  }
  mutable std::vector<std::string> drawn;
};

class RecordingPaintHook final : public PaintHook {
 public:
  void before_paint(Desktop&, Hwnd) override { events.push_back('['); }
  void after_paint(Desktop&, Hwnd) override { events.push_back(']'); }
  std::string events;
};

class HooksTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Test");
    frame = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100}, {}, 0, "Frame");
    desktop.set_host_frame(frame);
  }
  Hwnd frame;
};

TEST_F(HooksTest, AMenuBarTakesTheFramesTopRowsAndItsInput) {
  FakeMenuBar bar;
  desktop.set_menu_bar(frame, &bar);
  EXPECT_EQ(desktop.client_rect(frame), (IntRect{0, 0, 640, 460}));
  EXPECT_EQ(desktop.client_to_screen(frame, {0, 0}), (IntPoint{0, 20}));
  run_until_idle();
  EXPECT_GE(bar.paints, 1);
  EXPECT_EQ(desktop.send_message(frame, WM_NCHITTEST, 0, lparam_of({30, 10})), HTMENU);
  screen.click({30, 10});
  screen.key(Kind::key_down, VK_MENU, {false, false, true});
  screen.key(Kind::key_up, VK_MENU);
  screen.key(Kind::key_down, 'F', {false, false, true});
  run_until_idle();
  EXPECT_EQ(bar.presses, (std::vector<IntPoint>{{30, 10}}));
  EXPECT_EQ(bar.keys, (std::vector<int>{0, 'f'}));
  desktop.set_menu_bar(frame, nullptr);
  EXPECT_EQ(desktop.client_rect(frame), (IntRect{0, 0, 640, 480}));
}

TEST_F(HooksTest, CaptionsDrawTheirTextThroughTheTextPainter) {
  CountingTextPainter painter;
  desktop.set_text_painter(&painter);
  create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 10, 200, 100}, {}, 0, "Caption");
  run_until_idle();
  EXPECT_NE(std::find(painter.drawn.begin(), painter.drawn.end(), "Caption"), painter.drawn.end());
  desktop.set_text_painter(nullptr);
}

TEST_F(HooksTest, ThePaintHookIsToldAroundPaintsAndScrolls) {
  RecordingPaintHook hook;
  desktop.set_paint_hook(&hook);
  run_until_idle();
  hook.events.clear();
  desktop.invalidate_rect(frame, nullptr, true);
  run_until_idle();
  desktop.scroll_window(frame, 0, 5, nullptr, nullptr, 0);
  EXPECT_EQ(hook.events, "[][]");
  desktop.set_paint_hook(nullptr);
}

TEST_F(HooksTest, ANewFramebufferSizeResizesTheHostFrame) {
  screen.set_size({800, 600});
  InputEvent resized;
  resized.kind = Kind::resized;
  screen.add(resized);
  log.clear();
  run_until_idle();
  EXPECT_EQ(desktop.framebuffer().width(), 800);
  EXPECT_EQ(desktop.framebuffer().height(), 600);
  EXPECT_EQ(desktop.window_rect(frame), (IntRect{0, 0, 800, 600}));
  EXPECT_EQ(count(frame, WM_SIZE), 1u);
  EXPECT_GE(count(frame, WM_PAINT), 1u);  // everything shows again
  // A quit from the screen ends the run in order.
  InputEvent quit;
  quit.kind = Kind::quit;
  screen.add(quit);
  Message m;
  EXPECT_FALSE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_QUIT);
}

}  // namespace
}  // namespace orvane::desktop::testing
