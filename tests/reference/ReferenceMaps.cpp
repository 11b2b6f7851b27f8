#include <algorithm>
#include <cmath>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {
namespace {

double Smoothstep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// A soft edge at distance d from the edge line, rising from 0 outside (d < -f)
// to 1 inside (d > f).
double SoftEdge(double d, double feather) {
  return Smoothstep(-feather, feather, d);
}

// A view position in the shape's own axes: relative to the centre and turned
// back by the rotation, u along (cos r, sin r), v along (-sin r, cos r).
struct ShapeAxes {
  double u, v;
};

ShapeAxes ToShapeAxes(const ReferenceSettings& s, double x, double y) {
  const double theta = s.rotation * std::acos(-1.0) / 180.0;
  const double dx = x - s.centerX;
  const double dy = y - s.centerY;
  return {std::cos(theta) * dx + std::sin(theta) * dy, -std::sin(theta) * dx + std::cos(theta) * dy};
}

// Two bands: the edge line through the centre along u; 1 on the side v points
// to, 0 on the other. Three bands: edges at v = -h/6 and h/6 (h the frame's
// height times the vertical scale); 0 between them, 1 outside, the second
// edge rising over what the first left.
double Bands(const ReferenceSettings& s, int height, double v, double feather) {
  if (s.mapType == 1) return SoftEdge(v, feather);
  const double sixth = height * s.scaleY / 6.0;
  const double first = SoftEdge(v + sixth, feather);
  const double second = SoftEdge(v - sixth, feather);
  return (1.0 - first) * (1.0 - second) + second;
}

}  // namespace

// The map's shape in view pixels: bands, an ellipse (a circle while the scales
// are within 0.01 of each other) or a rectangle about the centre, turned by the
// rotation; r is a third of the longer side, and the soft edges are the
// feather (at least 0.5) wide on each side. A zero scale leaves no shape
// (0); a zero horizontal scale collapses the bands' placement, which puts
// every pixel at the start of their axis, the frame's first row.
double GeneratedMapValue(const ReferenceSettings& s, int width, int height, double x, double y) {
  const double feather = std::max(s.feather, 0.5);
  const double r = std::max(width, height) / 3.0;
  const ShapeAxes p = ToShapeAxes(s, x, y);
  switch (s.mapType) {
    case 1:
    case 2:
      if (s.scaleY == 0.0) return 0.0;
      return Bands(s, height, s.scaleX == 0.0 ? -height * s.scaleY / 2.0 : p.v, feather);
    case 3:
      if (s.scaleX == 0.0 || s.scaleY == 0.0) return 0.0;
      if (std::fabs(s.scaleX - s.scaleY) <= 0.01) return SoftEdge(r * s.scaleX - std::hypot(p.u, p.v), feather);
      return SoftEdge(-EllipseDistance(p.u, p.v, r * s.scaleX, r * s.scaleY), feather);
    case 4:
      if (s.scaleX == 0.0 || s.scaleY == 0.0) return 0.0;
      return SoftEdge(r * s.scaleX - std::fabs(p.u), feather) * SoftEdge(r * s.scaleY - std::fabs(p.v), feather);
    default:
      return 0.0;
  }
}

// Texel (i, j) holds the map at the pixel's centre.
Image GenerateMap(const ReferenceSettings& settings, int width, int height) {
  Image map(width, height);
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      const auto m = static_cast<float>(GeneratedMapValue(settings, width, height, i + 0.5, j + 0.5));
      map.At(i, j) = {1.0f, m, m, m};
    }
  }
  return map;
}

}  // namespace Orvane::Lumisk::Reference
