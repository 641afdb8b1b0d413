// A device context: the drawing state over one surface and the drawing
// operations with GDI's pixel rules (docs/raster.md states them).
//
// Coordinates passed to drawing operations are logical: the origin is added
// to reach the surface (device) pixel. The clip region is kept in device
// coordinates; no clip region means the whole surface.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "platform/raster/geometry.h"
#include "platform/raster/pen_brush.h"
#include "platform/raster/pixel_view.h"
#include "platform/raster/raster_ops.h"
#include "platform/raster/region.h"
#include "platform/raster/surface.h"

namespace orvane::raster {

struct DrawingState {
  IntPoint origin;
  Pen pen;
  Brush brush = Brush::solid(colors::white);
  Mix mix = Mix::copy_pen;
  Color text_color = colors::black;
  Color background_color = colors::white;
  BackgroundMode background_mode = BackgroundMode::opaque;
  FillMode fill_mode = FillMode::alternate;
  StretchMode stretch_mode = StretchMode::black_on_white;
  IntPoint brush_origin;  // device pixel where pattern row 0, column 0 lands
  std::optional<Region> clip;
  IntPoint position;  // the current position, logical
};

// How a transfer turns source pixels into colours.
enum class SourceColors {
  // As a bitmap selected in a device context: a one-bit source paints its 0
  // bits in the destination's text colour and its 1 bits in the background
  // colour; a colour source drawn onto a one-bit destination gives 1 where it
  // shows the source's background colour, 0 elsewhere.
  device,
  // As a device-independent bitmap: the source's own colour table always.
  table,
};

// A source of a block transfer.
struct TransferSource {
  PixelView pixels;
  IntRect rect;  // the source pixels to transfer
  SourceColors colors = SourceColors::device;
  Color background = colors::white;  // the source context's background colour
};

class DeviceContext {
 public:
  explicit DeviceContext(Surface& surface) : surface_(&surface) {}

  Surface& surface() { return *surface_; }
  const Surface& surface() const { return *surface_; }

  // --- State -------------------------------------------------------------
  const DrawingState& state() const { return state_; }
  DrawingState save() const { return state_; }
  void restore(DrawingState state) { state_ = std::move(state); }

  IntPoint origin() const { return state_.origin; }
  void set_origin(IntPoint p) { state_.origin = p; }
  const Pen& pen() const { return state_.pen; }
  void set_pen(const Pen& p) { state_.pen = p; }
  const Brush& brush() const { return state_.brush; }
  void set_brush(const Brush& b) { state_.brush = b; }
  Mix mix() const { return state_.mix; }
  void set_mix(Mix m) { state_.mix = m; }
  Color text_color() const { return state_.text_color; }
  void set_text_color(Color c) { state_.text_color = c; }
  Color background_color() const { return state_.background_color; }
  void set_background_color(Color c) { state_.background_color = c; }
  BackgroundMode background_mode() const { return state_.background_mode; }
  void set_background_mode(BackgroundMode m) { state_.background_mode = m; }
  FillMode fill_mode() const { return state_.fill_mode; }
  void set_fill_mode(FillMode m) { state_.fill_mode = m; }
  StretchMode stretch_mode() const { return state_.stretch_mode; }
  void set_stretch_mode(StretchMode m) { state_.stretch_mode = m; }
  void set_brush_origin(IntPoint device) { state_.brush_origin = device; }

  // --- Clipping ----------------------------------------------------------
  const std::optional<Region>& clip() const { return state_.clip; }
  void set_clip(std::optional<Region> device_region) { state_.clip = std::move(device_region); }
  void intersect_clip_rect(const IntRect& logical);
  void exclude_clip_rect(const IntRect& logical);
  // The box of what can be drawn, in logical coordinates.
  IntRect clip_box() const;
  // What can be drawn, in device coordinates (the clip within the surface).
  Region drawable_region() const;

  // --- Lines -------------------------------------------------------------
  IntPoint position() const { return state_.position; }
  void move_to(IntPoint p) { state_.position = p; }
  // Draws from the current position to p, p itself excluded, and moves there.
  void line_to(IntPoint p);
  // Lines from each point to the next, each without its last pixel.
  void polyline(std::span<const IntPoint> points);

