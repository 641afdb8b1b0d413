// A drawing port: the pen-and-port state that every window object and every
// offscreen buffer carries, and the drawing operations of the Lisp side.
//
// The port keeps its own state (pen, patterns, colours, modes); the drawing
// operations act on the device context that is current for the port, which
// a DrawingSession provides (begin/end drawing, nested). An offscreen keeps
// its own device context bound for its whole life.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "graphics/fonts_record.h"
#include "platform/raster/device_context.h"

namespace orvane::graphics {

// A colour of the Lisp side: three components 0-65535.
struct Rgb16 {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb16&) const = default;
  // The engine colour: each component's high byte.
  raster::Color to_color() const {
    return {static_cast<std::uint8_t>(red >> 8), static_cast<std::uint8_t>(green >> 8),
            static_cast<std::uint8_t>(blue >> 8)};
  }
  // An 8-bit system colour widened by 257 (255 becomes 65535).
  static Rgb16 from_system(raster::Color c) { return {c.r * 257, c.g * 257, c.b * 257}; }
  // A colour read back from a device, each component shifted left by 8.
  static Rgb16 from_device(raster::Color c) { return {c.r << 8, c.g << 8, c.b << 8}; }
};

// The image transfer modes of ports: 0 copy, 1 and, 2 xor, 3 bic, 4 not copy,
// 36 transparent (through the mask when there is one); others copy.
inline constexpr int kTransparentMode = 36;
raster::RasterOp raster_op_of_transfer_mode(int mode);

// Draws text for draw-string: the font module installs it. It draws text at
// the pen position on the baseline with the port's context, in the port's
// font (null: the system font), and answers the advance in pixels. Without a
// hook draw-string prints nothing.
using TextDrawer = std::function<int(raster::DeviceContext&, const FontRecord* font, raster::IntPoint baseline,
                                     std::string_view text)>;
void set_text_drawer(TextDrawer drawer);

class DrawingPort {
 public:
  DrawingPort() = default;
  explicit DrawingPort(raster::DeviceContext& own) : dc_(&own) { select_into(own); }
  // A port freed while a session draws with it (its window destroyed by the
  // code that draws) tells the session, which then leaves it alone.
  ~DrawingPort();
  DrawingPort(const DrawingPort&) = default;
  DrawingPort& operator=(const DrawingPort&) = default;

  // --- The port's state ---------------------------------------------------
  raster::IntRect dirty_rect() const { return dirty_; }
  void set_dirty_rect(const raster::IntRect& r) { dirty_ = r; }
  int transfer_mode() const { return transfer_mode_; }
  void set_transfer_mode(int m) { transfer_mode_ = m; }
  raster::IntPoint origin_offset() const { return origin_offset_; }
  void set_origin_offset(raster::IntPoint p) { origin_offset_ = p; }
  const std::optional<raster::Pattern8>& pattern() const { return pattern_; }
  raster::BackgroundMode background_mode() const { return background_mode_; }
  void set_background_mode(raster::BackgroundMode m);
  int pen_width() const { return pen_width_; }
  Rgb16 fore_color() const { return fore_; }
  Rgb16 back_color() const { return back_; }
  void set_fore_color(Rgb16 c);
  void set_back_color(Rgb16 c);
  // The pen position, logical.
  raster::IntPoint pen_position() const;
  // The font selected in the port (nothing: the system font).
  const std::optional<FontRecord>& font() const { return font_; }
  void set_font(std::optional<FontRecord> f) { font_ = std::move(f); }

  // The device context being drawn on; error 2 (nil) outside a drawing context.
  raster::DeviceContext& context() const;
  bool drawing() const { return dc_ != nullptr; }

  // --- Pens and patterns ---------------------------------------------------
  void pen_size(int n);
  void pen_mode(int mix);
  // Sets the pattern brush (nothing: back to none) and answers the old one.
  std::optional<raster::Pattern8> set_pattern(std::optional<raster::Pattern8> p);

  // --- Drawing ---------------------------------------------------------------
  void move(int dx, int dy);
  void move_to(int x, int y);
  void line(int dx, int dy);
  void line_to(int x, int y);
  void frame_rect(const raster::IntRect& r);
  void frame_oval(const raster::IntRect& r);
  void frame_round_rect(const raster::IntRect& r, int w, int h);
  void frame_arc(const raster::IntRect& r, int start, int extent);
  void paint_rect(const raster::IntRect& r);
  void paint_oval(const raster::IntRect& r);
  void paint_round_rect(const raster::IntRect& r, int w, int h);
  void paint_arc(const raster::IntRect& r, int start, int extent);
  void erase_rect(const raster::IntRect& r);
  void erase_oval(const raster::IntRect& r);
  void invert_rect(const raster::IntRect& r);
  void invert_oval(const raster::IntRect& r);
  void fill_rect_dimmed(const raster::IntRect& r);
  void color_rect(const raster::IntRect& r, Rgb16 c);
  void draw_string(std::string_view text);
  // Lines from each point to the next, and back to the first when closed.
  void frame_poly(std::span<const raster::IntPoint> points, bool closed);
  // The polygon filled with the pattern brush, winding rule, no outline.
  void paint_poly(std::span<const raster::IntPoint> points);

  // Copies the port's current state into a device context (the start of a
  // drawing context).
  void select_into(raster::DeviceContext& dc) const;

 private:
  friend class DrawingSession;
  raster::Pen pen() const;
  raster::Brush pattern_brush() const;
  raster::Brush back_brush() const;
  void select_pen_and_brush(const raster::Brush& brush) const;
  // P1 and P2 of the arc rule, or nothing for an extent of 0.
  std::optional<std::pair<raster::IntPoint, raster::IntPoint>> arc_points(const raster::IntRect& r, int start,
                                                                          int extent) const;

  raster::DeviceContext* dc_ = nullptr;
  raster::IntRect dirty_{};
  std::optional<raster::Pattern8> pattern_;
  int transfer_mode_ = 0;
  bool back_brush_set_ = false;
  raster::BackgroundMode background_mode_ = raster::BackgroundMode::transparent;
  int pen_width_ = 1;
  raster::Mix pen_mix_ = raster::Mix::copy_pen;
  Rgb16 back_{65535, 65535, 65535};
  Rgb16 fore_{0, 0, 0};
  raster::IntPoint origin_offset_{};
  raster::IntPoint position_{};  // kept while no context is bound
  std::optional<FontRecord> font_;
};

// Begins drawing on a port with a device context and ends it at the end of
// the scope: the enclosing context (current port, its device context and
// state) is saved and restored, so sessions nest.
class DrawingSession {
 public:
  DrawingSession(DrawingPort& port, raster::DeviceContext& dc);
  ~DrawingSession();
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

 private:
  friend bool in_use_by_a_session(const DrawingPort&, const raster::DeviceContext&);
  friend DrawingPort* current_port();
  friend class DrawingPort;
  DrawingPort& port_;
  raster::DeviceContext& dc_;
  raster::DeviceContext* previous_dc_;
  raster::DrawingState saved_state_;
  DrawingSession* enclosing_;
  bool port_gone_ = false;
};

// The port of the innermost drawing session, or null.
DrawingPort* current_port();

// Whether an open session draws with the port or on the context (what must
// not be destroyed before the session ends).
bool in_use_by_a_session(const DrawingPort& port, const raster::DeviceContext& dc);

}  // namespace orvane::graphics
