#pragma once

// The lens blur as the effect defines it, computed on the CPU in double
// precision, for the GL tests to compare with. It follows the definitions,
// not the shaders: the grid is made of block means, an aperture row adds the
// exact integral of the grid row over its span, the ellipse distance comes
// from a search along the ellipse, and the maps from their shapes in the
// view. So a shader that misreads what it computes disagrees with it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvane::Lumisk::Reference {

using Texel = std::array<float, 4>;

// How far an 8-bit GL output may stand from this reference: the GPU sums in
// single precision where the reference sums in double, and the output is
// rounded once to 8 bits, so a value near a rounding boundary can tip by one.
constexpr int kToleranceLevels = 1;

// An image as a float texture holds it: four floats per pixel, row 0 first.
// Frames from the host keep the host's A, R, G, B order in the four slots.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Texel> texels;

  Image() = default;
  Image(int w, int h, Texel fill = {0.0f, 0.0f, 0.0f, 0.0f});

  Texel& At(int x, int y) { return texels[Index(x, y)]; }
  const Texel& At(int x, int y) const { return texels[Index(x, y)]; }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }

  // 8-bit host pixels (A, R, G, B bytes) to 0..1 floats, and back with
  // rounding to the nearest level and clamping, as a UNORM8 store does.
  static Image FromArgb8(int w, int h, const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> ToArgb8() const;
};

// The settings of one render, in the renderer's units.
struct ReferenceSettings {
  int blurAmount = 0;  // blur strength in pixels
  int quality = 0;     // 0 full grid, 1 halved grid
  int lensShape = 0;   // 0 circular, 1 hexagon, anything else pentagon
  int mapType = 0;     // 0 none, 1..4 generated, 5 custom
  double focalDistance = 0.0;
  bool showBlurMap = false;
  bool invert = false;
  // Generated map shape: scales are fractions, 0 or at least 0.001.
  double feather = 0.0;
  double centerX = 0.0;
  double centerY = 0.0;
  double scaleX = 1.0;
  double scaleY = 1.0;
  double rotation = 0.0;  // degrees, +x towards +y
  // Custom map (map type 5), in host channel order; null means no layer.
  const Image* customMap = nullptr;
};

// Grid step of a quality: 1 for every pixel, 2 for the halved grid.
int GridStep(int quality);

// The grid of a step, in R, G, B, A order: cell (c, r) is the mean of the
// step x step block of pixels from (c * step, r * step); a block that runs
// past the last column or row takes the edge pixel for the missing ones.
Image GridMeans(const Image& input, int step);

// Running sums along each row of (cell - 0.5), up to and including the cell.
Image InclusiveRowSums(const Image& grid);

// Half-width in cells of aperture row i (row offset from the centre, in
// cells) of the lens of radius R > 0.
double RowHalfWidth(int lensShape, int i, double R);

// Signed distance from (x, y) to the ellipse of semi-axes a along x and b
// along y about the origin, negative inside.
double EllipseDistance(double x, double y, double a, double b);

// Map value m, 0 to 1, of a generated map type 1..4 at view position (x, y)
// (pixel centres at half-integers) of a width x height view.
double GeneratedMapValue(const ReferenceSettings& settings, int width, int height, double x, double y);

// The generated map as the blur-map texture holds it: (1, m, m, m).
Image GenerateMap(const ReferenceSettings& settings, int width, int height);

// Blur scale s of every pixel: the distance of the map value from the focal
// distance (the preview's grey).
std::vector<double> BlurScales(const Image& input, const ReferenceSettings& settings);

// The whole effect on an input frame in host channel order; the result is
// in host channel order too.
Image RenderReference(const Image& input, const ReferenceSettings& settings);

}  // namespace Orvane::Lumisk::Reference
