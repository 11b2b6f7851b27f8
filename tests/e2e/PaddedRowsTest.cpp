// Host worlds whose rows are padded by part of a pixel: the input layer and the
// custom layer render as their unpadded copies do.
#include <gtest/gtest.h>

#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

using TestHost::World;

World PaddedCopy(const World& source, int padding) {
  World padded = World::Make8(source.Width(), source.Height(), padding);
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) padded.Pixel8(x, y) = source.Pixel8(x, y);
  return padded;
}

class PaddedRows : public EndToEndTest, public ::testing::WithParamInterface<int> {};

TEST_P(PaddedRows, InputAndCustomLayerRenderUnsheared) {
  const World input = MakeTestFrame(kWidth, kHeight);
  const World map = MakeMapLayer(20, 10);
  World paddedInput = PaddedCopy(input, GetParam());
  World paddedMap = PaddedCopy(map, GetParam());
  World output = World::Make8(kWidth, kHeight);
  EffectValues values;
  values.mapType = 6;
  values.quality = 1;
  SetValues(values);
  host.Params().SetLayer(6, paddedMap.Get());

  ASSERT_EQ(RenderFrame(paddedInput, output), PF_Err_NONE);

  const Reference::Image mapReference = ToReference(map);
  const Reference::Image expected =
      Reference::RenderReference(ToReference(input), ExpectedSettings(values, &mapReference));
  std::string where;
  EXPECT_LE(LargestDifference(output, expected, &where), Reference::kToleranceLevels) << where;
}

// Bytes after each 8-bit row: 4 is a whole pixel, the others are not.
INSTANTIATE_TEST_SUITE_P(Padding, PaddedRows, ::testing::Values(1, 2, 3, 4, 5, 6, 7));

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
