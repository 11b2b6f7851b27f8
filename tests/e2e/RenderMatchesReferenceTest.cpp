// The render command through the built module equals the CPU reference for the
// main parameter sets, and writes every pixel of the output.
#include <gtest/gtest.h>

#include "tests/e2e/EndToEndFixture.h"

namespace Orvane::Lumisk::EndToEnd {
namespace {

struct ReferenceCase {
  const char* name;
  EffectValues values;
  bool customLayer;
};

void PrintTo(const ReferenceCase& c, std::ostream* os) {
  *os << c.name;
}

EffectValues With(void (*change)(EffectValues&)) {
  EffectValues values;
  change(values);
  return values;
}

const ReferenceCase kCases[] = {
    {"UniformHexagonLow", EffectValues{}, false},
    {"UniformCircularHigh", With([](EffectValues& v) { v.lens = 1, v.quality = 1, v.strength = 6; }), false},
    {"UniformPentagonHighWide", With([](EffectValues& v) { v.lens = 3, v.quality = 1, v.strength = 14; }), false},
    {"NoBlur", With([](EffectValues& v) { v.strength = 0; }), false},
    {"Linear2", With([](EffectValues& v) { v.mapType = 2, v.feather = 6, v.rotation = 30; }), false},
    {"Linear3Focal", With([](EffectValues& v) { v.mapType = 3, v.feather = 4, v.focal = 40.5, v.quality = 1; }), false},
    {"CircleScaled", With([](EffectValues& v) { v.mapType = 4, v.feather = 3, v.scaleX = 60, v.scaleY = 30; }), false},
    {"SquareInvert", With([](EffectValues& v) { v.mapType = 5, v.feather = 2, v.invert = true, v.rotation = -20; }),
     false},
    {"CustomLayer", With([](EffectValues& v) { v.mapType = 6, v.quality = 1; }), true},
    {"CustomLayerUnchosen", With([](EffectValues& v) { v.mapType = 6; }), false},
    {"ShowCircle", With([](EffectValues& v) { v.mapType = 4, v.feather = 5, v.show = true, v.focal = 25; }), false},
    {"DownsampleHalf", With([](EffectValues& v) { v.strength = 17, v.den = 2, v.mapType = 2, v.feather = 9; }), false},
    {"DenominatorZeroIsOne", With([](EffectValues& v) { v.strength = 7, v.den = 0; }), false},
};

class RenderMatchesReference : public EndToEndTest, public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(RenderMatchesReference, WithinTolerance) {
  const ReferenceCase& c = GetParam();
  TestHost::World input = MakeTestFrame(kWidth, kHeight);
  TestHost::World output = TestHost::World::Make8(kWidth, kHeight, 4);
  output.Fill8(PF_Pixel8{1, 2, 3, 4});
  TestHost::World map = MakeMapLayer(20, 10);
  const Reference::Image mapReference = ToReference(map);
  SetValues(c.values);
  host.Params().SetLayer(6, c.customLayer ? map.Get() : nullptr);
  ASSERT_EQ(host.UserChangedParam(5), PF_Err_NONE);

  ASSERT_EQ(RenderFrame(input, output), PF_Err_NONE);

  const Reference::Image expected = Reference::RenderReference(
      ToReference(input), ExpectedSettings(c.values, c.customLayer ? &mapReference : nullptr));
  std::string where;
  EXPECT_LE(LargestDifference(output, expected, &where), Reference::kToleranceLevels) << where;
  EXPECT_TRUE(output.PaddingUntouched()) << "the row gaps of the output are the host's";
}

INSTANTIATE_TEST_SUITE_P(Parameters, RenderMatchesReference, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ReferenceCase>& param) { return param.param.name; });

}  // namespace
}  // namespace Orvane::Lumisk::EndToEnd
