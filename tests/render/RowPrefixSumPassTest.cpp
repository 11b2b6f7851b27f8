// The row prefix-sum pass: its step, grid and level table, and the sums it
// leaves, read back from its result texture.
#include <cmath>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "RenderHarness.h"
#include "gl/RenderTarget.h"
#include "render/RowPrefixSumPass.h"

namespace Orvane::Lumisk::Testing {
namespace {

using namespace gl;
using Reference::Image;

TEST(RowPrefixSumLevels, LevelCountReachesAcrossTheRowWithoutCap) {
  struct Case {
    int cells, gridWidth, levels;
  };
  const Case cases[] = {{-5, 0, 1},       {0, 0, 1},        {1, 1, 1},        {2, 2, 1},        {3, 3, 2},
                        {4, 4, 2},        {5, 5, 3},        {8, 8, 3},        {9, 9, 4},        {16, 16, 4},
                        {17, 17, 5},      {64, 64, 6},      {65, 65, 7},      {256, 256, 8},    {320, 320, 9},
                        {512, 512, 9},    {1024, 1024, 10}, {1025, 1025, 11}, {2048, 2048, 11}, {2600, 2600, 12},
                        {5000, 5000, 13}, {1000, 100, 10},  {10, 40, 6}};
  for (const Case& c : cases) {
    EXPECT_EQ(RowPrefixSumPass::LevelCount(c.cells, c.gridWidth), c.levels)
        << "cells " << c.cells << ", grid width " << c.gridWidth;
  }
}

class RowPrefixSumPassTest : public GlContextTest {
protected:
  void TearDown() override {
    pass.reset();
    RenderTarget::Instance()->Release();
    GlContextTest::TearDown();
  }

  // Runs the pass on the image inside a frame of the image's size.
  void Run(const Image& input, int stepRequest, int maxDimension = -1) {
    RenderTarget::Instance()->Setup(input.width, input.height, false);
    RenderTarget::Instance()->BeginFrame(false, false);
    const GLuint source = UploadImage(input);
    const Vec2d view(input.width, input.height);
    pass->Run(source, &view, maxDimension >= 0 ? maxDimension : std::max(input.width, input.height), stepRequest);
    glDeleteTextures(1, &source);
  }

  Image Result() const {
    const int w = pass->Size().x;
    const int h = pass->Size().y;
    const std::vector<float> values = ReadTexture(pass->ResultTexture(), w, h);
    Image image(w, h);
    for (size_t i = 0; i < image.texels.size(); ++i)
      for (size_t c = 0; c < 4; ++c) image.texels[i][c] = values[i * 4 + c];
    return image;
  }

