// Checks of the CPU model itself, so that the GL tests compare against a
// model that is known to blur correctly.
#include <cmath>

#include <gtest/gtest.h>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {
namespace {

Image Uniform(int w, int h, float value) {
  return Image(w, h, {1.0f, value, value, value});
}

// A generated map of unit scales and no feather about the given centre.
ReferenceSettings MapAbout(int type, double centerX, double centerY) {
  ReferenceSettings s;
  s.mapType = type;
  s.centerX = centerX;
  s.centerY = centerY;
  return s;
}

// Red of pixel (x, y) of a w-wide numbered frame: every pixel distinct.
float Numbered(int w, int x, int y) {
  return static_cast<float>(x + w * y) / 16.0f;
}

Image NumberedFrame(int w, int h) {
  Image input(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) input.At(x, y) = {1.0f, Numbered(w, x, y), 0.0f, 0.0f};
  return input;
}

TEST(CpuReferenceGrid, HalvedGridAveragesTwoByTwoBlocks) {
  const Image grid = GridMeans(NumberedFrame(4, 2), 2);
  ASSERT_EQ(grid.width, 2);
  ASSERT_EQ(grid.height, 1);
  // Red of the block {0, 1, 4, 5} / 16 is 2.5 / 16; alpha 1.
  EXPECT_FLOAT_EQ(grid.At(0, 0)[0], 2.5f / 16.0f);
  EXPECT_FLOAT_EQ(grid.At(1, 0)[0], 4.5f / 16.0f);
  EXPECT_FLOAT_EQ(grid.At(0, 0)[3], 1.0f);
  const Image sums = InclusiveRowSums(grid);
  ASSERT_EQ(sums.width, 2);
  EXPECT_FLOAT_EQ(sums.At(0, 0)[3], 0.5f);
  EXPECT_FLOAT_EQ(sums.At(1, 0)[3], 1.0f);
  EXPECT_FLOAT_EQ(sums.At(1, 0)[0], 7.0f / 16.0f - 1.0f);
}

// The last column and row of blocks of an odd frame take the edge pixel for
// the one beyond the frame.
TEST(CpuReferenceGrid, OddFramesEndInHalfBlocksOfTheEdgePixel) {
  const Image input = NumberedFrame(5, 3);
  const Image grid = GridMeans(input, 2);
  ASSERT_EQ(grid.width, 3);
  ASSERT_EQ(grid.height, 2);
  auto value = [](int x, int y) { return Numbered(5, x, y); };
  EXPECT_FLOAT_EQ(grid.At(1, 0)[0], (value(2, 0) + value(3, 0) + value(2, 1) + value(3, 1)) / 4.0f);
  EXPECT_FLOAT_EQ(grid.At(2, 0)[0], (value(4, 0) + value(4, 1)) / 2.0f);
  EXPECT_FLOAT_EQ(grid.At(0, 1)[0], (value(0, 2) + value(1, 2)) / 2.0f);
  EXPECT_FLOAT_EQ(grid.At(2, 1)[0], value(4, 2));
  // Step 1 keeps every pixel.
  EXPECT_FLOAT_EQ(GridMeans(input, 1).At(3, 2)[0], value(3, 2));
}

TEST(CpuReferenceGather, CircularRowsOfRadiusThree) {
  const float expected[] = {0.0f, std::sqrt(5.0f), std::sqrt(8.0f), 3.0f, std::sqrt(8.0f), std::sqrt(5.0f), 0.0f};
  for (int i = -3; i <= 3; ++i) EXPECT_NEAR(RowHalfWidth(0, i, 3.0f), expected[i + 3], 1e-5f) << "row " << i;
}

TEST(CpuReferenceGather, HexagonAndPentagonRows) {
  EXPECT_NEAR(RowHalfWidth(1, 0, 8.0), 0.866025 * 8.0, 1e-5);
  EXPECT_NEAR(RowHalfWidth(1, 4, 8.0), 0.866025 * 8.0, 1e-5);
  EXPECT_NEAR(RowHalfWidth(1, 6, 8.0), 0.866025 * 4.0, 1e-5);
  EXPECT_NEAR(RowHalfWidth(1, 8, 8.0), 0.0, 1e-5);
  // Apex towards the first rows (negative offsets), flat edge below at
  // cos 36 degrees of the radius, where the width is sin 36 degrees.
  EXPECT_NEAR(RowHalfWidth(2, -10, 10.0), 0.0, 1e-9);
  EXPECT_NEAR(RowHalfWidth(2, 0, 10.0), 8.5065, 1e-3);
  EXPECT_NEAR(RowHalfWidth(2, 8, 10.0), 5.9, 0.01);
  EXPECT_EQ(RowHalfWidth(2, 9, 10.0), 0.0);
  // Between the apex and the widest corners (cos 18, sin 18) the sides are straight.
  const double corner = 18.0 * M_PI / 180.0;
  EXPECT_NEAR(RowHalfWidth(2, -7, 10.0), 10.0 * std::cos(corner) * 0.3 / (1.0 - std::sin(corner)), 1e-9);
}

TEST(CpuReferenceGather, UniformFrameStaysUniformToEveryEdge) {
  for (int shape = 0; shape < 3; ++shape) {
    for (int quality = 0; quality < 2; ++quality) {
      ReferenceSettings s;
      s.blurAmount = 24;
      s.lensShape = shape;
      s.quality = quality;
      const Image out = RenderReference(Uniform(37, 21, 1.0f), s);
      for (const Texel& t : out.texels)
        for (float v : t) ASSERT_NEAR(v, 1.0f, 1e-5f) << "shape " << shape << " quality " << quality;
    }
  }
}

TEST(CpuReferenceGather, BlurZeroGivesTheSharpPixelExactly) {
  Image input(9, 5);
  for (size_t i = 0; i < input.texels.size(); ++i)
    input.texels[i] = {1.0f, static_cast<float>(i % 7) / 7.0f, 0.25f, static_cast<float>(i % 3) / 3.0f};
  ReferenceSettings s;
  s.blurAmount = 0;
  const Image out = RenderReference(input, s);
  for (size_t i = 0; i < input.texels.size(); ++i) EXPECT_EQ(out.texels[i], input.texels[i]);
  s.blurAmount = 30;
  s.focalDistance = 1.0;  // no map: the scale is |1 - 1| = 0
  EXPECT_EQ(RenderReference(input, s).texels, input.texels);
}

TEST(CpuReferenceGather, BrightBlockKeepsItsEnergy) {
  Image input(64, 64, {1.0f, 0.0f, 0.0f, 0.0f});
  for (int y = 28; y < 36; ++y)
    for (int x = 28; x < 36; ++x) input.At(x, y) = {1.0f, 1.0f, 1.0f, 1.0f};
  for (int shape = 0; shape < 3; ++shape) {
    ReferenceSettings s;
    s.blurAmount = 12;
    s.lensShape = shape;
    const Image out = RenderReference(input, s);
    double energy = 0.0;
    for (const Texel& t : out.texels) energy += t[1];
    EXPECT_NEAR(energy, 64.0, 0.64) << "shape " << shape;
  }
}

TEST(CpuReferenceMaps, ValuesAtKnownPoints) {
  ReferenceSettings s = MapAbout(1, 50.0, 30.0);
  EXPECT_NEAR(GeneratedMapValue(s, 100, 60, 50.0f, 30.0f), 0.5f, 1e-6f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 50.5f, 2.5f), 0.0f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 50.5f, 57.5f), 1.0f);
  s.mapType = 2;
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 50.5f, 30.5f), 0.0f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 50.5f, 2.5f), 1.0f);
  s.mapType = 3;  // radius 100 / 3
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 50.5f, 30.5f), 1.0f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 90.5f, 30.5f), 0.0f);
  s.mapType = 4;
  const float r = 100.0f / 3.0f;
  EXPECT_NEAR(GeneratedMapValue(s, 100, 60, 50.0f + r, 30.0f + r), 0.25f, 1e-3f);
}

