// The mapping of picture coordinates onto the destination rectangle: a
// scale per axis (destination size over source size) and a shift, applied
// with integer arithmetic, results truncated to 16 bits.
#pragma once

#include <cstdint>

#include "platform/raster/geometry.h"

namespace orvane::graphics {

class PictureMapping {
 public:
  PictureMapping(const raster::IntRect& source, const raster::IntRect& destination);

  // Sets the source again (after an extended version-2 header).
  void set_source(const raster::IntRect& source);
  // Moves the source origin (the Origin opcode); turns the shift on.
  void move_origin(int dh, int dv);

  raster::IntPoint map(int x, int y) const;
  // A rectangle mapped corner by corner.
  raster::IntRect map(const raster::IntRect& r) const;
  // Lengths scaled by the current scale (no shift).
  int scale_x(int dx) const;
  int scale_y(int dy) const;

  bool scaled() const { return scaled_x_ || scaled_y_; }
  bool shifted() const { return shifted_; }
  const raster::IntRect& source() const { return source_; }

 private:
  void set_up();

  raster::IntRect source_;
  raster::IntRect destination_;
  bool scaled_x_ = false, scaled_y_ = false, shifted_ = false;
};

}  // namespace orvane::graphics
