// Frames whose textures or renderbuffers the GL cannot hold: the render fails
// with the module's GL fault (512) instead of answering success with a grey or
// black picture, the host's context is current again, and the next render is
// whole. Frames up to the limit render at both qualities. The limit is the
// driver's own, asked in the host's context.
#include <algorithm>

#include <gtest/gtest.h>

#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::World;

constexpr int kHigh = 1;
constexpr int kLow = 2;

struct OversizeCase {
  const char* name;
  int widthBeyond;   // columns beyond the limit, or -1 for a 1 px wide frame
  int heightBeyond;  // rows beyond the limit, or -1 for a 1 px tall frame
  int quality;
};

void PrintTo(const OversizeCase& c, std::ostream* os) {
  *os << c.name;
}

const OversizeCase kOversizeCases[] = {
    {"OneBeyondTheLimitWideAtHigh", 1, -1, kHigh},
    {"OneBeyondTheLimitWideAtLow", 1, -1, kLow},
    {"OneBeyondTheLimitTallAtLow", -1, 1, kLow},
};

class FrameSizeLimit : public EndToEndTest {
protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    maxTextureSize = glContexts.ForThisThread().MaxTextureSize();
    ASSERT_GT(maxTextureSize, 0);
  }

  int Side(int beyond) const { return beyond < 0 ? 1 : maxTextureSize + beyond; }

  PF_Err RenderWhite(int width, int height, int quality, World& output) {
    EffectValues values;
    values.quality = quality;
    SetValues(values);
    World input = World::Make8(width, height);
    input.Fill8(PF_Pixel8{255, 255, 255, 255});
    return RenderFrame(input, output);
  }

  int maxTextureSize = 0;
};

class OversizeFrame : public FrameSizeLimit, public ::testing::WithParamInterface<OversizeCase> {};

TEST_P(OversizeFrame, FailsWithTheGlFaultAndTheNextRenderIsWhole) {
  const OversizeCase& c = GetParam();
  ExpectDefaultRenderMatches();
  World output = World::Make8(Side(c.widthBeyond), Side(c.heightBeyond));
  EXPECT_EQ(RenderWhite(Side(c.widthBeyond), Side(c.heightBeyond), c.quality, output), PF_Err_INTERNAL_STRUCT_DAMAGED);
  EXPECT_EQ(glContexts.NotRestoredCount(), 0) << "the host's GL context was not current after the failed render";
  ExpectDefaultRenderMatches();
}

INSTANTIATE_TEST_SUITE_P(Sizes, OversizeFrame, ::testing::ValuesIn(kOversizeCases),
                         [](const ::testing::TestParamInfo<OversizeCase>& param) { return param.param.name; });

struct FittingCase {
  const char* name;
  int widthBelow;   // columns short of the limit, or -1 for a 2 px wide frame
  int heightBelow;  // rows short of the limit, or -1 for a 2 px tall frame
  int quality;
};

void PrintTo(const FittingCase& c, std::ostream* os) {
  *os << c.name;
}

// The row sums are the grid's own size, so every frame up to the limit fits,
// on the full grid too.
const FittingCase kFittingCases[] = {
    {"ExactlyTheLimitWideAtHigh", 0, -1, kHigh},
    {"ExactlyTheLimitWideAtLow", 0, -1, kLow},
    {"OneBelowTheLimitWideAtHigh", 1, -1, kHigh},
    {"ExactlyTheLimitTallAtHigh", -1, 0, kHigh},
};

class FittingFrame : public FrameSizeLimit, public ::testing::WithParamInterface<FittingCase> {
protected:
  int FittingSide(int below) const { return below < 0 ? 2 : maxTextureSize - below; }
};

// A uniform frame stays uniform under any lens, so white must come out white.
TEST_P(FittingFrame, RendersWhite) {
  const FittingCase& c = GetParam();
  const int width = FittingSide(c.widthBelow);
  const int height = FittingSide(c.heightBelow);
  World output = World::Make8(width, height);
  ASSERT_EQ(RenderWhite(width, height, c.quality, output), PF_Err_NONE);
  int darkest = 255;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const PF_Pixel8& p = output.Pixel8(x, y);
      darkest = std::min({darkest, int(p.alpha), int(p.red), int(p.green), int(p.blue)});
    }
  EXPECT_GE(darkest, 255 - Reference::kToleranceLevels);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FittingFrame, ::testing::ValuesIn(kFittingCases),
                         [](const ::testing::TestParamInfo<FittingCase>& param) { return param.param.name; });

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
