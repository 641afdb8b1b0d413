// `obj-caption`: a text label drawn with text-box within its margins, in
// the alignment its object answers; with `fast-update?` a new title is
// drawn at once instead of waiting for the next paint.
#pragma once

#include "ui/window_peer.h"

namespace orvane::ui {

class CaptionPeer : public WindowPeer {
 public:
  void open(Value object) override;
  void paint() override;
  void set_title(Value title) override;

  bool fast_update() const { return fast_update_; }

 private:
  // The title's box: (margin, margin-top, right, bottom) of rect.
  raster::IntRect title_box() const;
  void draw_title(raster::DeviceContext& dc);

  bool fast_update_ = false;
};

}  // namespace orvane::ui
