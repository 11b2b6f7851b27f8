#pragma once

#include "gl/Vec2d.h"

namespace Orvane::Lumisk {

// A 2-D affine transform: the rows [a b tx] and [c d ty] of a 3x3 matrix whose
// last row is 0 0 1. A point p maps to (a*px + b*py + tx, c*px + d*py + ty).
struct Affine2D {
  double a = 0.0;
  double b = 0.0;
  double tx = 0.0;
  double c = 0.0;
  double d = 0.0;
  double ty = 0.0;

  // true: the identity; false: all six values 0.
  explicit Affine2D(bool identity);

  // Writes the inverse into out and returns true; returns false and leaves
  // out untouched when |determinant| < 1e-6.
  bool Invert(Affine2D& out) const;
  // The same with another floor: false when |determinant| < singularBelow.
  bool Invert(Affine2D& out, double singularBelow) const;

  // this = this x other: a point goes through other first, then the old this.
  void Multiply(const Affine2D& other);

  // this = T(position) R(degrees) S(scale) T(-anchor); a positive angle turns
  // +x towards +y. Nothing of the previous value survives.
  void Compose(const Vec2d& anchor, const Vec2d& position, const Vec2d& scale, double degrees);

  // The image of point p.
  Vec2d Apply(const Vec2d& p) const;
};

}  // namespace Orvane::Lumisk
