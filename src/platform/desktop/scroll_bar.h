// A standard scroll bar's state and geometry: range, page, position, and
// where the arrows, the track and the thumb lie in the bar's rectangle.
#pragma once

#include <algorithm>

#include "platform/desktop/message.h"
#include "platform/raster/geometry.h"

namespace orvane::desktop {

// The classic metrics: a bar is 16 pixels across, its arrows are square.
inline constexpr int kScrollBarSize = 16;
inline constexpr int kMinimumThumb = 8;

// The parts of a bar, as the mouse finds them.
enum class ScrollPart { none, line_up, page_up, thumb, page_down, line_down };

class ScrollBar {
 public:
  explicit ScrollBar(bool vertical) : vertical_(vertical) {}

  bool vertical() const { return vertical_; }
  int min() const { return min_; }
  int max() const { return max_; }
  unsigned page() const { return page_; }
  int pos() const { return pos_; }
  int track_pos() const { return track_pos_; }
  void set_track_pos(int p) { track_pos_ = clamp(p); }

  // SetScrollInfo's rules: the page is at most the range's size, the
  // position stays within min .. max - page + 1. Answers the new position.
  int set(const ScrollInfo& info);
  ScrollInfo get() const { return {SIF_ALL, min_, max_, page_, pos_, track_pos_}; }
  // The largest position the bar allows.
  int max_pos() const;
  int clamp(int p) const { return std::clamp(p, min_, std::max(min_, max_pos())); }

  // --- Geometry within the bar's rectangle --------------------------------
  // The thumb, or an empty rect when the bar is too small or has no range.
  raster::IntRect thumb_rect(const raster::IntRect& bar) const;
  raster::IntRect arrow_rect(const raster::IntRect& bar, bool first) const;
  ScrollPart part_at(const raster::IntRect& bar, raster::IntPoint p) const;
  // The position that puts the thumb's leading edge at `offset` pixels
  // into the track (thumb dragging).
  int pos_for_thumb_offset(const raster::IntRect& bar, int offset) const;
  int track_length(const raster::IntRect& bar) const;
  int thumb_length(const raster::IntRect& bar) const;

 private:
  bool vertical_;
  int min_ = 0;
  int max_ = 100;
  unsigned page_ = 0;
  int pos_ = 0;
  int track_pos_ = 0;
};

}  // namespace orvane::desktop
