// The 3D projection of the drawing layer: a 4 x 4 matrix of doubles set
// from a view direction, a position, a distance, an origin and scales, and
// the projection of points onto the port.
#pragma once

#include <array>

#include "platform/raster/geometry.h"

namespace orvane::graphics {

using Matrix3d = std::array<double, 16>;

struct Vector3 {
  double x = 0, y = 0, z = 0;
};

Matrix3d make_3d_transformation(Vector3 direction, Vector3 position, double distance, int origin_x,
                                int origin_y, int scale_x, int scale_y);

// The point a 3D point projects to (each coordinate rounded half up).
raster::IntPoint project_3d(const Matrix3d& m, Vector3 p);

}  // namespace orvane::graphics
