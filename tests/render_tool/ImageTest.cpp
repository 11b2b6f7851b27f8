// The test card, the box downsampling and the conversions to and from the
// host's premultiplied worlds of the render tool.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tools/FrameConversion.h"
#include "tools/RgbaImage.h"
#include "tools/TestCard.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

TEST(TestCard, IsADarkOpaqueSceneWithBrightPoints) {
  const RgbaImage card = MakeTestCard();
  ASSERT_EQ(card.width, kTestCardWidth);
  ASSERT_EQ(card.height, kTestCardHeight);
  EXPECT_FALSE(card.hasAlpha);
  size_t bright = 0;
  double sum = 0;
  for (int y = 0; y < card.height; ++y)
    for (int x = 0; x < card.width; ++x) {
      const uint8_t* p = card.Pixel(x, y);
      EXPECT_EQ(p[3], 255);
      const int luma = (p[0] + p[1] + p[2]) / 3;
      sum += luma;
      if (luma > 200 && y < card.height / 2) ++bright;
    }
  EXPECT_LT(sum / (card.width * card.height), 60.0) << "mostly dark";
  EXPECT_GT(bright, 40u) << "bright points in the upper half";
  EXPECT_EQ(MakeTestCard().rgba, card.rgba) << "the same every time";
}

TEST(DownsampleBox, AveragesWholeBlocksAndKeepsPartialEdges) {
  RgbaImage image(3, 3, true);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) std::fill_n(image.Pixel(x, y), 4, uint8_t(10 * (y * 3 + x)));
  const RgbaImage half = DownsampleBox(image, 2);
  ASSERT_EQ(half.width, 2);
  ASSERT_EQ(half.height, 2);
  EXPECT_TRUE(half.hasAlpha);
  EXPECT_EQ(half.Pixel(0, 0)[0], 20);  // (0 + 10 + 30 + 40) / 4
  EXPECT_EQ(half.Pixel(1, 0)[0], 35);  // (20 + 50) / 2
  EXPECT_EQ(half.Pixel(0, 1)[0], 65);  // (60 + 70) / 2
  EXPECT_EQ(half.Pixel(1, 1)[3], 80);
  EXPECT_EQ(DownsampleBox(image, 1).rgba, image.rgba);
}

// Every colour at every alpha, through the host's world and back: colour
// times alpha rounded to the nearest byte on the way in, divided again (and
// clamped) on the way out, whether or not a pixel is opaque.
TEST(FrameConversion, RoundsEveryColourAtEveryAlphaThroughTheWorld) {
  RgbaImage picture(256, 256, true);
  for (int alpha = 0; alpha < 256; ++alpha)
    for (int colour = 0; colour < 256; ++colour) {
      uint8_t* p = picture.Pixel(colour, alpha);
      p[0] = uint8_t(colour), p[1] = uint8_t(255 - colour), p[2] = uint8_t(colour / 2), p[3] = uint8_t(alpha);
    }
  const RgbaImage straight = picture;
  const RgbaImage host = HostPicture(picture, 1);
  std::vector<PF_Pixel8> pixels(256 * 256);
  PF_EffectWorld world{};
  world.data = pixels.data();
  world.rowbytes = 256 * sizeof(PF_Pixel8);
  world.width = world.height = 256;
  CopyToWorld(host, world);
  const RgbaImage back = CopyFromWorld(world, true);
  const auto times = [](int c, int a) { return int(std::floor(c * a / 255.0 + 0.5)); };
  const auto divided = [](int p, int a) { return a == 0 ? 0 : std::min(255, int(std::floor(p * 255.0 / a + 0.5))); };
  for (int alpha = 0; alpha < 256; ++alpha)
    for (int colour = 0; colour < 256; ++colour) {
      const uint8_t* in = straight.Pixel(colour, alpha);
      const PF_Pixel8& w = pixels[size_t(alpha) * 256 + size_t(colour)];
      ASSERT_EQ(w.alpha, alpha);
      ASSERT_EQ(w.red, times(in[0], alpha)) << colour << " at " << alpha;
      ASSERT_EQ(w.green, times(in[1], alpha)) << colour << " at " << alpha;
      ASSERT_EQ(w.blue, times(in[2], alpha)) << colour << " at " << alpha;
      const uint8_t* out = back.Pixel(colour, alpha);
      ASSERT_EQ(out[0], divided(w.red, alpha)) << colour << " at " << alpha;
      ASSERT_EQ(out[1], divided(w.green, alpha)) << colour << " at " << alpha;
      ASSERT_EQ(out[2], divided(w.blue, alpha)) << colour << " at " << alpha;
      ASSERT_EQ(out[3], alpha);
    }
  // An opaque picture comes back exactly, with no alpha channel.
  RgbaImage opaque = straight;
  opaque.hasAlpha = false;
  for (size_t i = 3; i < opaque.rgba.size(); i += 4) opaque.rgba[i] = 255;
  CopyToWorld(HostPicture(opaque, 1), world);
  const RgbaImage opaqueBack = CopyFromWorld(world, false);
  EXPECT_FALSE(opaqueBack.hasAlpha);
  EXPECT_EQ(opaqueBack.rgba, opaque.rgba);
}

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
