// One window: its place in the tree, its geometry, its state. Windows live
// in the window table; everything else names them by handle.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop/message.h"
#include "platform/desktop/scroll_bar.h"
#include "platform/desktop/window_class.h"
#include "platform/raster/region.h"

namespace orvane::desktop {

class Window {
 public:
  Hwnd handle;
  const WindowClass* window_class = nullptr;
  WindowProc procedure;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  int id = 0;
  LParam user_data = 0;

  // Geometry, both in the parent's client coordinates (the framebuffer for
  // top-level windows).
  raster::IntRect rect;    // the whole window
  raster::IntRect client;  // its client area, inside rect
  raster::IntRect restored_rect;  // where a maximised window goes back to

  Hwnd parent;
  Hwnd owner;
  std::vector<Hwnd> children;  // front (top of the z-order) to back

  std::string text;
  std::vector<std::pair<std::string, LParam>> properties;

  // What needs repainting, in client coordinates.
  raster::Region update;
  bool erase_pending = false;    // WM_ERASEBKGND is due at the next BeginPaint
  bool frame_pending = false;    // the non-client area needs WM_NCPAINT
  bool destroying = false;       // WM_DESTROY has been sent
  bool caption_active = false;   // the caption shows the active colours
  bool close_box_pressed = false;  // drawn pushed in while the mouse holds it
  bool created = false;          // WM_NCCREATE has been answered

  // The visible region, cached until the desktop's geometry changes.
  mutable std::uint64_t visible_epoch = 0;
  mutable raster::Region visible_whole;
  mutable raster::Region visible_client;

  ScrollBar horizontal{false};
  ScrollBar vertical{true};

  bool visible() const { return (style & WS_VISIBLE) != 0; }
  bool enabled() const { return (style & WS_DISABLED) == 0; }
  bool is_child() const { return (style & WS_CHILD) != 0; }
  bool maximised() const { return (style & WS_MAXIMIZE) != 0; }
  bool topmost() const { return (ex_style & WS_EX_TOPMOST) != 0; }
  // The client area in the window's own coordinates (0, 0 = the window's top-left).
  raster::IntRect client_in_window() const {
    return client.translated(-rect.left, -rect.top);
  }
};

}  // namespace orvane::desktop
