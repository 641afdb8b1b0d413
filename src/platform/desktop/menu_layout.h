// Where the items of a menu bar and of a pop-up menu go, and how they are
// painted in the classic look.
#pragma once

#include <vector>

#include "platform/desktop/menu.h"

namespace orvane::desktop {

// The bar's items in rows; rectangles relative to the bar's top-left.
struct BarLayout {
  std::vector<raster::IntRect> items;
  int height = 0;
};
BarLayout layout_bar(const std::vector<MenuItem>& items, int width);

// A pop-up's size and its items' rectangles, relative to its top-left. A
// pop-up taller than `max_height` goes on in further columns to the right,
// as Win32 wraps a menu that the screen cannot hold.
struct PopupLayout {
  raster::IntSize size;
  std::vector<raster::IntRect> items;
};
PopupLayout layout_popup(const std::vector<MenuItem>& items, int max_height = 0x7fff);

void paint_bar(raster::DeviceContext& dc, const raster::IntRect& bar, const std::vector<MenuItem>& items,
               const BarLayout& layout, int selected);
void paint_popup(raster::DeviceContext& dc, const std::vector<MenuItem>& items, const PopupLayout& layout,
                 int selected);

}  // namespace orvane::desktop
