// The whole blur on real GL against the CPU reference. Unless a test says
// otherwise the tolerance is Reference::kToleranceLevels, whose reason is
// given where it is defined.
#include <cmath>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "RenderHarness.h"
#include "gl/OpenglShader.h"
#include "render/BlurMapPass.h"
#include "render/RowPrefixSumPass.h"

namespace Orvane::Lumisk::Testing {
namespace {

using namespace gl;
using Reference::Image;
using Reference::ReferenceSettings;

ReferenceSettings Blur(int amount, int shape, int quality) {
  ReferenceSettings s;
  s.blurAmount = amount;
  s.lensShape = shape;
  s.quality = quality;
  return s;
}

const char* ShapeName(int shape) {
  static const char* const names[] = {"circular", "hexagon", "pentagon"};
  return names[shape];
}

TEST_F(RendererTest, BlurZeroReturnsTheInputByteForByte) {
  const Image input = NoiseImage(48, 32, 7);
  for (int shape = 0; shape < 3; ++shape) {
    for (int quality = 0; quality < 2; ++quality) {
      const Image out = Render(input, Blur(0, shape, quality));
      EXPECT_EQ(out.ToArgb8(), input.ToArgb8()) << ShapeName(shape) << " quality " << quality;
    }
  }
  // A uniform blur at focal distance 1.0 has radius 0 too.
  ReferenceSettings focused = Blur(40, 0, 0);
  focused.focalDistance = 1.0;
  EXPECT_EQ(Render(input, focused).ToArgb8(), input.ToArgb8());
}

TEST_F(RendererTest, UniformFrameStaysUniformToEveryEdge) {
  // White shows any lost or doubled edge weight (the average must stay at
  // the top of the range); dark grey shows a span sum and a weight that
  // disagree, since (value - 0.5) is far from 0.
  for (float value : {1.0f, 40.0f / 255.0f, 200.0f / 255.0f}) {
    const Image input = UniformImage(45, 27, value);
    for (int shape = 0; shape < 3; ++shape) {
      for (int quality = 0; quality < 2; ++quality) {
        for (int amount : {4, 30}) {
          const Image out = Render(input, Blur(amount, shape, quality));
          const LevelDifference d = MaxLevelDifference(out, input);
          EXPECT_EQ(d.levels, 0) << ShapeName(shape) << " quality " << quality << " blur " << amount << " value "
                                 << value << ": " << d.Describe();
        }
      }
    }
  }
}

// Full-range noise averages near 0.5, where the prefix sums stay small;
// dark noise makes them steep, so misplaced span ends show as well.
TEST_F(RendererTest, NoiseMatchesTheReferenceForEveryShapeAndQuality) {
  for (const Image& input : {NoiseImage(40, 28, 3), NoiseImage(40, 28, 4, 0, 90)}) {
    for (int shape = 0; shape < 3; ++shape) {
      for (int quality = 0; quality < 2; ++quality) {
        for (int amount : {1, 3, 7, 12, 25}) {
          const ReferenceSettings s = Blur(amount, shape, quality);
          const LevelDifference d = MaxLevelDifference(Render(input, s), Reference::RenderReference(input, s));
          EXPECT_LE(d.levels, Reference::kToleranceLevels)
              << ShapeName(shape) << " quality " << quality << " blur " << amount << ": " << d.Describe();
        }
      }
    }
  }
}

TEST_F(RendererTest, BrightBlockKeepsItsEnergy) {
  Image input(96, 96, {1.0f, 0.0f, 0.0f, 0.0f});
  for (int y = 40; y < 56; ++y)
    for (int x = 40; x < 56; ++x) input.At(x, y) = {1.0f, 1.0f, 1.0f, 1.0f};
  for (int shape = 0; shape < 3; ++shape) {
    for (int quality = 0; quality < 2; ++quality) {
      const ReferenceSettings s = Blur(12, shape, quality);
      const Image out = Render(input, s);
      double energy = 0.0;
      for (const Reference::Texel& t : out.texels) energy += t[1];
      // The spread's plateau is about 140 levels: 8-bit rounding, which
      // is alike over the plateau, moves the sum by under 0.4 %.
      EXPECT_NEAR(energy, 256.0, 2.56) << ShapeName(shape) << " quality " << quality;
      EXPECT_LE(MaxLevelDifference(out, Reference::RenderReference(input, s)).levels, Reference::kToleranceLevels);
    }
  }
}

// A lit pixel far brighter than white (the source texture is float) so that
// its spread over a few hundred pixels stays visible in 8 bits. The spread
// is the aperture mirrored through its centre: an output pixel sees the lit
// pixel in its aperture row i = (lit row - its row).
struct Spread {
  int count = 0;
  int top = 1 << 30, bottom = -1, left = 1 << 30, right = -1;
  int widthAt(const Image& out, int row) const {
    int n = 0;
    for (int x = 0; x < out.width; ++x) n += out.At(x, row)[1] > 0.5f ? 1 : 0;
    return n;
  }
};

Spread Measure(const Image& out) {
  Spread s;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      if (out.At(x, y)[1] > 0.5f) {
        ++s.count;
        s.top = std::min(s.top, y);
        s.bottom = std::max(s.bottom, y);
        s.left = std::min(s.left, x);
        s.right = std::max(s.right, x);
      }
    }
  }
  return s;
}

