// Block transfers, stretched transfers, bitmap transfers and scrolling.
#include <algorithm>
#include <bit>
#include <unordered_map>

#include "platform/raster/device_context.h"
#include "platform/raster/paint.h"
#include "platform/raster/pixel_access.h"

namespace orvane::raster {

namespace {

std::uint32_t read_raw(const PixelView& v, const std::uint8_t* row, int x) {
  switch (v.bit_count) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xfu;
    case 8: return row[x];
    case 16: return std::uint32_t{row[2 * x]} | (std::uint32_t{row[2 * x + 1]} << 8);
    case 24: return std::uint32_t{row[3 * x]} | (std::uint32_t{row[3 * x + 1]} << 8) |
                    (std::uint32_t{row[3 * x + 2]} << 16);
    default: {
      const std::uint8_t* p = row + 4 * x;
      return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
             (std::uint32_t{p[3]} << 24);
    }
  }
}

// One channel of a direct pixel scaled to 8 bits (low bit counts repeat
// their high bits, so full intensity stays full).
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  std::uint32_t bits = static_cast<std::uint32_t>(std::popcount(mask >> shift));
  std::uint32_t v = (pixel & mask) >> shift;
  if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
  std::uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | v;
    filled += static_cast<int>(bits);
  }
  return static_cast<std::uint8_t>(out >> (filled - 8));
}

// Turns source pixels into destination values and colours.
class SourceReader {
 public:
  SourceReader(const TransferSource& source, const Surface& dst, const DrawingState& dst_state)
      : view_(source.pixels), dst_(dst), source_(source) {
    indexed_ = view_.bit_count <= 8;
    to_mono_by_background_ = dst.format() == PixelFormat::mono1 && source.colors == SourceColors::device;
    if (!indexed_) return;
    bool mono_device = view_.bit_count == 1 && source.colors == SourceColors::device;
    for (std::uint32_t i = 0; i < 256; ++i) {
      Color c = i < view_.table.size() ? view_.table[i] : colors::black;
      if (mono_device) c = i == 0 ? dst_state.text_color : dst_state.background_color;
      colors_[i] = c;
      if (mono_device && dst.format() == PixelFormat::mono1) values_[i] = i & 1;
      else values_[i] = convert(c);
    }
  }

  Color color(const std::uint8_t* row, int x) const {
    std::uint32_t raw = read_raw(view_, row, x);
    if (indexed_) return colors_[raw & 0xff];
    if (view_.bit_count == 24) return Color::from_rgb(raw);
    return {channel(raw, view_.red_mask), channel(raw, view_.green_mask), channel(raw, view_.blue_mask)};
  }

  std::uint32_t value(const std::uint8_t* row, int x) {
    std::uint32_t raw = read_raw(view_, row, x);
    if (indexed_) return values_[raw & 0xff];
    return convert(color(row, x));
  }

  bool indexed() const { return indexed_; }
  const std::uint32_t* index_values() const { return values_; }

 private:
  std::uint32_t convert(Color c) {
    if (to_mono_by_background_) return c == source_.background ? 1u : 0u;
    if (dst_.format() == PixelFormat::rgb24 || dst_.format() == PixelFormat::rgb32) return c.rgb();
    auto [it, inserted] = nearest_.try_emplace(c.rgb(), 0);
    if (inserted) it->second = dst_.value_of(c);
    return it->second;
  }

  const PixelView& view_;
  const Surface& dst_;
  const TransferSource& source_;
  bool indexed_ = false;
  bool to_mono_by_background_ = false;
  std::uint32_t values_[256] = {};
  Color colors_[256] = {};
  std::unordered_map<std::uint32_t, std::uint32_t> nearest_;
};

// The source columns (or rows) feeding destination position i of n: the
// nearest pixel centre, and the range a shrinking combines.
struct Sampling {
  std::vector<int> nearest, from, to;
};

Sampling sample_axis(int dst_start, int first, int count, int dst_size, int src_start, int src_size) {
  Sampling s;
  s.nearest.resize(count);
  s.from.resize(count);
  s.to.resize(count);
  for (int k = 0; k < count; ++k) {
    long long i = first + k - dst_start;
    if (dst_size == src_size) {
      s.nearest[k] = s.from[k] = static_cast<int>(src_start + i);
      s.to[k] = s.from[k] + 1;
      continue;
    }
    s.nearest[k] = static_cast<int>(src_start + ((2 * i + 1) * src_size) / (2LL * dst_size));
    s.from[k] = static_cast<int>(src_start + (i * src_size) / dst_size);
    s.to[k] = std::max(s.from[k] + 1, static_cast<int>(src_start + ((i + 1) * src_size) / dst_size));
  }
  return s;
}

}  // namespace

