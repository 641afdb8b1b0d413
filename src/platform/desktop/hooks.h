// What the desktop is given by the pieces built on it: the text of captions
// (fonts), the frame's menu bar (menus). Each has a plain default so the
// desktop works alone.
#pragma once

#include <string_view>

#include "platform/desktop/handle.h"
#include "platform/raster/device_context.h"

namespace orvane::desktop {

class Desktop;

// Draws caption text. The default draws nothing and measures 7 pixels a
// character; the desktop's fonts plug in their own.
class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual int text_width(std::string_view text) const { return 7 * static_cast<int>(text.size()); }
  virtual int text_height() const { return 13; }
  // Draws text (Windows-1252) with its cell's top-left at `top_left`
  // (logical coordinates of dc), transparently, in dc's text colour.
  virtual void draw_text(raster::DeviceContext& dc, raster::IntPoint top_left,
                         std::string_view text) const {
    (void)dc; (void)top_left; (void)text;
  }
};

// Told around every paint and scroll of a window's client area, so
// something drawn over windows by XOR (the caret) can step aside.
class PaintHook {
 public:
  virtual ~PaintHook() = default;
  virtual void before_paint(Desktop& desktop, Hwnd hwnd) = 0;
  virtual void after_paint(Desktop& desktop, Hwnd hwnd) = 0;
};

// A frame's menu bar: it takes the top rows of the frame's non-client area.
class MenuBarHook {
 public:
  virtual ~MenuBarHook() = default;
  // The bar's height for a frame of that width; 0 hides it.
  virtual int height(int frame_width) const = 0;
  // Paints the bar into `bar` (logical coordinates of dc, a window DC of the frame).
  virtual void paint(raster::DeviceContext& dc, const raster::IntRect& bar) = 0;
  // A button press on the bar (framebuffer coordinates); typically runs the
  // menu's modal loop through the desktop's queue.
  virtual void mouse_down(Desktop& desktop, Hwnd frame, raster::IntPoint screen_point) = 0;
  // The menu key (Alt or F10 alone, or Alt with a character): WM_SYSCOMMAND
  // SC_KEYMENU reaches the frame's default procedure, which calls this.
  virtual void key_menu(Desktop& desktop, Hwnd frame, int character) = 0;
};

}  // namespace orvane::desktop
