#include "graphics/projection.h"

#include <algorithm>
#include <cmath>

namespace orvane::graphics {

Matrix3d make_3d_transformation(Vector3 a, Vector3 b, double distance, int ox, int oy, int sx, int sy) {
  double r = std::sqrt(a.x * a.x + a.y * a.y);
  double u = 1, v = 0;
  if (r != 0) {
    u = a.y / r;
    v = a.x / r;
  }
  double big_b = -distance;
  Matrix3d m{};
  m[0] = sx * u;
  m[1] = a.z * sy * v;
  m[2] = ox;
  m[3] = a.x / big_b;
  m[4] = -sx * v;
  m[5] = a.z * sy * u;
  m[6] = oy;
  m[7] = a.y / big_b;
  m[8] = 0;
  m[9] = -r * sy;
  m[10] = 0;
  m[11] = a.z / big_b;
  m[12] = sx * (-b.x * u + b.y * v);
  m[13] = sy * (a.z * (-b.x) * v + a.z * (-b.y) * u + r * b.z);
  m[14] = 0;
  m[15] = (a.z * (-b.z) + a.y * (-b.y) + a.x * (-b.x)) / big_b + 1;
  return m;
}

raster::IntPoint project_3d(const Matrix3d& m, Vector3 p) {
  double w = m[11] * p.z + m[7] * p.y + m[3] * p.x + m[15];
  double x = (m[9] * p.z + m[5] * p.y + m[1] * p.x + m[13]) / w + m[6];
  double y = (m[4] * p.y + m[0] * p.x + m[8] * p.z + m[12]) / w + m[2];
  // A point on the eye's plane (w = 0) or beyond any coordinate lands at the
  // nearest 16-bit coordinate instead of overflowing.
  auto coordinate = [](double c) {
    if (std::isnan(c)) return 0;
    return static_cast<int>(std::clamp(std::floor(c + 0.5), -32768.0, 32767.0));
  };
  return {coordinate(x), coordinate(y)};
}

}  // namespace orvane::graphics
