#include "graphics/geometry_module.h"

#include "graphics/geometry_primitives.h"

namespace orvane {

void register_geometry() {
  register_rect_primitives();
  register_point_primitives();
  register_region_primitives();
  register_polygon_primitives();
}

}  // namespace orvane
