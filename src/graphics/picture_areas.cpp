// Areas in complete playback: region operands (Clip with its whole region,
// the region opcodes, the masks of bitmaps) and pixel patterns.
#include <algorithm>
#include <vector>

#include "graphics/picture_complete.h"
#include "graphics/picture_player.h"
#include "platform/raster/pixel_view.h"

namespace orvane::graphics::detail {

using raster::IntRect;
using raster::Region;

namespace {

// More rectangles than this make a region operand malformed: no picture
// needs them, and a few kilobytes of crafted data could otherwise ask for
// tens of millions.
constexpr std::size_t kMaxRegionRects = std::size_t{1} << 20;

// Toggles each inversion point of `line` in the sorted set `current`.
void toggle(std::vector<int>& current, std::vector<int>& line) {
  std::sort(line.begin(), line.end());
  std::vector<int> result;
  std::set_symmetric_difference(current.begin(), current.end(), line.begin(), line.end(),
                                std::back_inserter(result));
  // A point listed twice on one line toggles twice: std's difference of
  // multisets leaves one copy of each pair, which the pass below removes.
  std::vector<int> unique;
  for (std::size_t i = 0; i < result.size(); ++i) {
    std::size_t j = i;
    while (j + 1 < result.size() && result[j + 1] == result[i]) ++j;
    if ((j - i + 1) % 2 == 1) unique.push_back(result[i]);
    i = j;
  }
  current = std::move(unique);
}

// The scan data of a QuickDraw region: for each line where the region
// changes, its v, the h of each point where inside and outside swap, and
// 0x7fff; a final 0x7fff. Data that ends early keeps the bands read.
std::optional<Region> decode_scan_lines(std::span<const std::uint8_t> data, const IntRect& box) {
  ByteReader in(data);
  std::vector<IntRect> rects;
  std::vector<int> current, line;
  int band_top = 0;
  bool started = false;
  auto emit = [&](int bottom) {
    for (std::size_t i = 0; i + 1 < current.size(); i += 2)
      rects.push_back({current[i], band_top, current[i + 1], bottom});
  };
  for (;;) {
    const int v = in.s16be();
    if (in.failed() || v == 0x7fff) break;
    if (started && v > band_top) emit(v);
    if (rects.size() > kMaxRegionRects) return std::nullopt;
    line.clear();
    for (int h = in.s16be(); in.ok() && h != 0x7fff; h = in.s16be()) line.push_back(h);
    toggle(current, line);
    band_top = v;
    started = true;
  }
  if (started && !current.empty()) emit(box.bottom);
  Region region = Region::from_rects(rects);
  region.intersect(box);
  return region;
}

// Erodes the region by d pixels along one axis: a pixel stays when every
// pixel within d of it along the axis is in the region. Erosions by
// [-c, c] and by a shift s <= 2c + 1 combine into [-(c + s), c + s], so
// the steps double.
Region eroded(Region r, int d, bool horizontal) {
  for (int covered = 0; covered < d && !r.empty();) {
    const int step = std::min(2 * covered + 1, d - covered);
    Region ahead = r, behind = r;
    ahead.offset(horizontal ? step : 0, horizontal ? 0 : step);
    behind.offset(horizontal ? -step : 0, horizontal ? 0 : -step);
    r.intersect(ahead);
    r.intersect(behind);
    covered += step;
  }
  return r;
}

raster::Color average_color(const raster::Surface& tile) {
  std::uint64_t r = 0, g = 0, b = 0, n = 0;
  for (int y = 0; y < std::min(tile.height(), 64); ++y)
    for (int x = 0; x < std::min(tile.width(), 64); ++x, ++n) {
      raster::Color c = tile.color_at(x, y);
      r += c.r;
      g += c.g;
      b += c.b;
    }
  if (n == 0) return raster::colors::black;
  return {static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n), static_cast<std::uint8_t>(b / n)};
}

}  // namespace

// --- Regions -------------------------------------------------------------------

std::optional<Region> PictPlayer::read_mapped_region(ByteReader& in) const {
  const std::uint16_t size = in.u16be();
  if (size < 10) return std::nullopt;
  const IntRect box = read_rect_at(in);
  std::span<const std::uint8_t> scan = in.bytes(size - 10u);
  if (in.failed()) return std::nullopt;
  std::optional<Region> region = size == 10 ? Region(box) : decode_scan_lines(scan, box);
  if (!region) return std::nullopt;
  std::vector<IntRect> mapped;
  mapped.reserve(region->rect_count());
  region->for_each_rect([&](const IntRect& r) { mapped.push_back(mapping_.map(r)); });
  return Region::from_rects(mapped);
}

void PictPlayer::intersect_clip(const Region& region) {
  Region device = region.intersected(Region(destination_));
  device.offset(dc_.origin().x, dc_.origin().y);
  device.intersect(dc_.drawable_region());
  dc_.set_clip(std::move(device));
}

PictPlayer::Step PictPlayer::clip_to_whole_region() {
  std::optional<Region> region = read_mapped_region(in_);
  if (!region) {
    end_ = PlaybackEnd::truncated;
    return Step::end;
  }
  // As the title player: each clip replaces the previous one, within the
  // clip the playback started with.
  dc_.set_clip(start_clip_);
  intersect_clip(*region);
  return Step::next;
}

