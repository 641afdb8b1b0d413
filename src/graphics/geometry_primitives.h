// The geometry module's registration, one routine per group of primitives.
#pragma once

#include "core/symbols.h"
#include "core/value.h"

namespace orvane {

void register_rect_primitives();
void register_point_primitives();
void register_region_primitives();
void register_polygon_primitives();

namespace geometry {
// t or nil.
inline Value truth(bool b) { return b ? g_sym.t : kNil; }
}  // namespace geometry

}  // namespace orvane
