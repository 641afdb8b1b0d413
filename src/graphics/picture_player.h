// The PICT walk: the drawing state of one playback and the opcode handlers.
// Internal to the picture player.
#pragma once

#include <optional>
#include <span>

#include "graphics/picture.h"
#include "graphics/picture_mapping.h"
#include "platform/byte_reader.h"
#include "platform/raster/device_context.h"

namespace orvane::graphics::detail {

// A QuickDraw rectangle (top, left, bottom, right) as (left top right bottom).
raster::IntRect read_rect_at(ByteReader& in);
// The frame in a PICT's bytes 2-9.
raster::IntRect header_frame(std::span<const std::uint8_t> data);

class PictPlayer {
 public:
  PictPlayer(raster::DeviceContext& dc, std::span<const std::uint8_t> data, const PictureInfo& info,
             const raster::IntRect& destination);
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
};

}  // namespace orvane::graphics::detail
