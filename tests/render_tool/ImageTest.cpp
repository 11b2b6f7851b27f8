// The test card and the box downsampling of the render tool.
#include <gtest/gtest.h>

#include <algorithm>

#include "testhost/tools/RgbaImage.h"
#include "testhost/tools/TestCard.h"

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

}  // namespace
}  // namespace Orvane::Lumisk::RenderTool