// A positive rotation turns +x towards +y: at 90 degrees the band edge runs
// down the rows and the value 1 lies on the side of (-sin, cos) = (-1, 0).
TEST(CpuReferenceMaps, RotationTurnsTheBandsClockwiseOnScreen) {
  ReferenceSettings s = MapAbout(1, 50.0, 30.0);
  s.rotation = 90.0;
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 5.5f, 30.5f), 1.0f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 95.5f, 30.5f), 0.0f);
  // Moving the centre moves the edge with it.
  s.centerX = 70.0;
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 60.5f, 30.5f), 1.0f);
  EXPECT_EQ(GeneratedMapValue(s, 100, 60, 80.5f, 30.5f), 0.0f);
}

TEST(CpuReferenceMaps, ThreeBandsWithWideFeatherKeepTheMiddleUp) {
  ReferenceSettings s = MapAbout(2, 960.0, 540.0);
  s.feather = 250.0;
  EXPECT_NEAR(GeneratedMapValue(s, 1920, 1080, 960.0f, 540.0f), 0.1f, 0.02f);
}

TEST(CpuReferenceMaps, ZeroScalesGiveZeroWithoutNaN) {
  struct Case {
    int type;
    double sx, sy;
  };
  const Case cases[] = {{1, 1.0, 0.0}, {2, 1.0, 0.0}, {3, 0.0, 1.0}, {3, 1.0, 0.0},
                        {4, 0.0, 1.0}, {4, 1.0, 0.0}, {4, 0.0, 0.0}};
  for (const Case& c : cases) {
    ReferenceSettings s;
    s.mapType = c.type;
    s.scaleX = c.sx;
    s.scaleY = c.sy;
    s.feather = 3.0;
    s.centerX = 16.0;
    s.centerY = 8.0;
    const Image map = GenerateMap(s, 32, 16);
    for (const Texel& t : map.texels) ASSERT_EQ(t[1], 0.0f) << "type " << c.type << " scales " << c.sx << " " << c.sy;
  }
}

