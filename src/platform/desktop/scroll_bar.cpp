#include "platform/desktop/scroll_bar.h"

namespace orvane::desktop {

int ScrollBar::set(const ScrollInfo& info) {
  if (info.mask & SIF_RANGE) {
    min_ = info.min;
    max_ = std::max(info.min, info.max);
  }
  if (info.mask & SIF_PAGE) page_ = info.page;
  const long long range = static_cast<long long>(max_) - min_ + 1;
  if (static_cast<long long>(page_) > range) page_ = static_cast<unsigned>(range);
  if (info.mask & SIF_POS) pos_ = info.pos;
  pos_ = clamp(pos_);
  track_pos_ = pos_;
  return pos_;
}

int ScrollBar::max_pos() const {
  if (page_ == 0) return max_;
  return std::max(min_, max_ - static_cast<int>(page_) + 1);
}

int ScrollBar::track_length(const raster::IntRect& bar) const {
  const int length = vertical_ ? bar.height() : bar.width();
  return std::max(0, length - 2 * kScrollBarSize);
}

int ScrollBar::thumb_length(const raster::IntRect& bar) const {
  const int track = track_length(bar);
  int thumb = kScrollBarSize;
  if (page_ > 0) {
    const long long range = static_cast<long long>(max_) - min_ + 1;
    thumb = static_cast<int>(static_cast<long long>(track) * page_ / std::max(1LL, range));
    thumb = std::max(thumb, kMinimumThumb);
  }
  return std::min(thumb, track);
}

raster::IntRect ScrollBar::arrow_rect(const raster::IntRect& bar, bool first) const {
  if (vertical_) {
    const int h = std::min(kScrollBarSize, bar.height() / 2);
    return first ? raster::IntRect{bar.left, bar.top, bar.right, bar.top + h}
                 : raster::IntRect{bar.left, bar.bottom - h, bar.right, bar.bottom};
  }
  const int w = std::min(kScrollBarSize, bar.width() / 2);
  return first ? raster::IntRect{bar.left, bar.top, bar.left + w, bar.bottom}
               : raster::IntRect{bar.right - w, bar.top, bar.right, bar.bottom};
}

raster::IntRect ScrollBar::thumb_rect(const raster::IntRect& bar) const {
  const int track = track_length(bar);
  const int thumb = thumb_length(bar);
  if (track <= 0 || thumb <= 0 || thumb >= track || max_pos() <= min_) return {};
  const int span = max_pos() - min_;
  const int offset =
      static_cast<int>(static_cast<long long>(track - thumb) * (track_pos_ - min_) / span);
  if (vertical_) {
    const int top = bar.top + kScrollBarSize + offset;
    return {bar.left, top, bar.right, top + thumb};
  }
  const int left = bar.left + kScrollBarSize + offset;
  return {left, bar.top, left + thumb, bar.bottom};
}

ScrollPart ScrollBar::part_at(const raster::IntRect& bar, raster::IntPoint p) const {
  if (!bar.contains(p)) return ScrollPart::none;
  if (arrow_rect(bar, true).contains(p)) return ScrollPart::line_up;
  if (arrow_rect(bar, false).contains(p)) return ScrollPart::line_down;
  const raster::IntRect thumb = thumb_rect(bar);
  if (thumb.empty()) return ScrollPart::none;
  if (thumb.contains(p)) return ScrollPart::thumb;
  const bool before = vertical_ ? p.y < thumb.top : p.x < thumb.left;
  return before ? ScrollPart::page_up : ScrollPart::page_down;
}

int ScrollBar::pos_for_thumb_offset(const raster::IntRect& bar, int offset) const {
  const int room = track_length(bar) - thumb_length(bar);
  if (room <= 0) return min_;
  offset = std::clamp(offset, 0, room);
  const int span = max_pos() - min_;
  return clamp(min_ + static_cast<int>((static_cast<long long>(offset) * span + room / 2) / room));
}

}  // namespace orvane::desktop
