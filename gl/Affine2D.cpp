#include "gl/Affine2D.h"

#include <cmath>

namespace Orvane::Lumisk {

namespace {
// The effect's degree-to-radian factor, slightly less than pi / 180; kept as
// this exact decimal so that stored projects turn by the same angles.
constexpr double kRadiansPerDegree = 0.017453292519943;
constexpr double kSingularDeterminant = 1e-6;
}  // namespace

Affine2D::Affine2D(bool identity) : a(identity ? 1.0 : 0.0), d(identity ? 1.0 : 0.0) {}

bool Affine2D::Invert(Affine2D& out) const {
  return Invert(out, kSingularDeterminant);
}

bool Affine2D::Invert(Affine2D& out, double singularBelow) const {
  const double det = d * a - b * c;
  if (det > -singularBelow && det < singularBelow) {
    return false;
  }
  const double r = 1.0 / det;
  out.a = d * r;
  out.b = -(b * r);
  out.tx = (ty * b - tx * d) * r;
  out.c = -(c * r);
  out.d = a * r;
  out.ty = (tx * c - ty * a) * r;
  return true;
}

void Affine2D::Multiply(const Affine2D& other) {
  const Affine2D left = *this;
  a = left.a * other.a + left.b * other.c;
  b = left.a * other.b + left.b * other.d;
  tx = left.a * other.tx + left.b * other.ty + left.tx;
  c = left.c * other.a + left.d * other.c;
  d = left.c * other.b + left.d * other.d;
  ty = left.c * other.tx + left.d * other.ty + left.ty;
}

void Affine2D::Compose(const Vec2d& anchor, const Vec2d& position, const Vec2d& scale, double degrees) {
  const double theta = degrees * kRadiansPerDegree;
  const double cosTheta = std::cos(theta);
  const double sinTheta = std::sin(theta);
  a = cosTheta * scale.x;
  b = -(sinTheta * scale.y);
  tx = position.x;
  c = sinTheta * scale.x;
  d = cosTheta * scale.y;
  ty = position.y;
  Affine2D moveAnchor(true);
  moveAnchor.tx = -anchor.x;
  moveAnchor.ty = -anchor.y;
  Multiply(moveAnchor);
}

Vec2d Affine2D::Apply(const Vec2d& p) const {
  return Vec2d(a * p.x + b * p.y + tx, c * p.x + d * p.y + ty);
}

}  // namespace Orvane::Lumisk
