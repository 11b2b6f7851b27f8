#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

Vec2d& Vec2d::Zero() {
  x = 0.0;
  y = 0.0;
  return *this;
}

void Vec2d::Set(double xValue, double yValue) {
  x = xValue;
  y = yValue;
}

Vec2d Vec2d::Scaled(double s) const {
  return Vec2d(x * s, y * s);
}

}  // namespace Orvane::Lumisk
