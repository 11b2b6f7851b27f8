// Every blur map through the "Show" preview, which draws the blur scale s
// (the map value's distance from the focal distance) as grey, and the
// blurred result with a map. Tolerance 1 level: single precision and four
// Newton steps on the GPU against the exact shapes in double, one 8-bit rounding.
#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Orvane::Lumisk::Testing {
namespace {

using Reference::Image;
using Reference::ReferenceSettings;

constexpr int kWidth = 41;  // odd: a pixel centre lies on the centre column
constexpr int kHeight = 31;

struct MapCase {
  const char* label;
  int type;
  double feather = 0.0;
  double scaleX = 1.0;
  double scaleY = 1.0;
  double rotation = 0.0;
  double dx = 0.0;  // centre offset from the frame's centre
  double dy = 0.0;
  bool invert = false;
  double focal = 0.0;
};

ReferenceSettings PreviewOf(const MapCase& c) {
  ReferenceSettings s;
  s.blurAmount = 10;
  s.mapType = c.type;
  s.feather = c.feather;
  s.scaleX = c.scaleX;
  s.scaleY = c.scaleY;
  s.rotation = c.rotation;
  s.centerX = kWidth / 2.0 + c.dx;
  s.centerY = kHeight / 2.0 + c.dy;
  s.invert = c.invert;
  s.focalDistance = c.focal;
  s.showBlurMap = true;
  return s;
}

const MapCase kCases[] = {
    {"two bands", 1},
    {"two bands, feather", 1, 6.0},
    {"two bands, turned", 1, 2.0, 1.0, 1.0, 30.0},
    {"two bands, moved", 1, 1.0, 1.0, 1.0, 0.0, 5.0, -7.0},
    {"three bands", 2, 1.0},
    {"three bands, squeezed and moved", 2, 2.0, 1.0, 0.5, 0.0, 0.0, 4.0},
    {"three bands, turned", 2, 1.0, 1.0, 1.0, -60.0},
    {"circle", 3, 3.0},
    {"circle, scaled", 3, 1.0, 0.6, 0.605},
    {"ellipse, wide", 3, 1.0, 1.4, 0.6},
    {"ellipse, tall", 3, 1.0, 0.5, 1.3},
    {"ellipse, turned and moved", 3, 2.0, 1.2, 0.7, 25.0, -4.0, 3.0},
    {"square", 4, 2.0},
    {"rectangle, turned", 4, 1.0, 0.8, 0.5, 45.0},
    {"square, moved", 4, 0.0, 0.5, 0.5, 0.0, 9.0, 6.0},
    {"circle, zero scale", 3, 2.0, 0.0, 1.0},
    {"square, zero scale", 4, 2.0, 1.0, 0.0},
    {"two bands, zero vertical scale", 1, 2.0, 1.0, 0.0},
    {"three bands, zero vertical scale", 2, 2.0, 1.0, 0.0},
    {"two bands, zero horizontal scale", 1, 2.0, 0.0, 1.0},
    {"two bands, inverted", 1, 3.0, 1.0, 1.0, 0.0, 0.0, 0.0, true},
    {"circle, focal distance", 3, 4.0, 1.0, 1.0, 0.0, 0.0, 0.0, false, 0.6},
    {"square, inverted, focal distance", 4, 3.0, 1.0, 1.0, 10.0, 0.0, 0.0, true, 0.3},
    {"no map, focal distance", 0, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, false, 0.35},
    {"custom layer missing", 5, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, false, 0.2},
    // A feather wider than the minor semi-axis reaches the centre column's
    // stretch inside the evolute (|y| < b - a^2 / b), where the nearest
    // points of the ellipse lie off its axis.
    {"ellipse, tall, feather past the centre", 3, 12.0, 0.5, 1.5},
};

TEST_F(RendererTest, PreviewOfEveryMapMatchesTheReference) {
  const Image input = NoiseImage(kWidth, kHeight, 5);
  for (const MapCase& c : kCases) {
    const ReferenceSettings s = PreviewOf(c);
    const Image out = Render(input, s);
    const LevelDifference d = MaxLevelDifference(out, Reference::RenderReference(input, s));
    EXPECT_LE(d.levels, Reference::kToleranceLevels) << c.label << ": " << d.Describe();
    EXPECT_EQ(renderer->BlurMapTexture(), 0u) << c.label;
  }
}

TEST_F(RendererTest, PreviewShowsTheMapsLayout) {
  const Image input = NoiseImage(kWidth, kHeight, 9);
  auto grey = [](const Image& out, int x, int y) { return static_cast<int>(std::lround(out.At(x, y)[1] * 255.0f)); };
  // Two bands at 0 degrees: 0 in the first rows, 1 in the last.
  Image out = Render(input, PreviewOf(kCases[0]));
  EXPECT_EQ(grey(out, 3, 1), 0);
  EXPECT_EQ(grey(out, 3, kHeight - 2), 255);
  EXPECT_EQ(out.At(3, 1)[0], 1.0f);  // the preview is opaque
  // Three bands: 1, 0, 1 from the first rows to the last.
  out = Render(input, PreviewOf(kCases[4]));
  EXPECT_EQ(grey(out, 20, 2), 255);
  EXPECT_EQ(grey(out, 20, 15), 0);
  EXPECT_EQ(grey(out, 20, 28), 255);
  // Circle: 1 inside, 0 in the corners.
  out = Render(input, PreviewOf(kCases[7]));
  EXPECT_EQ(grey(out, 20, 15), 255);
  EXPECT_EQ(grey(out, 0, 0), 0);
  // A wide ellipse reaches further along x than along y.
  out = Render(input, PreviewOf(kCases[9]));
  EXPECT_EQ(grey(out, 20 + 16, 15), 255);
  EXPECT_EQ(grey(out, 20, 15 + 12), 0);
  // Zero scales: the map is 0 everywhere.
  for (int i : {15, 16, 17, 18}) {
    out = Render(input, PreviewOf(kCases[i]));
    for (const Reference::Texel& t : out.texels) ASSERT_EQ(t[1], 0.0f) << kCases[i].label;
  }
  // Without a map the scale is |1 - focal distance| everywhere.
  out = Render(input, PreviewOf(kCases[23]));
  EXPECT_EQ(grey(out, 7, 7), static_cast<int>(std::lround(0.65f * 255.0f)));
}

TEST_F(RendererTest, MapsShapeTheBlur) {
  const Image input = NoiseImage(kWidth, kHeight, 13);
  for (int i : {1, 5, 8, 10, 13, 20, 21}) {
    ReferenceSettings s = PreviewOf(kCases[i]);
    s.showBlurMap = false;
    s.blurAmount = 14;
    s.lensShape = i % 3;
    s.quality = i % 2;
    const LevelDifference d = MaxLevelDifference(Render(input, s), Reference::RenderReference(input, s));
    EXPECT_LE(d.levels, Reference::kToleranceLevels) << kCases[i].label << ": " << d.Describe();
  }
}

// A custom map of another size is stretched over the whole frame.
TEST_F(RendererTest, CustomMapOfAnotherSizeIsStretchedOverTheFrame) {
  Image map(8, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 8; ++x) {
      const float v = static_cast<float>(x) / 7.0f;
      map.At(x, y) = {static_cast<float>(y + 1) / 5.0f, v, 1.0f - v, 0.5f};  // A, R, G, B
    }
  }
  const Image input = NoiseImage(kWidth, kHeight, 17);
  for (bool show : {true, false}) {
    ReferenceSettings s;
    s.mapType = 5;
    s.customMap = &map;
    s.showBlurMap = show;
    s.blurAmount = 12;
    s.focalDistance = 0.1;
    const Image out = Render(input, s);
    const LevelDifference d = MaxLevelDifference(out, Reference::RenderReference(input, s));
    EXPECT_LE(d.levels, Reference::kToleranceLevels) << "show " << show << ": " << d.Describe();
    EXPECT_EQ(renderer->BlurMapTexture(), 0u);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
