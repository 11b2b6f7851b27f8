#pragma once

namespace Orvane::Lumisk {

// A pair of doubles: sizes and positions in view pixels.
struct Vec2d {
  double x = 0.0;
  double y = 0.0;

  Vec2d() = default;
  Vec2d(double xValue, double yValue) : x(xValue), y(yValue) {}

  // Sets both components to 0 and returns the vector.
  Vec2d& Zero();
  void Set(double xValue, double yValue);
  // (x * s, y * s); this vector is unchanged.
  Vec2d Scaled(double s) const;
};

}  // namespace Orvane::Lumisk