PictPlayer::Step PictPlayer::region_op(int verb) {
  std::optional<Region> region = read_mapped_region(in_);
  if (!region) {
    end_ = PlaybackEnd::truncated;
    return Step::end;
  }
  if (region->empty()) return Step::next;
  switch (verb) {
    case kFrame: {
      // The pen's width inside the region's edge, as FrameRgn draws it.
      if (pen_hidden_) break;
      Region inside = eroded(eroded(*region, pen_width_, true), pen_width_, false);
      ToolSwap swap(dc_);
      dc_.set_brush(raster::Brush::solid(pen_color_));
      dc_.paint_region(region->subtracted(inside));
      break;
    }
    case kPaint: case kFill:
      if (pixel_pattern_fills(verb))
        fill_with_pixel_pattern(region->bounds(), [&](raster::DeviceContext& dc) {
          dc.fill_region(*region, dc.brush());
        });
      else
        dc_.fill_region(*region, raster::Brush::with_pattern(pattern_));
      break;
    case kErase:
      dc_.fill_region(*region, raster::Brush::with_pattern(raster::Pattern8::white()));
      break;
    default:
      dc_.invert_region(*region);
      break;
  }
  return Step::next;
}

// --- Pixel patterns --------------------------------------------------------------

PictPlayer::Step PictPlayer::pixel_pattern_op(std::uint16_t op) {
  const std::uint16_t type = in_.u16be();
  const raster::Pattern8 one_bit = read_pattern();
  std::optional<raster::Surface> tile;
  if (type == 1) {
    // A full-colour pattern: a pixmap, its colour table and its rows.
    BitmapRecord rec = read_bitmap_record(in_, true);
    if (in_.failed()) return Step::next;
    if (!rec.pixmap) {
      end_ = PlaybackEnd::truncated;
      return Step::end;
    }
    PlaybackEnd failure = PlaybackEnd::truncated;
    tile = read_bitmap_rows(in_, 0x98, rec, failure);
    if (!tile) {
      end_ = failure;
      return Step::end;
    }
  } else if (type == 2) {
    // An RGB pattern: QuickDraw dithers the colour; it is drawn solid.
    raster::Color c = read_rgb();
    tile = raster::Surface::try_create(1, 1, raster::PixelFormat::rgb24);
    if (tile) tile->set_pixel(0, 0, c.rgb());
  }
  if (in_.failed()) return Step::next;
  switch (op) {
    case 0x12:  // BkPixPat: erasing uses the background colour, as BkPat is passed over
      break;
    case 0x13:
      set_pen_pattern(one_bit);
      if (tile) {
        // Lines and frames are drawn solid in the pattern's average colour.
        pen_style_ = raster::PenStyle::solid;
        pen_color_ = average_color(*tile);
        select_pen();
      }
      complete_->pixel_pattern = std::move(tile);
      break;
    default:
      pattern_ = one_bit;
      dc_.set_brush(raster::Brush::with_pattern(pattern_));
      complete_->pixel_pattern = std::move(tile);
      break;
  }
  return Step::next;
}

bool PictPlayer::pixel_pattern_fills(int verb) const {
  return complete_ && complete_->pixel_pattern && (verb == kPaint || verb == kFill);
}

void PictPlayer::fill_with_pixel_pattern(const IntRect& bounds,
                                         const std::function<void(raster::DeviceContext&)>& draw) {
  const IntRect box = bounds.intersected(dc_.clip_box());
  if (box.empty()) return;
  auto mask = raster::Surface::try_create(box.width(), box.height(), raster::PixelFormat::mono1);
  auto image = raster::Surface::try_create(box.width(), box.height(), raster::PixelFormat::rgb24);
  if (!mask || !image) return;
  {
    // The shape's pixels become 1 in the mask.
    raster::DeviceContext shape(*mask);
    shape.set_origin({-box.left, -box.top});
    shape.set_pen(raster::Pen::null_pen());
    shape.set_brush(raster::Brush::solid(raster::colors::white));
    draw(shape);
  }
  // The pattern is tiled from the surface's corner, as QuickDraw aligns
  // patterns with the port.
  const raster::Surface& tile = *complete_->pixel_pattern;
  const int tw = tile.width(), th = tile.height();
  for (int y = 0; y < box.height(); ++y) {
    const int ty = ((box.top + dc_.origin().y + y) % th + th) % th;
    for (int x = 0; x < box.width(); ++x) {
      const int tx = ((box.left + dc_.origin().x + x) % tw + tw) % tw;
      image->set_pixel(x, y, tile.color_at(tx, ty).rgb());
    }
  }
  const raster::PixelView mask_view = raster::view_of(*mask);
  raster::DeviceContext::TransferOptions options;
  options.mask = &mask_view;
  options.op = raster::RasterOp::src_copy;
  options.back_op = raster::RasterOp::dst_copy;
  dc_.transfer(box, {raster::view_of(*image), image->bounds(), raster::SourceColors::table, raster::colors::white},
               options);
}

void PictPlayer::pixel_pattern_shape(int kind, int verb, const IntRect& r, int start, int extent) {
  std::function<void(raster::DeviceContext&)> draw;
  switch (kind) {
    case 3:
      fill_with_pixel_pattern(r, [&](raster::DeviceContext& dc) { dc.fill_rect(r, dc.brush()); });
      return;
    case 4: {
      const raster::IntSize corner{mapping_.scale_x(oval_.width), mapping_.scale_y(oval_.height)};
      draw = [&, corner](raster::DeviceContext& dc) { dc.round_rect(r, corner); };
      break;
    }
    case 5:
      draw = [&](raster::DeviceContext& dc) { dc.ellipse(r); };
      break;
    default: {
      if (extent == 0) return;
      const ArcRadials radials = arc_radials(r, start, extent);
      draw = [&, radials](raster::DeviceContext& dc) { dc.pie(r, radials.last, radials.first); };
      break;
    }
  }
  fill_with_pixel_pattern(r, draw);
  if (verb != kPaint) return;
  // Painting outlines the shape with the pen too.
  ToolSwap swap(dc_);
  dc_.set_brush(raster::Brush::hollow());
  draw(dc_);
}

}  // namespace orvane::graphics::detail
