// Non-client areas in the classic look: frames, captions, close boxes,
// scroll bars and the place of a menu bar. Knows the metrics, finds what
// is under a point, draws.
#pragma once

#include "platform/desktop/window.h"
#include "platform/raster/color.h"
#include "platform/raster/device_context.h"

namespace orvane::desktop {

class Desktop;

namespace classic {
inline constexpr raster::Color face{192, 192, 192};
inline constexpr raster::Color highlight{255, 255, 255};
inline constexpr raster::Color shadow{128, 128, 128};
inline constexpr raster::Color dark{0, 0, 0};
inline constexpr raster::Color active_caption{0, 0, 128};
inline constexpr raster::Color active_caption_text{255, 255, 255};
inline constexpr raster::Color inactive_caption{128, 128, 128};
inline constexpr raster::Color inactive_caption_text{192, 192, 192};
inline constexpr raster::Color app_workspace{128, 128, 128};
inline constexpr raster::Color desktop{0, 128, 128};
inline constexpr raster::Color window{255, 255, 255};
}  // namespace classic

// Caption band: 18 coloured rows and one row of face below them.
inline constexpr int kCaptionHeight = 18;
inline constexpr int kCaptionBand = kCaptionHeight + 1;
inline constexpr int kSizingFrame = 4;
inline constexpr int kDialogFrame = 3;
inline constexpr int kThinBorder = 1;
// How far from a corner a sizing border sizes diagonally.
inline constexpr int kCornerReach = 16;

class NonClient {
 public:
  NonClient(const Desktop& desktop, const Window& window) : desktop_(desktop), window_(window) {}

  static int frame_thickness(std::uint32_t style, std::uint32_t ex_style);
  static bool has_caption(std::uint32_t style) { return (style & WS_CAPTION) == WS_CAPTION; }

  // The client rect for a window rect (both in the parent's client coordinates).
  raster::IntRect client_for(const raster::IntRect& window_rect) const;
  // The hit-test code of a screen point.
  int hit_test(raster::IntPoint screen) const;

  // Parts, in the window's own coordinates (0, 0 = its top-left).
  raster::IntRect caption_rect() const;
  raster::IntRect close_box_rect() const;
  raster::IntRect menu_bar_rect() const;
  raster::IntRect scroll_bar_rect(bool vertical) const;

  // Draws the whole non-client area through a window device context.
  void draw(raster::DeviceContext& dc) const;

 private:
  bool is_host_frame() const;
  int thickness() const;
  int menu_height() const;
  void draw_caption(raster::DeviceContext& dc) const;
  void draw_scroll_bar(raster::DeviceContext& dc, const ScrollBar& bar,
                       const raster::IntRect& rect) const;

  const Desktop& desktop_;
  const Window& window_;
};

// Small drawing pieces shared by the non-client area and the desktop's controls.
void draw_raised_edge(raster::DeviceContext& dc, const raster::IntRect& r);
void draw_button_face(raster::DeviceContext& dc, const raster::IntRect& r, bool pressed);

}  // namespace orvane::desktop