TEST(CpuReferenceMaps, EllipseHasNoBrokenColumn) {
  // Odd widths put a pixel centre on the centre column, where the ellipse
  // distance has to be answered on its axis.
  struct Case {
    double sx, sy, rotation;
  };
  const Case cases[] = {{2.0, 1.0, 0.0}, {1.0, 2.0, 0.0}, {1.5, 0.5, 0.0}, {0.5, 1.5, 90.0}, {1.2, 0.6, 33.0}};
  for (const Case& c : cases) {
    ReferenceSettings s;
    s.mapType = 3;
    s.scaleX = c.sx;
    s.scaleY = c.sy;
    s.rotation = c.rotation;
    s.feather = 1.0;
    s.centerX = 31.5;
    s.centerY = 31.5;
    const Image map = GenerateMap(s, 63, 63);
    for (int y = 0; y < 63; ++y) {
      for (int x = 0; x < 63; ++x) {
        const float m = map.At(x, y)[1];
        ASSERT_TRUE(m >= 0.0f && m <= 1.0f) << x << "," << y << " scales " << c.sx << " " << c.sy;
      }
      // The centre column matches its neighbours' mean closely.
      const float centre = map.At(31, y)[1];
      const float sides = 0.5f * (map.At(30, y)[1] + map.At(32, y)[1]);
      ASSERT_NEAR(centre, sides, 0.35f) << "row " << y;
    }
  }
}

TEST(CpuReferenceMaps, EllipseAxisDistanceIsExact) {
  ReferenceSettings s;
  s.mapType = 3;
  s.scaleX = 2.0;  // a = 2r along x, b = r along y: x = 0 is the minor axis
  s.scaleY = 1.0;
  s.feather = 2.0;
  s.centerX = 30.5;
  s.centerY = 30.5;
  const float r = 61.0f / 3.0f;
  // On the minor axis the edge sits at distance b = r: value 0.5 there.
  EXPECT_NEAR(GeneratedMapValue(s, 61, 61, 30.5f, 30.5f + r), 0.5f, 1e-3f);
  EXPECT_NEAR(GeneratedMapValue(s, 61, 61, 30.5f + 2.0f * r, 30.5f), 0.5f, 1e-2f);
}

// Distances the geometry gives in closed form, each to 1e-9 pixel.
TEST(CpuReferenceMaps, EllipseDistanceAgreesWithTheGeometry) {
  struct Case {
    const char* label;
    double x, y, a, b, distance;
  };
  const double inner = std::hypot(20.0 * std::sqrt(1.0 - (11.25 / 60.0) * (11.25 / 60.0)), 11.25 - 10.0);
  const Case cases[] = {
      {"circle, outside", 30.0, 40.0, 20.0, 20.0, 30.0},
      {"circle, inside", -3.0, 4.0, 20.0, 20.0, -15.0},
      {"beyond the end of the major axis", 0.0, -75.0, 20.0, 60.0, 15.0},
      {"beyond the end of the minor axis", 26.0, 0.0, 20.0, 60.0, 6.0},
      {"centre of a tall ellipse: the minor semi-axis", 0.0, 0.0, 20.0, 60.0, -20.0},
      {"centre of a wide ellipse", 0.0, 0.0, 50.0, 30.0, -30.0},
      // On the major axis inside the evolute (|y| < b - a^2 / b) the nearest
      // points leave the axis: for (0, 10) the normal of the ellipse through
      // the point meets it at y0 = b^2 y / (b^2 - a^2) = 11.25.
      {"major axis inside the evolute", 0.0, 10.0, 20.0, 60.0, -inner},
      {"major axis beyond the evolute", 0.0, 55.0, 20.0, 60.0, -5.0},
      {"on the ellipse", 20.0 * std::cos(0.7), 60.0 * std::sin(0.7), 20.0, 60.0, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(EllipseDistance(c.x, c.y, c.a, c.b), c.distance, 1e-9) << c.label;
}

TEST(CpuReferenceGather, PreviewShowsTheBlurScale) {
  ReferenceSettings s;
  s.mapType = 1;
  s.feather = 0.0;
  s.centerX = 8.0;
  s.centerY = 8.0;
  s.showBlurMap = true;
  s.blurAmount = 5;
  s.focalDistance = 0.25;
  const Image out = RenderReference(Uniform(16, 16, 0.3f), s);
  EXPECT_FLOAT_EQ(out.At(3, 1)[1], 0.25f);   // map 0
  EXPECT_FLOAT_EQ(out.At(3, 14)[1], 0.75f);  // map 1
  EXPECT_FLOAT_EQ(out.At(3, 14)[0], 1.0f);
  s.invert = true;
  EXPECT_FLOAT_EQ(RenderReference(Uniform(16, 16, 0.3f), s).At(3, 1)[1], 0.75f);
}

}  // namespace
}  // namespace Orvane::Lumisk::Reference
