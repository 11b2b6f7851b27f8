#include <cstdint>
#include <limits>
#include <set>

#include <gtest/gtest.h>

#include "effect/ParamVisibility.h"

namespace Orvane::Lumisk::ParamsTest {
namespace {

// Host indices of the governed controls, written out independently.
constexpr PF_ParamIndex kShow = 4, kCustomLayer = 6, kFeather = 7, kCenter = 8, kScaleX = 9, kScaleY = 10,
                        kRotation = 11, kFocalDistance = 12, kInvert = 13;
const std::set<PF_ParamIndex> kNone = {};
const std::set<PF_ParamIndex> kGenerated = {kFeather,  kCenter,        kScaleX, kScaleY,
                                            kRotation, kFocalDistance, kInvert, kShow};
const std::set<PF_ParamIndex> kCustom = {kCustomLayer, kFocalDistance, kInvert, kShow};

TEST(VisibilityRule, ControlsAreVisitedInTheirFixedOrder) {
  const BlurMapControlList expected = {kCustomLayer, kFeather,       kCenter, kScaleX, kScaleY,
                                       kRotation,    kFocalDistance, kInvert, kShow};
  EXPECT_EQ(kBlurMapControls, expected);
  // Every control inside the "Blur Map" group (after its start, 3, before its
  // end, 14) is governed exactly once, except "Type" (5), which chooses.
  const std::multiset<PF_ParamIndex> governed(kBlurMapControls.begin(), kBlurMapControls.end());
  std::multiset<PF_ParamIndex> insideGroup;
  for (PF_ParamIndex index = 3 + 1; index < 14; ++index) {
    if (index != 5) insideGroup.insert(index);
  }
  EXPECT_EQ(governed, insideGroup);
}

TEST(VisibilityRule, EveryMapTypeShowsItsControls) {
  const struct {
    PF_ParamValue mapType;
    const std::set<PF_ParamIndex>& shown;
  } cases[] = {
      {1, kNone},       // None
      {2, kGenerated},  // Linear 2 colors
      {3, kGenerated},  // Linear 3 colors
      {4, kGenerated},  // Circle
      {5, kGenerated},  // Square
      {6, kCustom},     // Custom Layer
      // Values no popup item carries take the generated maps' row.
      {0, kGenerated},
      {7, kGenerated},
      {-1, kGenerated},
      {std::numeric_limits<int32_t>::max(), kGenerated},
      {std::numeric_limits<int32_t>::min(), kGenerated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mapType);
    const ControlStateList states = WantedControlStates(c.mapType);
    for (std::size_t i = 0; i < kBlurMapControlCount; ++i) {
      const PF_ParamIndex control = kBlurMapControls[i];
      EXPECT_EQ(states[i], c.shown.count(control) ? 1 : 0) << "control " << control;
    }
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::ParamsTest