TEST_F(RendererTest, LitPixelSpreadsIntoTheLensShape) {
  constexpr int kSize = 49;
  constexpr int kCentre = 24;
  constexpr float R = 16.0f;
  Image input(kSize, kSize, {1.0f, 0.0f, 0.0f, 0.0f});
  // About 1.6 times white per pixel of the aperture: clamped to white inside.
  input.At(kCentre, kCentre) = {1.0f, 1300.0f, 1300.0f, 1300.0f};
  struct Case {
    int shape;
    double area;  // of the aperture of radius R
  };
  const Case cases[] = {
      {0, M_PI * R * R},
      {1, 1.5 * std::sqrt(3.0) * R * R},
      {2, 2.5 * std::sin(72.0 * M_PI / 180.0) * R * R},
  };
  for (const Case& c : cases) {
    const ReferenceSettings s = Blur(static_cast<int>(R), c.shape, 0);
    const Image out = Render(input, s);
    EXPECT_LE(MaxLevelDifference(out, Reference::RenderReference(input, s)).levels, Reference::kToleranceLevels)
        << ShapeName(c.shape);
    const Spread spread = Measure(out);
    // The covered-pixel count follows the area within the rim's pixels.
    EXPECT_NEAR(spread.count, c.area, 2.0 * M_PI * R * 0.5) << ShapeName(c.shape);
    if (c.shape == 0) {
      // Rows are whole cells; span ends cover cells in part, which
      // widens the rim by at most a pixel on each side.
      EXPECT_EQ(spread.bottom - kCentre, kCentre - spread.top);
      EXPECT_EQ(spread.right - kCentre, kCentre - spread.left);
      EXPECT_NEAR(spread.right - spread.left, spread.bottom - spread.top, 2);
    } else if (c.shape == 1) {
      // Corners at the top and bottom: taller (2R) than wide (1.73R);
      // the rows near the tips are narrow, the middle row is widest.
      EXPECT_GT(spread.bottom - spread.top, spread.right - spread.left);
      EXPECT_LT(spread.widthAt(out, spread.top), 6);
      EXPECT_NEAR(spread.widthAt(out, kCentre), 2.0 * 0.866 * R, 2.0);
    } else {
      // Aperture apex at row offset -R, flat edge at +0.81R: the image
      // has its apex below the lit pixel and its flat edge above.
      EXPECT_GT(spread.bottom - kCentre, kCentre - spread.top + 2);
      EXPECT_LT(spread.widthAt(out, spread.bottom), 6);
      EXPECT_GT(spread.widthAt(out, spread.top), static_cast<int>(R));
    }
  }
}

