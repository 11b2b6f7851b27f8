// The copy pass against a CPU swizzle of its input, on small float targets.
#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "gl/CopyPass.h"
#include "instruments/GlCallRecorder.h"
#include "tests/gl_target/GlQueries.h"
#include "tests/gl_target/PixelPatterns.h"
#include "tests/support/GlTestContext.h"

using namespace gl;

namespace Orvane::Lumisk::Testing {
namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 5;
// Same-size sampling at texel centres: the linear filter's weights are 1 and 0,
// so only float rounding separates output from input.
constexpr float kSameSizeTolerance = 1e-6f;

struct SwizzleCase {
  const char* label;
  bool bgarSwizzle;
  std::array<int, 4> sourceChannelOf;  // output channel i takes input channel sourceChannelOf[i]
};

const SwizzleCase kSwizzleCases[] = {
    {"argb", false, {3, 0, 1, 2}},
    {"bgar", true, {2, 1, 3, 0}},
};

std::vector<float> Swizzled(const std::vector<float>& rgba, const std::array<int, 4>& sourceChannelOf) {
  std::vector<float> out(rgba.size());
  for (std::size_t pixel = 0; pixel < rgba.size() / 4; ++pixel) {
    for (std::size_t channel = 0; channel < 4; ++channel) {
      out[pixel * 4 + channel] = rgba[pixel * 4 + static_cast<std::size_t>(sourceChannelOf[channel])];
    }
  }
  return out;
}

class CopyPassTest : public GlContextTest {};

TEST_F(CopyPassTest, WritesEachSwizzleWhateverTheMultiplier) {
  const std::vector<float> source = DistinctRgbaPattern(kWidth, kHeight);
  const GLuint texture = MakeFloatTexture(kWidth, kHeight, source);
  for (const SwizzleCase& swizzle : kSwizzleCases) {
    CopyPass pass(swizzle.bgarSwizzle);
    const std::vector<float> expected = Swizzled(source, swizzle.sourceChannelOf);
    for (const float multiplier : {0.0f, 1.0f, 1.999969482421875f, -7.5f}) {
      SCOPED_TRACE(testing::Message() << swizzle.label << " multiplier " << multiplier);
      ScopedFloatTarget target(kWidth, kHeight);
      pass.Draw(texture, multiplier);
      ExpectPixelsNear(expected, target.Read(), kWidth, kSameSizeTolerance);
    }
  }
  glDeleteTextures(1, &texture);
  EXPECT_TRUE(TakeGlErrors().empty());
}

TEST_F(CopyPassTest, LeavesNoVertexArrayOrBufferBound) {
  const GLuint texture = MakeFloatTexture(kWidth, kHeight, DistinctRgbaPattern(kWidth, kHeight));
  CopyPass pass(false);
  ScopedFloatTarget target(kWidth, kHeight);
  pass.Draw(texture, 1.0f);
  pass.Draw(texture, 1.0f);
  EXPECT_EQ(GetInteger(GL_VERTEX_ARRAY_BINDING), 0);
  EXPECT_EQ(GetInteger(GL_ARRAY_BUFFER_BINDING), 0);
  glDeleteTextures(1, &texture);
  EXPECT_TRUE(TakeGlErrors().empty());
}

// The quad and the program are made at the first draw and kept for the next;
// a pass that never drew owns no GL object and deletes none.
TEST_F(CopyPassTest, MakesItsQuadOnceAndDeletesNothingBeforeItsFirstDraw) {
  const GLuint texture = MakeFloatTexture(kWidth, kHeight, DistinctRgbaPattern(kWidth, kHeight));
  {
    TestHost::GlCallRecorder recorder;
    { CopyPass unused(false); }
    EXPECT_TRUE(recorder.Calls().empty()) << recorder.Calls().front().name;
  }
  TestHost::GlCallRecorder recorder;
  {
    CopyPass pass(false);
    ScopedFloatTarget target(kWidth, kHeight);
    pass.Draw(texture, 1.0f);
    pass.Draw(texture, 1.0f);
    EXPECT_EQ(recorder.Count("glGenVertexArrays"), 1);
    EXPECT_EQ(recorder.Count("glGenBuffers"), 1);
    EXPECT_EQ(recorder.Count("glBufferData"), 1);
    EXPECT_EQ(recorder.Count("glLinkProgram"), 1);
  }
  EXPECT_EQ(recorder.Count("glDeleteVertexArrays"), 1);
  EXPECT_EQ(recorder.Count("glDeleteBuffers"), 1);
  EXPECT_EQ(recorder.Count("glDeleteProgram"), 1);
  glDeleteTextures(1, &texture);
  EXPECT_TRUE(TakeGlErrors().empty());
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