void DeviceContext::transfer(const IntRect& dst, const TransferSource& source, const TransferOptions& options) {
  const IntRect d = dst.translated(state_.origin);
  const IntRect s = source.rect;
  if (d.empty() || s.empty() || source.pixels.first_row == nullptr) return;
  Region area(d);
  area.intersect(drawable_region());
  if (area.empty()) return;
  const IntRect box = area.bounds();

  const bool combine = (state_.stretch_mode == StretchMode::black_on_white ||
                        state_.stretch_mode == StretchMode::white_on_black) &&
                       (s.width() > d.width() || s.height() > d.height()) && !options.key && !options.mask;
  const bool combine_and = state_.stretch_mode == StretchMode::black_on_white;
  Sampling cols = sample_axis(d.left, box.left, box.width(), d.width(), s.left, s.width());
  Sampling rows = sample_axis(d.top, box.top, box.height(), d.height(), s.top, s.height());

  const PixelView& view = source.pixels;
  SourceReader reader(source, *surface_, state_);
  const bool needs_pattern = uses_pattern(options.op) || (options.mask && uses_pattern(options.back_op));
  Paint pattern = needs_pattern ? resolve(state_.brush) : Paint{};
  const bool plain_copy = options.op == RasterOp::src_copy && !options.key && !options.mask && !combine;
  const bool direct_destination =
      surface_->format() == PixelFormat::rgb24 || surface_->format() == PixelFormat::rgb32;

  auto in_source = [&](int x, int y) { return x >= 0 && y >= 0 && x < view.width && y < view.height; };
  auto mask_bit = [&](int sx, int sy) -> bool {
    int mx = sx + options.mask_offset.x, my = sy + options.mask_offset.y;
    if (mx < 0 || my < 0 || mx >= options.mask->width || my >= options.mask->height) return false;
    return read_raw(*options.mask, options.mask->row(my), mx) != 0;
  };

  with_pixel_access(surface_->format(), [&](auto access) {
    area.for_each_rect([&](const IntRect& r) {
      for (int y = r.top; y < r.bottom; ++y) {
        const int ry = y - box.top;
        const int sy = rows.nearest[ry];
        if (sy < 0 || sy >= view.height) continue;
        const std::uint8_t* src_row = view.row(sy);
        std::uint8_t* dst_row = surface_->row(y);
        // The common copies: indexed bytes through the table, and 24-bit
        // pixels onto direct colour.
        if (plain_copy && reader.indexed() && view.bit_count == 8) {
          const std::uint32_t* lut = reader.index_values();
          for (int x = r.left; x < r.right; ++x) {
            int sx = cols.nearest[x - box.left];
            if (sx >= 0 && sx < view.width) access.put(dst_row, x, lut[src_row[sx]]);
          }
          continue;
        }
        if (plain_copy && view.bit_count == 24 && direct_destination) {
          for (int x = r.left; x < r.right; ++x) {
            int sx = cols.nearest[x - box.left];
            if (sx < 0 || sx >= view.width) continue;
            const std::uint8_t* p = src_row + 3 * sx;
            access.put(dst_row, x, std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16));
          }
          continue;
        }
        for (int x = r.left; x < r.right; ++x) {
          const int cx = x - box.left;
          const int sx = cols.nearest[cx];
          if (!in_source(sx, sy)) continue;
          std::uint32_t value;
          if (combine) {
            value = combine_and ? 0xffffffffu : 0u;
            for (int yy = rows.from[ry]; yy < rows.to[ry]; ++yy) {
              if (yy < 0 || yy >= view.height) continue;
              for (int xx = cols.from[cx]; xx < cols.to[cx]; ++xx) {
                if (xx < 0 || xx >= view.width) continue;
                std::uint32_t v = reader.value(view.row(yy), xx);
                value = combine_and ? (value & v) : (value | v);
              }
            }
          } else {
            if (options.key && reader.color(src_row, sx) == *options.key) continue;
            value = reader.value(src_row, sx);
          }
          if (plain_copy) {
            access.put(dst_row, x, value);
            continue;
          }
          RasterOp op = options.op;
          if (options.mask && !mask_bit(sx, sy)) op = options.back_op;
          std::uint32_t p = needs_pattern ? pattern.at(x, y) : 0;
          access.put(dst_row, x, apply_raster_op(op, p, value, access.get(dst_row, x)));
        }
      }
    });
  });
}