  // --- Shapes (outlined with the pen, filled with the brush, both through
  // the mix) --------------------------------------------------------------
  void rectangle(const IntRect& r);
  void round_rect(const IntRect& r, IntSize corner);
  void ellipse(const IntRect& r);
  // Arcs and pies of the ellipse in r, counter-clockwise from the radial
  // through start to the radial through end.
  void arc(const IntRect& r, IntPoint start, IntPoint end);
  void pie(const IntRect& r, IntPoint start, IntPoint end);
  void polygon(std::span<const IntPoint> points);

  // --- Areas -------------------------------------------------------------
  // The brush over r, ignoring the mix (FillRect).
  void fill_rect(const IntRect& r, const Brush& brush);
  // A one-pixel border of r in the brush (FrameRect).
  void frame_rect(const IntRect& r, const Brush& brush);
  void invert_rect(const IntRect& r);
  // The DC's brush over r with a ternary operation (PatBlt).
  void pattern_blit(const IntRect& r, RasterOp op);
  void fill_region(const Region& logical, const Brush& brush);
  // The DC's brush over the region through the mix (PaintRgn).
  void paint_region(const Region& logical);
  void invert_region(const Region& logical);

  // --- Pixels ------------------------------------------------------------
  // The colour at p; nothing outside the surface or the clip.
  std::optional<Color> get_pixel(IntPoint p) const;
  void set_pixel(IntPoint p, Color c);

  // --- Transfers ---------------------------------------------------------
  void bit_blit(const IntRect& dst, const DeviceContext& src, IntPoint src_pos, RasterOp op);
  void stretch_blit(const IntRect& dst, const DeviceContext& src, const IntRect& src_rect, RasterOp op);
  // Copies the source except its pixels of the key colour.
  void transparent_blit(const IntRect& dst, const DeviceContext& src, const IntRect& src_rect, Color key);
  // Where the one-bit mask has a 1 the fore operation applies, elsewhere
  // the back operation (MaskBlt).
  void mask_blit(const IntRect& dst, const DeviceContext& src, IntPoint src_pos, const Surface& mask,
                 IntPoint mask_pos, RasterOp fore, RasterOp back);
  // A device-independent bitmap transfer (StretchDIBits, colours from the
  // bitmap's table), stretched from src_rect of the bitmap to dst.
  void stretch_dib(const IntRect& dst, const PixelView& dib, const IntRect& src_rect, RasterOp op);

  // The general transfer behind all of the above: source pixels sampled
  // from source.rect into dst (nearest pixel centres when the sizes differ,
  // combined by the stretch mode when shrinking), an optional colour key,
  // an optional one-bit mask covering the same source rectangle.
  struct TransferOptions {
    RasterOp op = RasterOp::src_copy;
    std::optional<Color> key;
    const PixelView* mask = nullptr;
    IntPoint mask_offset;  // mask pixel = source pixel + offset
    RasterOp back_op = RasterOp::dst_copy;
  };
  void transfer(const IntRect& dst, const TransferSource& source, const TransferOptions& options);

  // Moves the pixels of r (logical) by (dx, dy), within r and the clip;
  // answers the logical region of r that was uncovered (ScrollDC).
  Region scroll(const IntRect& r, int dx, int dy);

  // A source description of this context's surface, for transfers.
  TransferSource as_source(const IntRect& logical_rect) const;

 private:
  struct Paint;
  Paint resolve(const Brush& brush) const;
  Paint resolve_solid(Color c) const;
  // Applies op with paint as the pattern over the device coverage, clipped.
  void paint(Region coverage, const Paint& paint, RasterOp op);
  // The limit for scan conversion: the drawable box, logical, with margin.
  IntRect scan_limit(int margin) const;
  void stroke_line(IntPoint from, IntPoint to, int& dot_phase);
  void draw_outlined(const Region& outline, const Region& interior);
  Region to_device(Region logical) const;

  Surface* surface_;
  DrawingState state_;
};

// Saves the drawing state and restores it at the end of the scope.
class StateSaver {
 public:
  explicit StateSaver(DeviceContext& dc) : dc_(dc), saved_(dc.save()) {}
  ~StateSaver() { dc_.restore(std::move(saved_)); }
  StateSaver(const StateSaver&) = delete;
  StateSaver& operator=(const StateSaver&) = delete;

 private:
  DeviceContext& dc_;
  DrawingState saved_;
};

}  // namespace orvane::raster
