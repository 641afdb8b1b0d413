// The PICT walk: the drawing state of one playback and the opcode handlers.
// Internal to the picture player.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "graphics/picture.h"
#include "graphics/picture_mapping.h"
#include "platform/byte_reader.h"
#include "platform/raster/device_context.h"
#include "platform/raster/region.h"
#include "platform/raster/surface.h"

namespace orvane::graphics::detail {

struct CompleteState;

inline constexpr std::uint16_t kDirectBitsRect = 0x9a;

struct PixmapHeader {
  std::uint16_t pack_type = 0;
  std::uint16_t pixel_size = 1;
  std::uint16_t component_count = 1;
};

// A bitmap or pixmap record: the row-bytes word (bit 15: pixmap), the
// bounds, for pixmaps the pixmap fields and (when asked) the colour table.
struct BitmapRecord {
  bool pixmap = false;
  std::size_t row_bytes = 0;
  raster::IntRect bounds;
  PixmapHeader pm;
  raster::ColorTable table;
};
BitmapRecord read_bitmap_record(ByteReader& in, bool with_table);
// The rows of a record as an image (1-bit, 8-bit indexed or 24-bit), stored
// as the bitmap opcode `op` (0x90, 0x98 or 0x9a) stores them; nothing, with
// `failure` set, when they cannot be read.
std::optional<raster::Surface> read_bitmap_rows(ByteReader& in, std::uint16_t op, BitmapRecord& rec,
                                                PlaybackEnd& failure);

// Opcode verbs (low three bits) of the shape and region opcodes.
inline constexpr int kFrame = 0, kPaint = 1, kErase = 2, kInvert = 3, kFill = 4;

// The radial points of a QuickDraw arc (degrees clockwise from twelve
// o'clock, relative to the rectangle), for the context's arc and pie calls.
struct ArcRadials {
  raster::IntPoint first, last;
};
ArcRadials arc_radials(const raster::IntRect& r, int start, int extent);

// The smallest rectangle holding every point (each as one pixel).
raster::IntRect bounds_of(std::span<const raster::IntPoint> points);

// Swaps the pen, brush and mix for one drawing call and puts them back.
class ToolSwap {
 public:
  explicit ToolSwap(raster::DeviceContext& dc) : dc_(dc), pen_(dc.pen()), brush_(dc.brush()), mix_(dc.mix()) {}
  ~ToolSwap() {
    dc_.set_pen(pen_);
    dc_.set_brush(brush_);
    dc_.set_mix(mix_);
  }
  ToolSwap(const ToolSwap&) = delete;
  ToolSwap& operator=(const ToolSwap&) = delete;

 private:
  raster::DeviceContext& dc_;
  raster::Pen pen_;
  raster::Brush brush_;
  raster::Mix mix_;
};

// Puts a device context's clip region back at the end of a scope.
class ClipRestorer {
 public:
  explicit ClipRestorer(raster::DeviceContext& dc) : dc_(dc), saved_(dc.clip()) {}
  ~ClipRestorer() { dc_.set_clip(std::move(saved_)); }
  ClipRestorer(const ClipRestorer&) = delete;
  ClipRestorer& operator=(const ClipRestorer&) = delete;

 private:
  raster::DeviceContext& dc_;
  std::optional<raster::Region> saved_;
};

// A QuickDraw rectangle (top, left, bottom, right) as (left top right bottom).
raster::IntRect read_rect_at(ByteReader& in);
// The frame in a PICT's bytes 2-9.
raster::IntRect header_frame(std::span<const std::uint8_t> data);

class PictPlayer {
 public:
  PictPlayer(raster::DeviceContext& dc, std::span<const std::uint8_t> data, const PictureInfo& info,
             const raster::IntRect& destination, const PlaybackOptions& options);
  ~PictPlayer();
  PlaybackResult run();

 private:
  enum class Step { next, end };

  std::uint16_t read_opcode();
  Step act(std::uint16_t op);
  Step skip(std::size_t n);
  Step skip_counted(std::size_t extra);

  // State changes.
  Step clip_to_region();
  void select_pen();
  void set_pen_size(int v, int h);
  void set_pen_pattern(const raster::Pattern8& p);
  void set_foreground(raster::Color c);
  void extended_header();

  // Reading operands.
  raster::Pattern8 read_pattern();
  raster::Color read_rgb();
  raster::IntRect read_rect();  // top, left, bottom, right
  raster::IntPoint read_point();  // v, h

  // Drawing.
  void line(raster::IntPoint from, raster::IntPoint to);
  Step shape(std::uint16_t op);
  void rect_op(int verb, const raster::IntRect& r);
  void round_rect_op(int verb, const raster::IntRect& r);
  void oval_op(int verb, const raster::IntRect& r);
  void arc_op(int verb, const raster::IntRect& r, int start, int extent);
  Step polygon_op(int verb);

  // Bitmaps and pixmaps (picture_bitmaps.cpp).
  Step bits_op(std::uint16_t op);

  // Complete playback: what the title player stops at or skips
  // (picture_complete.cpp; text in picture_text.cpp, regions and pixel
  // patterns in picture_areas.cpp, QuickTime in picture_quicktime.cpp).
  // Nothing when the title player's handling applies.
  std::optional<Step> act_complete(std::uint16_t op);
  std::optional<Step> skip_reserved(std::uint16_t op);
  void note_undrawn(std::uint16_t op);
  void set_text_state(std::uint16_t op);
  Step font_name();
  Step text_op(std::uint16_t op);
  // A region operand mapped onto the destination; nothing when malformed.
  std::optional<raster::Region> read_mapped_region(ByteReader& in) const;
  // Narrows the clip to `region` (logical) within the destination.
  void intersect_clip(const raster::Region& region);
  Step clip_to_whole_region();
  Step region_op(int verb);
  Step pixel_pattern_op(std::uint16_t op);
  bool pixel_pattern_fills(int verb) const;
  // Fills the shape that `draw` makes with the current brush and no pen
  // (drawn into a mask over `bounds`) with the pixel pattern.
  void fill_with_pixel_pattern(const raster::IntRect& bounds,
                               const std::function<void(raster::DeviceContext&)>& draw);
  void pixel_pattern_shape(int kind, int verb, const raster::IntRect& r, int start, int extent);
  Step quicktime_op();

  raster::DeviceContext& dc_;
  ByteReader in_;
  bool version2_;
  raster::IntRect destination_;
  PictureMapping mapping_;
  std::optional<raster::Region> start_clip_;
  PlaybackEnd end_ = PlaybackEnd::finished;

  raster::Color fore_ = raster::colors::black;
  raster::Color pen_color_ = raster::colors::black;
  raster::PenStyle pen_style_ = raster::PenStyle::inside_frame;
  int pen_width_ = 1;
  bool pen_hidden_ = false;
  raster::Pattern8 pattern_ = raster::Pattern8::black();
  raster::IntSize oval_;
  raster::IntPoint pen_location_;
  raster::Color op_color_;
  raster::IntRect same_rect_;

  std::unique_ptr<CompleteState> complete_;  // complete playback only
  std::size_t undrawn_ = 0;
  std::uint16_t first_undrawn_ = 0;
};

}  // namespace orvane::graphics::detail
