#include "platform/desktop/menu_layout.h"

#include <algorithm>

#include "platform/desktop/ui_look.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

namespace {

using raster::IntPoint;
using raster::IntRect;

constexpr int kBarPadding = 6;      // each side of a bar item's label
constexpr int kPopupBorder = 3;     // the raised edge and one ring of face
constexpr int kCheckColumn = 18;    // left of the labels: check marks
constexpr int kArrowColumn = 18;    // right of the labels: sub-menu arrows
constexpr int kAcceleratorGap = 18; // between a label and its accelerator
constexpr int kSeparatorHeight = 8;

int line_height() {
  const fonts::Font* font = dialog_font();
  return font ? font->metrics().line_height : 13;
}
int bar_row_height() { return line_height() + 6; }
int popup_item_height() { return line_height() + 5; }

int width_of(std::string_view label) {
  const fonts::Font* font = dialog_font();
  return font ? label_width(*font, label) : 7 * static_cast<int>(label.size());
}

// The label and the accelerator text of an item's text.
std::pair<std::string_view, std::string_view> split_text(const std::string& text) {
  const auto tab = text.find('\t');
  if (tab == std::string::npos) return {text, {}};
  return {std::string_view(text).substr(0, tab), std::string_view(text).substr(tab + 1)};
}

void draw_item_label(raster::DeviceContext& dc, IntPoint at, std::string_view label, bool selected,
                     bool disabled) {
  const fonts::Font* font = dialog_font();
  if (!font) return;
  if (disabled && !selected)
    draw_embossed_label(dc, *font, at, label);
  else
    draw_label(dc, *font, at, label, disabled ? look::shadow : selected ? look::selection_text : look::text);
}

}  // namespace

BarLayout layout_bar(const std::vector<MenuItem>& items, int width) {
  BarLayout layout;
  const int row = bar_row_height();
  int x = 0, y = 0;
  for (const MenuItem& item : items) {
    const int w = item.separator() ? kBarPadding : width_of(split_text(item.text).first) + 2 * kBarPadding;
    if (x > 0 && x + w > width) {
      x = 0;
      y += row;
    }
    layout.items.push_back({x, y, x + w, y + row});
    x += w;
  }
  layout.height = y + row;
  return layout;
}

PopupLayout layout_popup(const std::vector<MenuItem>& items, int max_height) {
  PopupLayout layout;
  int label = 0, accelerator = 0;
  for (const MenuItem& item : items) {
    auto [text, keys] = split_text(item.text);
    label = std::max(label, width_of(text));
    accelerator = std::max(accelerator, width_of(keys));
  }
  const int inner = kCheckColumn + label + (accelerator > 0 ? kAcceleratorGap + accelerator : 0) + kArrowColumn;
  const int column = std::max(inner, 60);
  int x = kPopupBorder, y = kPopupBorder, bottom = y;
  for (const MenuItem& item : items) {
    const int h = item.separator() ? kSeparatorHeight : popup_item_height();
    if (y > kPopupBorder && y + h + kPopupBorder > max_height) {
      x += column;
      y = kPopupBorder;
    }
    layout.items.push_back({x, y, x + column, y + h});
    y += h;
    bottom = std::max(bottom, y);
  }
  layout.size = {x + column + kPopupBorder, bottom + kPopupBorder};
  return layout;
}

void paint_bar(raster::DeviceContext& dc, const IntRect& bar, const std::vector<MenuItem>& items,
               const BarLayout& layout, int selected) {
  look::fill(dc, bar, look::face);
  for (std::size_t i = 0; i < items.size() && i < layout.items.size(); ++i) {
    const MenuItem& item = items[i];
    if (item.separator()) continue;
    const IntRect r = layout.items[i].translated(bar.left, bar.top);
    const bool is_selected = static_cast<int>(i) == selected;
    if (is_selected) look::fill(dc, r, look::selection);
    draw_item_label(dc, {r.left + kBarPadding, r.top + 3}, split_text(item.text).first, is_selected,
                    item.disabled());
  }
}

void paint_popup(raster::DeviceContext& dc, const std::vector<MenuItem>& items, const PopupLayout& layout,
                 int selected) {
  const IntRect all{0, 0, layout.size.width, layout.size.height};
  look::fill(dc, all, look::face);
  look::raised_edge(dc, all);
  const fonts::Font* font = dialog_font();
  for (std::size_t i = 0; i < items.size() && i < layout.items.size(); ++i) {
    const MenuItem& item = items[i];
    const IntRect r = layout.items[i];
    if (item.separator()) {
      const int mid = (r.top + r.bottom) / 2 - 1;
      look::fill(dc, {r.left + 1, mid, r.right - 1, mid + 1}, look::shadow);
      look::fill(dc, {r.left + 1, mid + 1, r.right - 1, mid + 2}, look::highlight);
      continue;
    }
    const bool is_selected = static_cast<int>(i) == selected;
    if (is_selected) look::fill(dc, r, look::selection);
    const raster::Color ink = is_selected ? look::selection_text : look::text;
    const raster::Color mark = item.disabled() ? look::shadow : ink;
    const int text_top = r.top + (r.height() - line_height()) / 2;
    if (item.checked()) look::check_mark(dc, {r.left + 6, r.top + (r.height() - 7) / 2}, mark);
    auto [label, keys] = split_text(item.text);
    draw_item_label(dc, {r.left + kCheckColumn, text_top}, label, is_selected, item.disabled());
    if (!keys.empty() && font) {
      const IntPoint at{r.right - kArrowColumn - width_of(keys), text_top};
      if (item.disabled() && !is_selected) {
        font->draw(dc, at + IntPoint{1, 1}, keys, fonts::TextPaint::solid(look::highlight));
        font->draw(dc, at, keys, fonts::TextPaint::solid(look::shadow));
      } else {
        font->draw(dc, at, keys, fonts::TextPaint::solid(mark));
      }
    }
    if (item.popup()) look::right_arrow(dc, {r.right - 10, r.top + (r.height() - 7) / 2}, mark);
  }
}

}  // namespace orvane::desktop