namespace {
DeviceContext::TransferOptions options_for(RasterOp op) {
  DeviceContext::TransferOptions options;
  options.op = op;
  return options;
}
}  // namespace

TransferSource DeviceContext::as_source(const IntRect& logical_rect) const {
  TransferSource s;
  s.pixels = view_of(*surface_);
  s.rect = logical_rect.translated(state_.origin);
  s.colors = SourceColors::device;
  s.background = state_.background_color;
  return s;
}

void DeviceContext::bit_blit(const IntRect& dst, const DeviceContext& src, IntPoint src_pos, RasterOp op) {
  if (!uses_source(op)) {
    pattern_blit(dst, op);
    return;
  }
  transfer(dst, src.as_source(IntRect::from_size(src_pos, dst.size())), options_for(op));
}

void DeviceContext::stretch_blit(const IntRect& dst, const DeviceContext& src, const IntRect& src_rect,
                                 RasterOp op) {
  if (!uses_source(op)) {
    pattern_blit(dst, op);
    return;
  }
  transfer(dst, src.as_source(src_rect), options_for(op));
}

void DeviceContext::transparent_blit(const IntRect& dst, const DeviceContext& src, const IntRect& src_rect,
                                     Color key) {
  TransferOptions options = options_for(RasterOp::src_copy);
  options.key = key;
  transfer(dst, src.as_source(src_rect), options);
}

void DeviceContext::mask_blit(const IntRect& dst, const DeviceContext& src, IntPoint src_pos,
                              const Surface& mask, IntPoint mask_pos, RasterOp fore, RasterOp back) {
  PixelView mask_view = view_of(mask);
  if (mask_view.bit_count != 1) return;
  TransferSource source = src.as_source(IntRect::from_size(src_pos, dst.size()));
  IntPoint device_src = source.rect.top_left();
  TransferOptions options = options_for(fore);
  options.mask = &mask_view;
  options.mask_offset = mask_pos - device_src;
  options.back_op = back;
  transfer(dst, source, options);
}

void DeviceContext::stretch_dib(const IntRect& dst, const PixelView& dib, const IntRect& src_rect, RasterOp op) {
  if (!uses_source(op)) {
    pattern_blit(dst, op);
    return;
  }
  TransferSource source{dib, src_rect, SourceColors::table, colors::white};
  transfer(dst, source, options_for(op));
}

Region DeviceContext::scroll(const IntRect& r, int dx, int dy) {
  Region uncovered(r);
  IntRect moved = r.translated(dx, dy).intersected(r);
  if (!moved.empty()) uncovered.subtract(Region(moved));
  Region area(moved.translated(state_.origin));
  area.intersect(drawable_region());
  if (!area.empty()) {
    // Copy through a scratch buffer so that overlapping rows are read first.
    IntRect box = area.bounds();
    IntRect src_box = box.translated(-dx, -dy);
    std::vector<std::uint32_t> scratch(static_cast<std::size_t>(box.width()) * box.height());
    with_pixel_access(surface_->format(), [&](auto access) {
      for (int y = 0; y < box.height(); ++y) {
        int sy = src_box.top + y;
        if (sy < 0 || sy >= surface_->height()) continue;
        const std::uint8_t* row = surface_->row(sy);
        for (int x = 0; x < box.width(); ++x) {
          int sx = src_box.left + x;
          if (sx >= 0 && sx < surface_->width())
            scratch[static_cast<std::size_t>(y) * box.width() + x] = access.get(row, sx);
        }
      }
      area.for_each_rect([&](const IntRect& rr) {
        for (int y = rr.top; y < rr.bottom; ++y) {
          std::uint8_t* row = surface_->row(y);
          for (int x = rr.left; x < rr.right; ++x)
            access.put(row, x, scratch[static_cast<std::size_t>(y - box.top) * box.width() + (x - box.left)]);
        }
      });
    });
  }
  return uncovered;
}

}  // namespace orvane::raster
