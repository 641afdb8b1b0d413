#include "graphics/drawing_port.h"

#include <cmath>
#include <vector>

#include "core/errors.h"
#include "core/value.h"
#include "platform/raster/region.h"

namespace orvane::graphics {

using raster::Brush;
using raster::IntPoint;
using raster::IntRect;
using raster::Pattern8;
using raster::Pen;
using raster::PenStyle;

namespace {

// The drawing layer's two singletons: the innermost session (each links to
// the one it encloses) and the text drawer the font module installs.
DrawingSession* g_innermost_session = nullptr;
TextDrawer& text_drawer() {
  static TextDrawer drawer;
  return drawer;
}

constexpr raster::Color kDimmedText{0xc0, 0xc0, 0xc0};
constexpr double kDegreeToRadian = 0.017453277777777776;

}  // namespace

void set_text_drawer(TextDrawer drawer) { text_drawer() = std::move(drawer); }

DrawingPort::~DrawingPort() {
  for (DrawingSession* s = g_innermost_session; s; s = s->enclosing_)
    if (&s->port_ == this) s->port_gone_ = true;
}

DrawingPort* current_port() {
  DrawingSession* s = g_innermost_session;
  return s && !s->port_gone_ ? &s->port_ : nullptr;
}

bool in_use_by_a_session(const DrawingPort& port, const raster::DeviceContext& dc) {
  for (DrawingSession* s = g_innermost_session; s; s = s->enclosing_)
    if (&s->port_ == &port || &s->dc_ == &dc) return true;
  return false;
}

raster::RasterOp raster_op_of_transfer_mode(int mode) {
  switch (mode & 0x3f) {
    case 1:
      return raster::RasterOp::src_and;
    case 2:
      return raster::RasterOp::src_invert;
    case 3:
      return raster::RasterOp::not_src_erase;
    case 4:
      return raster::RasterOp::not_src_copy;
    default:
      return raster::RasterOp::src_copy;
  }
}

raster::DeviceContext& DrawingPort::context() const {
  if (!dc_) raise_error(2, kNil);
  return *dc_;
}

Pen DrawingPort::pen() const { return {PenStyle::inside_frame, pen_width_, fore_.to_color()}; }

Brush DrawingPort::pattern_brush() const { return Brush::with_pattern(pattern_.value_or(Pattern8::black())); }

Brush DrawingPort::back_brush() const {
  return back_brush_set_ ? Brush::solid(back_.to_color()) : Brush::with_pattern(Pattern8::white());
}

void DrawingPort::select_into(raster::DeviceContext& dc) const {
  dc.set_pen(pen());
  dc.set_mix(pen_mix_);
  dc.set_text_color(fore_.to_color());
  dc.set_background_color(back_.to_color());
  dc.set_background_mode(background_mode_);
  dc.set_brush(pattern_brush());
}

void DrawingPort::select_pen_and_brush(const Brush& brush) const {
  raster::DeviceContext& dc = context();
  dc.set_pen(pen());
  dc.set_mix(pen_mix_);
  dc.set_brush(brush);
}

IntPoint DrawingPort::pen_position() const { return dc_ ? dc_->position() : position_; }

void DrawingPort::set_background_mode(raster::BackgroundMode m) {
  background_mode_ = m;
  if (dc_) dc_->set_background_mode(m);
}

void DrawingPort::set_fore_color(Rgb16 c) {
  fore_ = c;
  if (!dc_) return;
  dc_->set_pen(pen());
  dc_->set_text_color(c.to_color());
}

void DrawingPort::set_back_color(Rgb16 c) {
  back_ = c;
  back_brush_set_ = true;
  if (dc_) dc_->set_background_color(c.to_color());
}

void DrawingPort::pen_size(int n) {
  int shift = n / 2 - pen_width_ / 2;
  if (shift != 0) move(shift, shift);
  pen_width_ = n;
  if (dc_) dc_->set_pen(pen());
}

void DrawingPort::pen_mode(int mix) {
  if (mix < 1 || mix > 16) raise_error(2, make_fixnum(mix));
  pen_mix_ = static_cast<raster::Mix>(mix);
  if (dc_) dc_->set_mix(pen_mix_);
}

std::optional<Pattern8> DrawingPort::set_pattern(std::optional<Pattern8> p) {
  std::swap(pattern_, p);
  return p;
}

void DrawingPort::move(int dx, int dy) {
  IntPoint p = pen_position();
  if (dc_)
    dc_->move_to({p.x + dx, p.y + dy});
  else
    position_ = {p.x + dx, p.y + dy};
}

void DrawingPort::move_to(int x, int y) {
  IntPoint p{x + pen_width_ / 2, y + pen_width_ / 2};
  if (dc_)
    dc_->move_to(p);
  else
    position_ = p;
}

void DrawingPort::line(int dx, int dy) {
  raster::DeviceContext& dc = context();
  select_pen_and_brush(pattern_brush());
  IntPoint p = dc.position();
  dc.line_to({p.x + dx, p.y + dy});
}

void DrawingPort::line_to(int x, int y) {
  raster::DeviceContext& dc = context();
  select_pen_and_brush(pattern_brush());
  IntPoint end{x + pen_width_ / 2, y + pen_width_ / 2};
  dc.line_to(end);
  // The engine leaves a line's last pixel out, as GDI does; a one-pixel pen
  // sets it so that the figure ends where it was asked to.
  if (pen_width_ == 1) dc.set_pixel(end, fore_.to_color());
}

void DrawingPort::frame_rect(const IntRect& r) {
  select_pen_and_brush(Brush::hollow());
  context().rectangle(r);
}

void DrawingPort::frame_oval(const IntRect& r) {
  select_pen_and_brush(Brush::hollow());
  context().ellipse(r);
}

void DrawingPort::frame_round_rect(const IntRect& r, int w, int h) {
  select_pen_and_brush(Brush::hollow());
  context().round_rect(r, {w, h});
}

std::optional<std::pair<IntPoint, IntPoint>> DrawingPort::arc_points(const IntRect& r, int start,
                                                                     int extent) const {
  if (extent == 0) return std::nullopt;
  if (extent < 0) {
    start += extent;
    extent = -extent;
  }
  // The centre in whole pixels, so that the radials of 0, 90, 180 and 270
  // degrees are exactly vertical or horizontal.
  double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  double w = r.width(), h = r.height();
  auto radial = [&](double degrees) {
    double a = (90.0 - degrees) * kDegreeToRadian;
    return IntPoint{static_cast<int>(std::lround(cx + w * std::cos(a))),
                    static_cast<int>(std::lround(cy - h * std::sin(a)))};
  };
  return std::pair{radial(start + extent), radial(start)};
}

void DrawingPort::frame_arc(const IntRect& r, int start, int extent) {
  auto points = arc_points(r, start, extent);
  if (!points) return;
  select_pen_and_brush(Brush::hollow());
  context().arc(r, points->first, points->second);
}

void DrawingPort::paint_rect(const IntRect& r) { context().fill_rect(r, pattern_brush()); }

void DrawingPort::paint_oval(const IntRect& r) {
  select_pen_and_brush(pattern_brush());
  context().ellipse(r);
}

void DrawingPort::paint_round_rect(const IntRect& r, int w, int h) {
  select_pen_and_brush(pattern_brush());
  context().round_rect(r, {w, h});
}

void DrawingPort::paint_arc(const IntRect& r, int start, int extent) {
  auto points = arc_points(r, start, extent);
  if (!points) return;
  select_pen_and_brush(pattern_brush());
  context().pie(r, points->first, points->second);
}

void DrawingPort::erase_rect(const IntRect& r) { context().fill_rect(r, back_brush()); }

void DrawingPort::erase_oval(const IntRect& r) {
  raster::DeviceContext& dc = context();
  dc.fill_region(raster::Region::ellipse(r), back_brush());
}

void DrawingPort::invert_rect(const IntRect& r) { context().invert_rect(r); }

void DrawingPort::invert_oval(const IntRect& r) { context().invert_region(raster::Region::ellipse(r)); }

void DrawingPort::fill_rect_dimmed(const IntRect& r) {
  raster::DeviceContext& dc = context();
  raster::Color text = dc.text_color();
  dc.set_text_color(kDimmedText);
  dc.fill_rect(r, Brush::with_pattern(Pattern8::gray()));
  dc.set_text_color(text);
}

void DrawingPort::color_rect(const IntRect& r, Rgb16 c) {
  context().fill_rect(r, Brush::solid(c.to_color()));
}

void DrawingPort::draw_string(std::string_view text) {
  raster::DeviceContext& dc = context();
  const TextDrawer& drawer = text_drawer();
  if (!drawer) return;
  IntPoint p = dc.position();
  int advance = drawer(dc, font_ ? &*font_ : nullptr, p, text);
  dc.move_to({p.x + advance, p.y});
}

void DrawingPort::frame_poly(std::span<const IntPoint> points, bool closed) {
  if (points.empty()) return;
  raster::DeviceContext& dc = context();
  select_pen_and_brush(pattern_brush());
  std::vector<IntPoint> path(points.begin(), points.end());
  if (closed) path.push_back(points.front());
  dc.polyline(path);
  dc.move_to(path.back());
}

void DrawingPort::paint_poly(std::span<const IntPoint> points) {
  if (points.size() < 3) return;
  context().fill_region(raster::Region::polygon(points, raster::FillMode::winding), pattern_brush());
}

DrawingSession::DrawingSession(DrawingPort& port, raster::DeviceContext& dc)
    : port_(port), dc_(dc), previous_dc_(port.dc_), saved_state_(dc.save()), enclosing_(g_innermost_session) {
  IntPoint position = port.pen_position();
  port.dc_ = &dc;
  port.select_into(dc);
  dc.move_to(position);
  g_innermost_session = this;
}

DrawingSession::~DrawingSession() {
  // The pen position belongs to the port: it carries over to the context
  // the port draws with next.
  IntPoint position = dc_.position();
  dc_.restore(std::move(saved_state_));
  g_innermost_session = enclosing_;
  if (port_gone_) return;
  port_.dc_ = previous_dc_;
  if (previous_dc_)
    previous_dc_->move_to(position);
  else
    port_.position_ = position;
}

}  // namespace orvane::graphics
