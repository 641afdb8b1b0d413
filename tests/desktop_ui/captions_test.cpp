// The desktop's captions take their text from the system font once the
// user-interface pieces are made.
#include <gtest/gtest.h>

#include "desktop_ui/ui_fixture.h"

namespace orvane::desktop::testing {
namespace {

TEST_F(UiTest, CaptionsAreWrittenInTheSystemFont) {
  CreateParams p;
  p.class_name = "TestFrame";
  p.text = "Hello";
  p.style = WS_CHILD | WS_VISIBLE | WS_CAPTION;
  p.x = 50;
  p.y = 50;
  p.width = 200;
  p.height = 100;
  p.parent = frame;
  const Hwnd window = desktop.create_window(p);
  ASSERT_TRUE(window);
  settle();
  const fonts::Font* font = system_font();
  ASSERT_TRUE(font);
  EXPECT_EQ(desktop.text_painter().text_width("Hello"), font->text_width("Hello"));
  EXPECT_EQ(desktop.text_painter().text_height(), font->metrics().line_height);
  // Some pixel of the caption band shows the caption text's colour.
  const IntRect r = desktop.window_rect(window);
  const raster::Color band = desktop.framebuffer().color_at(r.right - 30, r.top + 6);
  int text = 0;
  for (int y = r.top + 3; y < r.top + 20; ++y)
    for (int x = r.left + 3; x < r.left + 3 + font->text_width("Hello"); ++x)
      text += desktop.framebuffer().color_at(x, y) != band;
  EXPECT_GT(text, 10);
}

}  // namespace
}  // namespace orvane::desktop::testing
