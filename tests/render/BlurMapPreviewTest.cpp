// Every blur map through the "Show" preview, which draws the blur scale s
// (the map value's distance from the focal distance) as grey, and the
// blurred result with a map. Tolerance 1 level: single precision and four
// Newton steps on the GPU against the exact shapes in double, one 8-bit rounding.
#include <cmath>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "RenderHarness.h"

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
    // Scales 0.03 apart are an ellipse, not the circle of the first scale:
    // the soft edge moves by up to a full level range where they differ.
    {"ellipse, scales 0.03 apart", 3, 2.0, 1.0, 1.03},
    {"ellipse, scales 0.03 apart, the other way", 3, 2.0, 1.03, 1.0},
    // The bands' edge is the feather wide in view pixels whatever the
    // vertical scale squeezes or stretches the placement by.
    {"two bands, half vertical scale, feather", 1, 10.0, 1.0, 0.5},
    {"two bands, double vertical scale, feather", 1, 10.0, 1.0, 2.0},
    {"three bands, double vertical scale, feather", 2, 3.0, 1.0, 2.0},
};

// The row of that label: rows are picked by name, so a row inserted anywhere
// leaves every pick as it was.
const MapCase& Named(const std::string& label) {
  const MapCase* found = nullptr;
  for (const MapCase& c : kCases) {
    if (label != c.label) continue;
    if (found != nullptr) throw std::logic_error("two map cases are labelled " + label);
    found = &c;
  }
  if (found == nullptr) throw std::logic_error("no map case is labelled " + label);
  return *found;
}

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
  Image out = Render(input, PreviewOf(Named("two bands")));
  EXPECT_EQ(grey(out, 3, 1), 0);
  EXPECT_EQ(grey(out, 3, kHeight - 2), 255);
  EXPECT_EQ(out.At(3, 1)[0], 1.0f);  // the preview is opaque
  // Three bands: 1, 0, 1 from the first rows to the last.
  out = Render(input, PreviewOf(Named("three bands")));
  EXPECT_EQ(grey(out, 20, 2), 255);
  EXPECT_EQ(grey(out, 20, 15), 0);
  EXPECT_EQ(grey(out, 20, 28), 255);
  // Circle: 1 inside, 0 in the corners.
  out = Render(input, PreviewOf(Named("circle")));
  EXPECT_EQ(grey(out, 20, 15), 255);
  EXPECT_EQ(grey(out, 0, 0), 0);
  // A wide ellipse reaches further along x than along y.
  out = Render(input, PreviewOf(Named("ellipse, wide")));
  EXPECT_EQ(grey(out, 20 + 16, 15), 255);
  EXPECT_EQ(grey(out, 20, 15 + 12), 0);
  // Zero scales: the map is 0 everywhere.
  for (const char* label : {"circle, zero scale", "square, zero scale", "two bands, zero vertical scale",
                            "three bands, zero vertical scale"}) {
    out = Render(input, PreviewOf(Named(label)));
    for (const Reference::Texel& t : out.texels) ASSERT_EQ(t[1], 0.0f) << label;
  }
  // Without a map the scale is |1 - focal distance| everywhere.
  out = Render(input, PreviewOf(Named("no map, focal distance")));
  EXPECT_EQ(grey(out, 7, 7), static_cast<int>(std::lround(0.65f * 255.0f)));
}

TEST_F(RendererTest, MapsShapeTheBlur) {
  // Lens shapes 0 to 2 and both qualities spread over the maps.
  const struct {
    const char* map;
    int lensShape;
    int quality;
  } cases[] = {
      {"two bands, feather", 1, 1},     {"three bands, squeezed and moved", 2, 1},
      {"circle, scaled", 2, 0},         {"ellipse, tall", 1, 0},
      {"rectangle, turned", 1, 1},      {"two bands, inverted", 2, 0},
      {"circle, focal distance", 0, 1},
  };
  const Image input = NoiseImage(kWidth, kHeight, 13);
  for (const auto& c : cases) {
    ReferenceSettings s = PreviewOf(Named(c.map));
    s.showBlurMap = false;
    s.blurAmount = 14;
    s.lensShape = c.lensShape;
    s.quality = c.quality;
    const LevelDifference d = MaxLevelDifference(Render(input, s), Reference::RenderReference(input, s));
    EXPECT_LE(d.levels, Reference::kToleranceLevels) << c.map << ": " << d.Describe();
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
