// The PICT walk: opcodes, the drawing state and the shape opcodes.
#include "graphics/picture_player.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "graphics/picture_complete.h"

namespace orvane::graphics::detail {

using raster::Brush;
using raster::Color;
using raster::IntPoint;
using raster::IntRect;
using raster::Mix;
using raster::Pattern8;
using raster::Pen;
using raster::PenStyle;

namespace {

bool is_reference(const Pattern8& p) { return p == Pattern8::black() || p == Pattern8::white(); }

Brush pattern_brush(const Pattern8& p) { return Brush::with_pattern(p); }

}  // namespace

PictPlayer::PictPlayer(raster::DeviceContext& dc, std::span<const std::uint8_t> data, const PictureInfo& info,
                       const IntRect& destination, const PlaybackOptions& options)
    : dc_(dc),
      in_(data, info.kind == PictureKind::pict2 ? 14 : 12),
      version2_(info.kind == PictureKind::pict2),
      destination_(destination),
      mapping_(header_frame(data), destination) {
  if (options.complete) complete_ = std::make_unique<CompleteState>();
}

PictPlayer::~PictPlayer() = default;

std::uint16_t PictPlayer::read_opcode() {
  if (version2_) {
    in_.align_even();
    return in_.u16be();
  }
  return in_.u8();
}

PlaybackResult PictPlayer::run() {
  start_clip_ = dc_.clip();
  const Mix start_mix = dc_.mix();
  pen_location_ = mapping_.map(0, 0);
  select_pen();
  dc_.set_brush(pattern_brush(pattern_));

  PlaybackResult result;
  for (;;) {
    std::size_t at = version2_ ? (in_.position() + 1) & ~std::size_t{1} : in_.position();
    std::uint16_t op = read_opcode();
    if (in_.failed()) {
      end_ = PlaybackEnd::truncated;
      break;
    }
    result.last_opcode = op;
    result.offset = at;
    Step step = act(op);
    if (step == Step::end) break;
    if (in_.failed()) {
      end_ = PlaybackEnd::truncated;
      break;
    }
    ++result.opcodes;
  }
  dc_.set_clip(start_clip_);
  dc_.set_mix(start_mix);
  result.end = end_;
  result.undrawn = undrawn_;
  result.first_undrawn = first_undrawn_;
  return result;
}

PictPlayer::Step PictPlayer::skip(std::size_t n) {
  in_.skip(n);
  return Step::next;
}

// A length word, then that many bytes (after `extra` bytes of fixed data).
PictPlayer::Step PictPlayer::skip_counted(std::size_t extra) {
  in_.skip(extra);
  return skip(in_.u16be());
}

PictPlayer::Step PictPlayer::act(std::uint16_t op) {
  if (complete_)
    if (std::optional<Step> step = act_complete(op)) return *step;
  switch (op) {
    case 0x00: case 0x1e:
      return Step::next;
    case 0x01:
      return clip_to_region();
    case 0x02: case 0x10:
      return skip(8);
    case 0x03: case 0x05: case 0x0d: case 0xa0:
      return skip(2);
    case 0x04:
      return skip(version2_ ? 2 : 1);
    case 0x06: case 0x0e: case 0x0f:
      return skip(4);
    case 0x07: {
      int v = in_.s16be(), h = in_.s16be();
      set_pen_size(v, h);
      return Step::next;
    }
    case 0x08: {
      std::uint16_t mode = in_.u16be();
      dc_.set_mix(mode == 9 ? Mix::mask_pen : mode == 10 ? Mix::not_xor_pen : Mix::copy_pen);
      return Step::next;
    }
    case 0x09:
      set_pen_pattern(read_pattern());
      return Step::next;
    case 0x0a:
      pattern_ = read_pattern();
      dc_.set_brush(pattern_brush(pattern_));
      return Step::next;
    case 0x0b: {
      IntPoint size = read_point();
      oval_ = {size.x, size.y};
      return Step::next;
    }
    case 0x0c: {
      int dh = in_.s16be(), dv = in_.s16be();
      mapping_.move_origin(dh, dv);
      return Step::next;
    }
    case 0x1a:
      set_foreground(read_rgb());
      return Step::next;
    case 0x1b:
      dc_.set_background_color(read_rgb());
      return Step::next;
    case 0x1f:
      op_color_ = read_rgb();
      return Step::next;
    case 0x20: {
      IntPoint a = read_point(), b = read_point();
      line(mapping_.map(a.x, a.y), mapping_.map(b.x, b.y));
      return Step::next;
    }
    case 0x21: {
      IntPoint b = read_point();
      line(pen_location_, mapping_.map(b.x, b.y));
      return Step::next;
    }
    case 0x22: {
      IntPoint a = read_point();
      int dh = in_.s8(), dv = in_.s8();
      line(mapping_.map(a.x, a.y), mapping_.map(a.x + dh, a.y + dv));
      return Step::next;
    }
    case 0x23: {
      int dh = in_.s8(), dv = in_.s8();
      line(pen_location_, pen_location_ + IntPoint{mapping_.scale_x(dh), mapping_.scale_y(dv)});
      return Step::next;
    }
    case 0x2c: case 0x2d: case 0x2e: case 0x2f:
      return skip_counted(0);
    case 0x30: case 0x31: case 0x32: case 0x33: case 0x34:
    case 0x38: case 0x39: case 0x3a: case 0x3b: case 0x3c:
    case 0x40: case 0x41: case 0x42: case 0x48: case 0x49: case 0x4a:
    case 0x50: case 0x51: case 0x52: case 0x53: case 0x54:
    case 0x58: case 0x59: case 0x5a: case 0x5b: case 0x5c:
    case 0x60: case 0x61: case 0x62: case 0x63: case 0x64:
    case 0x68: case 0x69: case 0x6a: case 0x6b: case 0x6c:
    case 0x70: case 0x71:
      return shape(op);
    case 0x80: case 0x81: case 0x82: case 0x83: case 0x84: {
      std::uint16_t size = in_.u16be();
      if (size < 10) {
        end_ = PlaybackEnd::truncated;
        return Step::end;
      }
      return skip(size - 2);
    }
    case 0x90: case 0x98: case 0x9a:
      return bits_op(op);
    case 0xa1:
      return skip_counted(2);
    case 0x0c00:
      extended_header();
      return Step::next;
    case 0xff:
      end_ = PlaybackEnd::finished;
      return Step::end;
    default:
      end_ = PlaybackEnd::stopped;
      return Step::end;
  }
}

// --- Operands ---------------------------------------------------------------

Pattern8 PictPlayer::read_pattern() {
  Pattern8 p;
  for (auto& row : p.rows) row = in_.u8();
  return p;
}

Color PictPlayer::read_rgb() {
  // The high byte of each 16-bit component.
  Color c;
  c.r = static_cast<std::uint8_t>(in_.u16be() >> 8);
  c.g = static_cast<std::uint8_t>(in_.u16be() >> 8);
  c.b = static_cast<std::uint8_t>(in_.u16be() >> 8);
  return c;
}

IntRect read_rect_at(ByteReader& in) {
  int top = in.s16be(), left = in.s16be(), bottom = in.s16be(), right = in.s16be();
  return {left, top, right, bottom};
}

IntRect header_frame(std::span<const std::uint8_t> data) {
  ByteReader head(data, 2);
  return read_rect_at(head);
}

IntRect PictPlayer::read_rect() { return read_rect_at(in_); }

IntPoint PictPlayer::read_point() {
  int v = in_.s16be(), h = in_.s16be();
  return {h, v};
}

// --- State ------------------------------------------------------------------

PictPlayer::Step PictPlayer::clip_to_region() {
  std::uint16_t size = in_.u16be();
  if (size < 10) {
    end_ = PlaybackEnd::truncated;
    return Step::end;
  }
  IntRect box = read_rect();
  in_.skip(size - 10u);
  if (in_.failed()) return Step::next;
  // Each clip replaces the previous one: it is taken within the clip the
  // playback started with, not within the last clip.
  dc_.set_clip(start_clip_);
  dc_.intersect_clip_rect(mapping_.map(box).intersected(destination_));
  return Step::next;
}

void PictPlayer::select_pen() {
  dc_.set_pen(Pen{pen_hidden_ ? PenStyle::null : pen_style_, pen_width_, pen_color_});
}

void PictPlayer::set_pen_size(int v, int h) {
  pen_hidden_ = v <= 0 || h <= 0;
  pen_width_ = std::max(v, h);
  pen_style_ = is_reference(pattern_) ? PenStyle::solid : PenStyle::dot;
  select_pen();
}

void PictPlayer::set_pen_pattern(const Pattern8& p) {
  pattern_ = p;
  dc_.set_brush(pattern_brush(pattern_));
  Color current = fore_ == raster::colors::white ? raster::colors::black : fore_;
  if (p == Pattern8::black()) {
    pen_style_ = PenStyle::solid;
    pen_color_ = current;
  } else if (p == Pattern8::white()) {
    pen_style_ = PenStyle::solid;
    pen_color_ = dc_.background_color();
  } else {
    pen_style_ = PenStyle::dot;
    pen_color_ = current;
  }
  select_pen();
}

void PictPlayer::set_foreground(Color c) {
  fore_ = c;
  pen_color_ = fore_;
  dc_.set_text_color(fore_);
  select_pen();
}

void PictPlayer::extended_header() {
  std::int16_t version = in_.s16be();
  if (version != -2) {
    in_.skip(22);
    return;
  }
  in_.skip(10);  // reserved word, horizontal and vertical resolution
  IntRect source = read_rect();
  in_.skip(4);
  if (!in_.failed()) mapping_.set_source(source);
}

// --- Drawing ----------------------------------------------------------------

void PictPlayer::line(IntPoint from, IntPoint to) {
  dc_.move_to(from);
  dc_.line_to(to);
  pen_location_ = to;
}

PictPlayer::Step PictPlayer::shape(std::uint16_t op) {
  const int kind = op >> 4, verb = op & 7;
  const bool same = (op & 8) != 0;
  if (kind == 7) return polygon_op(verb);
  IntRect r = same_rect_;
  if (!same) {
    r = mapping_.map(read_rect());
    same_rect_ = r;
  }
  int start = 0, extent = 0;
  if (kind == 6) {
    start = in_.s16be();
    extent = in_.s16be();
  }
  if (in_.failed() || r.empty()) return Step::next;
  if (complete_ && pixel_pattern_fills(verb)) {
    pixel_pattern_shape(kind, verb, r, start, extent);
    return Step::next;
  }
  switch (kind) {
    case 3: rect_op(verb, r); break;
    case 4: round_rect_op(verb, r); break;
    case 5: oval_op(verb, r); break;
    default: arc_op(verb, r, start, extent); break;
  }
  return Step::next;
}

void PictPlayer::rect_op(int verb, const IntRect& r) {
  switch (verb) {
    case kFrame: {
      ToolSwap swap(dc_);
      dc_.set_brush(Brush::hollow());
      dc_.rectangle(r);
      break;
    }
    case kPaint: case kFill:
      dc_.fill_rect(r, pattern_brush(pattern_));
      break;
    case kErase:
      dc_.fill_rect(r, pattern_brush(Pattern8::white()));
      break;
    default:
      dc_.invert_rect(r);
      break;
  }
}

namespace {

// Prepares the tools of the erase, invert and fill verbs of ovals, arcs and
// rounded rectangles: no pen, and the brush and mix of the verb.
void prepare_unframed(raster::DeviceContext& dc, int verb, const Pattern8& pattern) {
  dc.set_pen(Pen::null_pen());
  if (verb == kErase) {
    dc.set_brush(Brush::with_pattern(Pattern8::white()));
    dc.set_mix(Mix::copy_pen);
  } else if (verb == kInvert) {
    dc.set_brush(Brush::solid(raster::colors::black));
    dc.set_mix(Mix::invert);
  } else {
    dc.set_brush(Brush::with_pattern(pattern));
  }
}

}  // namespace

void PictPlayer::round_rect_op(int verb, const IntRect& r) {
  raster::IntSize corner{mapping_.scale_x(oval_.width), mapping_.scale_y(oval_.height)};
  ToolSwap swap(dc_);
  if (verb == kFrame) dc_.set_brush(Brush::hollow());
  else if (verb != kPaint) prepare_unframed(dc_, verb, pattern_);
  dc_.round_rect(r, corner);
}

void PictPlayer::oval_op(int verb, const IntRect& r) {
  ToolSwap swap(dc_);
  if (verb == kFrame) dc_.set_brush(Brush::hollow());
  else if (verb != kPaint) prepare_unframed(dc_, verb, pattern_);
  dc_.ellipse(r);
}

ArcRadials arc_radials(const IntRect& r, int start, int extent) {
  if (extent < 0) {
    start += extent;
    extent = -extent;
  }
  // QuickDraw angles run clockwise from twelve o'clock and are relative to
  // the rectangle (45 degrees points at its corner). The radial points lie
  // far out on the rays so that rounding them to pixels keeps the angles.
  constexpr double k = std::numbers::pi / 180;
  const double cx = (static_cast<double>(r.left) + r.right - 1) / 2;
  const double cy = (static_cast<double>(r.top) + r.bottom - 1) / 2;
  const double w = 64.0 * r.width(), h = 64.0 * r.height();
  auto radial = [&](double degrees) {
    return IntPoint{static_cast<int>(std::lround(cx + w * std::cos((90 - degrees) * k))),
                    static_cast<int>(std::lround(cy - h * std::sin((90 - degrees) * k)))};
  };
  IntPoint first = radial(start), last = radial(start + extent);
  if (extent >= 360) last = first;
  return {first, last};
}

IntRect bounds_of(std::span<const IntPoint> points) {
  if (points.empty()) return {};
  IntRect box{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
  for (IntPoint p : points) box = box.united({p.x, p.y, p.x + 1, p.y + 1});
  return box;
}

void PictPlayer::arc_op(int verb, const IntRect& r, int start, int extent) {
  if (extent == 0) return;
  const auto [first, last] = arc_radials(r, start, extent);
  ToolSwap swap(dc_);
  if (verb == kFrame) {
    dc_.arc(r, last, first);  // counter-clockwise from the end is clockwise from the start
    return;
  }
  if (verb != kPaint) prepare_unframed(dc_, verb, pattern_);
  dc_.pie(r, last, first);
}

PictPlayer::Step PictPlayer::polygon_op(int verb) {
  std::uint16_t size = in_.u16be();
  if (size < 10) {
    end_ = PlaybackEnd::truncated;
    return Step::end;
  }
  in_.skip(8);  // the bounding box
  std::size_t count = (size - 10u) / 4;
  std::vector<IntPoint> points;
  points.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    IntPoint p = read_point();
    points.push_back(mapping_.map(p.x, p.y));
  }
  in_.skip((size - 10u) % 4);
  if (in_.failed()) return Step::next;
  if (verb == kFrame) {
    dc_.polyline(points);
    return Step::next;
  }
  if (complete_ && pixel_pattern_fills(verb) && !points.empty()) {
    fill_with_pixel_pattern(bounds_of(points), [&](raster::DeviceContext& dc) { dc.polygon(points); });
    return Step::next;
  }
  ToolSwap swap(dc_);
  dc_.set_pen(Pen::null_pen());
  if (verb != kPaint) prepare_unframed(dc_, verb, pattern_);  // erase, invert, fill: complete playback
  dc_.polygon(points);
  return Step::next;
}

}  // namespace orvane::graphics::detail
