#include <algorithm>
#include <cmath>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {

// The least distance from the point to the ellipse's points (a cos t, b sin t),
// signed by whether the point lies inside. The quarter of the ellipse facing
// the point is scanned at 1024 angles, then the best angle's neighbourhood is
// narrowed by golden-section search to 1e-13 radians: the distance is then
// exact to far below 1e-6 pixel for ellipses a few thousand pixels across.
double EllipseDistance(double x, double y, double a, double b) {
  const double px = std::fabs(x);
  const double py = std::fabs(y);
  auto distance = [&](double t) { return std::hypot(a * std::cos(t) - px, b * std::sin(t) - py); };
  constexpr int kSamples = 1024;
  const double quarter = std::acos(-1.0) / 2.0;
  const double spacing = quarter / kSamples;
  int best = 0;
  for (int k = 1; k <= kSamples; ++k) {
    if (distance(k * spacing) < distance(best * spacing)) best = k;
  }
  double lo = std::max(0.0, (best - 1) * spacing);
  double hi = std::min(quarter, (best + 1) * spacing);
  const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
  while (hi - lo > 1e-13) {
    const double m1 = hi - golden * (hi - lo);
    const double m2 = lo + golden * (hi - lo);
    if (distance(m1) < distance(m2))
      hi = m2;
    else
      lo = m1;
  }
  const double nearest = std::min({distance(lo), distance(hi), distance(0.5 * (lo + hi))});
  const bool inside = (px / a) * (px / a) + (py / b) * (py / b) < 1.0;
  return inside ? -nearest : nearest;
}

}  // namespace Orvane::Lumisk::Reference
