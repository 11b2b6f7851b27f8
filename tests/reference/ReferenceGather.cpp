#include <algorithm>
#include <cmath>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {
namespace {

using Sum = std::array<double, 4>;

constexpr double kPi = 3.14159265358979323846;

// Host order (A, R, G, B) to R, G, B, A.
Sum Gbar(const Texel& t) {
  return {t[1], t[2], t[3], t[0]};
}

double Mix(double a, double b, double t) {
  return a + (b - a) * t;
}

// Luminance with the weights 0.2125, 0.7154, 0.0721, times alpha.
double ColorWeight(const Sum& rgba) {
  return (rgba[0] * 0.2125 + rgba[1] * 0.7154 + rgba[2] * 0.0721) * rgba[3];
}

// A texture read with linear filtering, clamped to edge, at texture
// coordinates (u, v): the blend of the four texels around the point by its
// distance to their centres.
Texel SampleLinear(const Image& image, double u, double v) {
  const double x = u * image.width - 0.5;
  const double y = v * image.height - 0.5;
  const double x0 = std::floor(x);
  const double y0 = std::floor(y);
  auto texel = [&](double i, double j) -> const Texel& {
    return image.At(static_cast<int>(std::clamp(i, 0.0, image.width - 1.0)),
                    static_cast<int>(std::clamp(j, 0.0, image.height - 1.0)));
  };
  Texel out{};
  for (size_t c = 0; c < 4; ++c) {
    const double top = Mix(texel(x0, y0)[c], texel(x0 + 1, y0)[c], x - x0);
    const double bottom = Mix(texel(x0, y0 + 1)[c], texel(x0 + 1, y0 + 1)[c], x - x0);
    out[c] = static_cast<float>(Mix(top, bottom, y - y0));
  }
  return out;
}

// Map value at a pixel: a generated map at the pixel's centre, a custom layer
// stretched over the frame, and no layer reads as weight 0.
double MapValueAt(const ReferenceSettings& s, int width, int height, int i, int j) {
  if (s.mapType >= 1 && s.mapType <= 4) return GeneratedMapValue(s, width, height, i + 0.5, j + 0.5);
  if (s.mapType == 5 && s.customMap != nullptr)
    return ColorWeight(Gbar(SampleLinear(*s.customMap, (i + 0.5) / width, (j + 0.5) / height)));
  return 0.0;
}

// Half-width at height h of the regular polygon of circumradius 1 with a
// corner at (0, 1): the furthest crossing of the line at h with its edges,
// 0 where the line misses it.
double PolygonHalfWidth(int corners, double h) {
  double widest = 0.0;
  for (int k = 0; k < corners; ++k) {
    const double a0 = kPi / 2.0 + 2.0 * kPi * k / corners;
    const double a1 = a0 + 2.0 * kPi / corners;
    const double y0 = std::sin(a0), y1 = std::sin(a1);
    if (y0 == y1 || (h - y0) * (h - y1) > 0.0) continue;
    const double x = std::cos(a0) + (std::cos(a1) - std::cos(a0)) * (h - y0) / (y1 - y0);
    widest = std::max(widest, std::fabs(x));
  }
  return widest;
}

// A grid row with its running sums, so that a span's integral costs two look-ups.
class GridRows {
public:
  explicit GridRows(const Image& grid) : gridImage(grid), sums(grid.texels.size() + static_cast<size_t>(grid.height)) {
    for (int r = 0; r < grid.height; ++r) {
      Sum sum{};
      sums[Slot(0, r)] = sum;
      for (int k = 0; k < grid.width; ++k) {
        for (size_t c = 0; c < 4; ++c) sum[c] += grid.At(k, r)[c];
        sums[Slot(k + 1, r)] = sum;
      }
    }
  }

  // Integral of grid row r (cell k covering [k, k + 1)) over [x0, x1],
  // 0 <= x0 <= x1 <= the grid's width.
  Sum Integral(int r, double x0, double x1) const {
    const Sum a = Running(r, x0), b = Running(r, x1);
    return {b[0] - a[0], b[1] - a[1], b[2] - a[2], b[3] - a[3]};
  }

private:
  size_t Slot(int k, int r) const {
    return static_cast<size_t>(r) * static_cast<size_t>(gridImage.width + 1) + static_cast<size_t>(k);
  }