TEST_F(RendererTest, SmallRadiiFadeTowardsTheSharpPixel) {
  Image input(32, 16, {1.0f, 0.0f, 0.0f, 0.0f});
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) input.At(x, y) = {1.0f, 1.0f, 0.5f, 0.25f};
  for (int amount : {1, 2, 5, 9, 10}) {
    for (int quality = 0; quality < 2; ++quality) {
      const ReferenceSettings s = Blur(amount, 0, quality);
      const Image out = Render(input, s);
      EXPECT_LE(MaxLevelDifference(out, Reference::RenderReference(input, s)).levels, Reference::kToleranceLevels)
          << "blur " << amount << " quality " << quality;
    }
  }
}

// Rows 0..15 black, 16..31 white: every aperture row is uniform, so the mean
// near the boundary is the white rows' share of the aperture, which the
// test works out from the disc's row half-widths sqrt(R^2 - i^2).
TEST_F(RendererTest, FadeMixesTheSharpPixelWithTheAperturesMean) {
  Image input(24, 32, {1.0f, 0.0f, 0.0f, 0.0f});
  for (int y = 16; y < 32; ++y)
    for (int x = 0; x < 24; ++x) input.At(x, y) = {1.0f, 1.0f, 1.0f, 1.0f};
  for (int amount : {3, 5, 8, 12}) {
    const double R = amount;
    auto whiteShare = [R](int firstWhiteOffset) {
      double white = 0.0, all = 0.0;
      for (int i = -static_cast<int>(R); i <= static_cast<int>(R); ++i) {
        const double width = 2.0 * std::sqrt(R * R - i * i);
        all += width;
        white += i >= firstWhiteOffset ? width : 0.0;
      }
      return white / all;
    };
    const double fade = std::min(R / 10.0, 1.0);
    const Image out = Render(input, Blur(amount, 0, 0));
    const double firstWhite = (1.0 - fade) * 1.0 + fade * whiteShare(0);
    const double lastBlack = fade * whiteShare(1);
    EXPECT_NEAR(out.At(12, 16)[1] * 255.0, firstWhite * 255.0, 0.5 + 1e-3) << "blur " << amount;
    EXPECT_NEAR(out.At(12, 15)[1] * 255.0, lastBlack * 255.0, 0.5 + 1e-3) << "blur " << amount;
  }
}

TEST_F(RendererTest, WideFrameAtHighQualityBlursItsRightSide) {
  // 2600 cells in a row: the scan needs 12 levels to reach across it.
  const Image white = UniformImage(2600, 2, 1.0f);
  const ReferenceSettings s = Blur(20, 1, 0);
  const LevelDifference uniform = MaxLevelDifference(Render(white, s), white);
  EXPECT_EQ(uniform.levels, 0) << uniform.Describe();
  EXPECT_EQ(renderer->PrefixSumPass().MaxLevel(), 12);

  const Image noise = NoiseImage(2600, 2, 11);
  const Image out = Render(noise, s);
  const Image expected = Reference::RenderReference(noise, s);
  EXPECT_LE(MaxLevelDifference(out, expected).levels, Reference::kToleranceLevels)
      << MaxLevelDifference(out, expected).Describe();
}

TEST_F(RendererTest, TinyFramesRender) {
  struct Case {
    int width, height;
  };
  for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{1, 3}, Case{3, 2}}) {
    const Image input = NoiseImage(c.width, c.height, 19);
    for (int quality = 0; quality < 2; ++quality) {
      const ReferenceSettings s = Blur(6, 0, quality);
      const LevelDifference d = MaxLevelDifference(Render(input, s), Reference::RenderReference(input, s));
      EXPECT_LE(d.levels, Reference::kToleranceLevels) << c.width << " x " << c.height << ": " << d.Describe();
    }
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