  std::unique_ptr<RowPrefixSumPass> pass = std::make_unique<RowPrefixSumPass>();
};

TEST_F(RowPrefixSumPassTest, StepGridAndLevels) {
  struct Case {
    int width, height, stepRequest;
    int step, gridWidth, gridHeight, levels;
  };
  const Case cases[] = {
      {1, 1, 1, 1, 1, 1, 1}, {5, 3, 2, 2, 3, 2, 2}, {64, 36, 2, 2, 32, 18, 5}, {100, 1000, 1, 1, 100, 1000, 10},
      {9, 7, 0, 1, 9, 7, 4}, {9, 7, 7, 4, 3, 2, 2}, {640, 2, 2, 2, 320, 1, 9},
  };
  for (const Case& c : cases) {
    Run(UniformImage(c.width, c.height, 0.5f), c.stepRequest);
    EXPECT_EQ(pass->Step(), c.step) << c.width << " x " << c.height << " step " << c.stepRequest;
    EXPECT_EQ(pass->Size().x, c.gridWidth) << c.width << " x " << c.height;
    EXPECT_EQ(pass->Size().y, c.gridHeight) << c.width << " x " << c.height;
    EXPECT_EQ(pass->MaxLevel(), c.levels) << c.width << " x " << c.height;
    RenderTarget::Instance()->Finish(1.0f);
  }
}

// Inclusive sums: texel k holds cells 0..k of (value - 0.5). Float sums of
// 0.5 steps are exact, so white rows are compared exactly.
TEST_F(RowPrefixSumPassTest, WhiteRowsSumExactlyAcrossWideRows) {
  for (int width : {7, 300, 3000}) {
    Run(UniformImage(width, 2, 1.0f), 1);
    const Image result = Result();
    ASSERT_EQ(result.width, width);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(result.At(x, y)[1], 0.5f * static_cast<float>(x + 1)) << "width " << width << " texel " << x;
    RenderTarget::Instance()->Finish(1.0f);
  }
}

// Odd and even sizes in both directions: on the halved grid every cell must
// be the mean of its own 2 x 2 block (the last block of an odd size taking
// the edge pixel again), read back as the difference of neighbouring sums.
TEST_F(RowPrefixSumPassTest, SumsMatchTheBlockMeansOnBothGrids) {
  struct Case {
    int width, height;
  };
  for (const Case& c : {Case{37, 11}, Case{38, 12}, Case{201, 5}, Case{6, 9}}) {
    const Image input = NoiseImage(c.width, c.height, 21);
    for (int step : {1, 2}) {
      Run(input, step);
      const Image grid = Reference::GridMeans(input, step);
      const Image expected = Reference::InclusiveRowSums(grid);
      const Image result = Result();
      ASSERT_EQ(result.width, expected.width);
      ASSERT_EQ(result.height, expected.height);
      for (int y = 0; y < result.height; ++y) {
        for (int x = 0; x < result.width; ++x) {
          for (size_t k = 0; k < 4; ++k) {
            const float before = x > 0 ? result.At(x - 1, y)[k] : 0.0f;
            // A cell: one 8-bit value or the mean of four, held in float.
            ASSERT_NEAR(result.At(x, y)[k] - before, grid.At(x, y)[k] - 0.5f, 1e-4f)
                << c.width << " x " << c.height << " step " << step << " cell " << x << ", " << y;
            // Float sums of up to 101 values of magnitude 0.5 against double.
            ASSERT_NEAR(result.At(x, y)[k], expected.At(x, y)[k], 1e-4f)
                << c.width << " x " << c.height << " step " << step << " texel " << x << ", " << y;
          }
        }
      }
      RenderTarget::Instance()->Finish(1.0f);
    }
  }
}

TEST_F(RowPrefixSumPassTest, TexturesAreMadeAgainOnlyForANewGrid) {
  Run(UniformImage(1, 1, 1.0f), 1);
  const GLuint first = pass->Texture(0);
  const GLuint second = pass->Texture(1);
  RenderTarget::Instance()->Finish(1.0f);
  // A new step with the same 1 x 1 grid keeps both textures.
  Run(UniformImage(1, 1, 1.0f), 2);
  EXPECT_EQ(pass->Texture(0), first);
  EXPECT_EQ(pass->Texture(1), second);
  RenderTarget::Instance()->Finish(1.0f);
  // An odd level count leaves the pair flipped; the result is still the
  // texture written last, and holds the sums.
  for (int run = 0; run < 2; ++run) {
    Run(UniformImage(6, 2, 1.0f), 1);
    ASSERT_EQ(pass->MaxLevel(), 3);
    EXPECT_EQ(Result().At(5, 1)[1], 3.0f) << "run " << run;
    RenderTarget::Instance()->Finish(1.0f);
  }
  Run(UniformImage(12, 4, 1.0f), 2);
  EXPECT_EQ(pass->Size().x, 6);
  EXPECT_EQ(Result().At(5, 1)[1], 3.0f);
  RenderTarget::Instance()->Finish(1.0f);
}

// The pair belongs to the pass: a new grid deletes the old pair, and the
// pass deletes the pair it holds when it goes.
TEST_F(RowPrefixSumPassTest, TheOldPairGoesWithANewGridAndTheLastWithThePass) {
  Run(UniformImage(4, 2, 1.0f), 1);
  const GLuint old[2] = {pass->Texture(0), pass->Texture(1)};
  RenderTarget::Instance()->Finish(1.0f);
  Run(UniformImage(6, 2, 1.0f), 1);
  const GLuint last[2] = {pass->Texture(0), pass->Texture(1)};
  RenderTarget::Instance()->Finish(1.0f);
  for (const GLuint texture : old)
    EXPECT_FALSE(glIsTexture(texture) == GL_TRUE) << "texture " << texture << " of the old grid";
  for (const GLuint texture : last) ASSERT_TRUE(glIsTexture(texture) == GL_TRUE);
  pass.reset();
  for (const GLuint texture : last)
    EXPECT_FALSE(glIsTexture(texture) == GL_TRUE) << "texture " << texture << " after the pass";
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
