// A thin bright line and a lit pixel keep their energy and their place
// wherever they sit, on odd and even frames, on the full and the halved
// grid. The gather is a mean over the aperture, so away from the frame's
// edges a blur only moves light about: the output sums to the input. The
// light stays centred on the pixel it came from (step 1) or on the centre of
// that pixel's 2 x 2 block (step 2). The sources are float textures far
// brighter than white, so that the spread stays well inside 8 bits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "RenderHarness.h"

namespace Orvane::Lumisk::Testing {
namespace {

using Reference::Image;
using Reference::ReferenceSettings;

// Sum and centroid of the red channel of an image.
struct Light {
  double energy = 0.0;
  double x = 0.0;
  double y = 0.0;
};

Light Measure(const Image& image) {
  Light light;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const double v = image.At(x, y)[1];
      light.energy += v;
      light.x += v * (x + 0.5);
      light.y += v * (y + 0.5);
    }
  }
  light.x /= light.energy;
  light.y /= light.energy;
  return light;
}

// Where a pixel's light settles: its centre on the full grid, the centre of
// its 2 x 2 block on the halved one.
double Settled(int pixel, int quality) {
  return quality == 0 ? pixel + 0.5 : 2.0 * (pixel / 2) + 1.0;
}

ReferenceSettings Circular(int blur, int quality, double focalDistance = 0.0) {
  ReferenceSettings s;
  s.blurAmount = blur;
  s.quality = quality;
  s.focalDistance = focalDistance;
  return s;
}

// One to two thousand lit pixels of up to 170 levels: their 8-bit rounding
// moves the sum by far less than this.
constexpr double kEnergyTolerance = 0.01;
// The centroid of so many rounded pixels stays within a twentieth of a pixel.
constexpr double kPlaceTolerance = 0.05;

struct LineCase {
  int length;  // frame extent across the line (the line's distance from the edges)
  int at;      // the line's column (vertical) or row (horizontal)
  bool vertical;
};

// The example: a 201-pixel frame at blur 48, the line at 100 or 101,
// against 202 pixels; lines along and across the rows.
TEST_F(RendererTest, ThinLineKeepsItsEnergyAndPlace) {
  constexpr int kThickness = 21;  // frame extent along the line
  constexpr float kValue = 50.0f;
  const LineCase cases[] = {
      {201, 100, true},  {201, 101, true},  {202, 100, true},  {202, 101, true},
      {201, 100, false}, {201, 101, false}, {202, 100, false}, {202, 101, false},
  };
  for (const LineCase& c : cases) {
    const int width = c.vertical ? c.length : kThickness;
    const int height = c.vertical ? kThickness : c.length;
    Image input(width, height, {1.0f, 0.0f, 0.0f, 0.0f});
    for (int k = 0; k < kThickness; ++k) {
      const int x = c.vertical ? c.at : k;
      const int y = c.vertical ? k : c.at;
      input.At(x, y) = {1.0f, kValue, kValue, kValue};
    }
    for (int quality = 0; quality < 2; ++quality) {
      std::ostringstream label;
      label << (c.vertical ? "column " : "row ") << c.at << " of " << c.length << ", quality " << quality;
      const ReferenceSettings s = Circular(48, quality);
      const Image out = Render(input, s);
      const Light light = Measure(out);
      EXPECT_NEAR(light.energy / (kValue * kThickness), 1.0, kEnergyTolerance) << label.str();
      const double across = c.vertical ? light.x : light.y;
      EXPECT_NEAR(across, Settled(c.at, quality), kPlaceTolerance) << label.str();
      const LevelDifference d = MaxLevelDifference(out, Reference::RenderReference(input, s));
      EXPECT_LE(d.levels, Reference::kToleranceLevels) << label.str() << ": " << d.Describe();
    }
  }
}

struct PixelCase {
  int width, height, x, y;
};

// A lit pixel on frames odd and even in each direction, at both parities of
// its column and row. Its spread is the aperture, mirrored through the
// point where its light settles. Every pixel that sees the lit one has its
// whole aperture inside the frame (2R + 1 from the edges), since an aperture
// cut by the edge weighs what it keeps more. The radius, 22.5 pixels (11.25
// cells), is not whole: at a whole radius the rows at its ends are points,
// which single precision widens to a few thousandths of a cell, a level's
// worth at this brightness.
TEST_F(RendererTest, LitPixelKeepsItsEnergyAndPlaceAndSpreadsSymmetrically) {
  constexpr float kValue = 800.0f;
  const PixelCase cases[] = {
      {95, 93, 47, 46}, {95, 93, 48, 47}, {96, 94, 47, 46}, {96, 94, 48, 47}, {95, 94, 48, 46}, {96, 93, 47, 47},
  };
  for (const PixelCase& c : cases) {
    Image input(c.width, c.height, {1.0f, 0.0f, 0.0f, 0.0f});
    input.At(c.x, c.y) = {1.0f, kValue, kValue, kValue};
    for (int quality = 0; quality < 2; ++quality) {
      std::ostringstream label;
      label << "pixel " << c.x << ", " << c.y << " of " << c.width << " x " << c.height << ", quality " << quality;
      const ReferenceSettings s = Circular(25, quality, 0.1);
      const Image out = Render(input, s);
      const Light light = Measure(out);
      EXPECT_NEAR(light.energy / kValue, 1.0, kEnergyTolerance) << label.str();
      EXPECT_NEAR(light.x, Settled(c.x, quality), kPlaceTolerance) << label.str();
      EXPECT_NEAR(light.y, Settled(c.y, quality), kPlaceTolerance) << label.str();
      // Mirror images about the settling point, column by column and
      // row by row: equal but for the GPU's rounding, which differs
      // between the two sides by at most one 8-bit level.
      const auto mirrorX = static_cast<int>(2.0 * Settled(c.x, quality)) - 1;
      const auto mirrorY = static_cast<int>(2.0 * Settled(c.y, quality)) - 1;
      const std::vector<uint8_t> bytes = out.ToArgb8();
      int worst = 0;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
          const int mx = mirrorX - x;
          const int my = mirrorY - y;
          if (mx < 0 || mx >= c.width || my < 0 || my >= c.height) continue;
          const int here = bytes[out.Index(x, y) * 4 + 1];
          worst = std::max({worst, std::abs(here - bytes[out.Index(mx, y) * 4 + 1]),
                            std::abs(here - bytes[out.Index(x, my) * 4 + 1])});
        }
      }
      EXPECT_LE(worst, 1) << label.str();
      const LevelDifference d = MaxLevelDifference(out, Reference::RenderReference(input, s));
      EXPECT_LE(d.levels, Reference::kToleranceLevels) << label.str() << ": " << d.Describe();
    }
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
