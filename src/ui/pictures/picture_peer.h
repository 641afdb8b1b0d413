// `obj-picture`: a window that shows a picture — from its `content` handle,
// its `picture-record`, its `picture-resource` or the file of its
// `real-pathname` — at natural size or scaled into its view rect, or the
// offscreen buffer the title gave it as a cache.
#pragma once

#include "ui/window_peer.h"

namespace orvane::ui {

class PicturePeer : public WindowPeer {
 public:
  void mark_values(ValueMarker& m) override;
  void open(Value object) override;
  void paint() override;

  // The cache: an offscreen Value, or nil for none (error 2 for anything
  // else). The offscreen stays its owner's; the peer keeps it alive.
  void set_cache(Value offscreen);
  Value cache() const { return cache_; }

 private:
  void draw_source(raster::DeviceContext& dc);

  Value cache_ = kNil;
};

}  // namespace orvane::ui