  Sum Running(int r, double x) const {
    const int k = std::min(static_cast<int>(std::floor(x)), gridImage.width - 1);
    Sum s = sums[Slot(k, r)];
    for (size_t c = 0; c < 4; ++c) s[c] += (x - k) * gridImage.At(k, r)[c];
    return s;
  }

  const Image& gridImage;
  std::vector<Sum> sums;
};

// Mean of the grid over the aperture of radius R cells about grid position
// (px, py): rows one cell apart, each adding its span's integral clipped to
// the row and weighing its clipped width. A row between two grid rows is
// their blend by distance to the row centres; beyond the first or last grid
// row it is that edge row.
Sum ApertureMean(const GridRows& rows, const Image& grid, int lensShape, double px, double py, double R) {
  Sum total{};
  double weight = 0.0;
  const int n = static_cast<int>(R);
  for (int i = -n; i <= n; ++i) {
    const double w = RowHalfWidth(lensShape, i, R);
    const double x0 = std::clamp(px - w, 0.0, static_cast<double>(grid.width));
    const double x1 = std::clamp(px + w, 0.0, static_cast<double>(grid.width));
    weight += x1 - x0;
    const double y = py + i - 0.5;
    const double r0 = std::floor(y);
    const Sum upper = rows.Integral(static_cast<int>(std::clamp(r0, 0.0, grid.height - 1.0)), x0, x1);
    const Sum lower = rows.Integral(static_cast<int>(std::clamp(r0 + 1.0, 0.0, grid.height - 1.0)), x0, x1);
    for (size_t c = 0; c < 4; ++c) total[c] += Mix(upper[c], lower[c], y - r0);
  }
  for (double& value : total) value /= weight;
  return total;
}

}  // namespace

// Circle: sqrt(R^2 - i^2). Hexagon: corners at the top and bottom rows
// (i = -R, R). Pentagon: its apex at row -R, towards the first rows.
double RowHalfWidth(int lensShape, int i, double R) {
  if (lensShape == 0) return std::sqrt(std::max(0.0, R * R - static_cast<double>(i) * i));
  if (lensShape == 1) return R * PolygonHalfWidth(6, i / R);
  return R * PolygonHalfWidth(5, -i / R);
}

// s = |map value (or 1 without a map; 1 - m when inverted) - focal distance|.
std::vector<double> BlurScales(const Image& input, const ReferenceSettings& settings) {
  std::vector<double> scales;
  scales.reserve(input.texels.size());
  for (int j = 0; j < input.height; ++j) {
    for (int i = 0; i < input.width; ++i) {
      const double m = MapValueAt(settings, input.width, input.height, i, j);
      const double value = settings.mapType == 0 ? 1.0 : (settings.invert ? 1.0 - m : m);
      scales.push_back(std::fabs(value - settings.focalDistance));
    }
  }
  return scales;
}

// Every pixel is the mean of the grid over the lens of radius blur x s
// grid cells about its centre; below 10 cells it fades linearly towards the
// sharp pixel (all sharp at radius 0). The preview replaces it by (s, s, s, 1).
Image RenderReference(const Image& input, const ReferenceSettings& settings) {
  const int step = GridStep(settings.quality);
  const Image grid = GridMeans(input, step);
  const GridRows rows(grid);
  const std::vector<double> scales = BlurScales(input, settings);
  Image out(input.width, input.height);
  for (int j = 0; j < input.height; ++j) {
    for (int i = 0; i < input.width; ++i) {
      const double s = scales[input.Index(i, j)];
      const double R = settings.blurAmount * s / step;
      Sum colour = Gbar(input.At(i, j));
      if (R > 0.0) {
        const Sum mean = ApertureMean(rows, grid, settings.lensShape, (i + 0.5) / step, (j + 0.5) / step, R);
        for (size_t c = 0; c < 4; ++c)
          colour[c] = Mix(colour[c], std::clamp(mean[c], 0.0, 1.0), std::min(R / 10.0, 1.0));
      }
      if (settings.showBlurMap) colour = {s, s, s, 1.0};
      out.At(i, j) = {static_cast<float>(colour[3]), static_cast<float>(colour[0]), static_cast<float>(colour[1]),
                      static_cast<float>(colour[2])};
    }
  }
  return out;
}

}  // namespace Orvane::Lumisk::Reference
