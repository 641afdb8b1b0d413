// The geometry module: rectangles, points, regions and polygons.
#pragma once

namespace orvane {

void register_geometry();

}  // namespace orvane
