#include "effect/ParamTable.h"

#include <iterator>

namespace Orvane::Lumisk {
namespace {

constexpr PF_ParamUIFlags kHidden = PF_PUI_INVISIBLE;
constexpr PF_ParamFlags kSupervised = PF_ParamFlag_SUPERVISE;
constexpr PF_ParamFlags kFixedInTime = PF_ParamFlag_CANNOT_TIME_VARY;
constexpr PF_ParamFlags kFolded = PF_ParamFlag_COLLAPSE_TWIRLY;
constexpr PF_ValueDisplayFlags kPercent = PF_ValueDisplayFlag_PERCENT;
constexpr PF_ValueDisplayFlags kPlain = PF_ValueDisplayFlag_NONE;

// "Quality" and "Gamma" were added to the effect later: they come last in the
// controls but keep the low disk IDs that projects already store them under.
constexpr ParamRow kRows[] = {
    // index, disk ID, name, kind and values, ui_flags, flags
    {kParamLensShape, 1, Named("Lens Shape"), PopupRow{3, "Lens Shapes", 2}, 0, 0},
    {kParamBlurStrength, 2, Named("Blur Strength"), SliderRow{0, 400, 0, 20, 20}, 0, 0},
    {kParamBlurMapStart, 5, Named("Blur Map"), GroupStartRow{}, 0, 0},
    {kParamShow, 6, kEmptyName, CheckboxRow{"Show", 0}, 0, kFixedInTime | kSupervised},
    {kParamMapType, 7, Named("Type"), PopupRow{6, "BokehMapType", 1}, 0, kSupervised},
    {kParamCustomLayer, 8, Named("Custom Layer"), LayerRow{PF_LayerDefault_NONE}, kHidden, 0},
    {kParamFeather, 9, Named("Feather"), SliderRow{0, 1000, 0, 500, 250}, kHidden, 0},
    {kParamCenter, 10, Named("Center"), PointRow{50, 50, 0}, kHidden, 0},
    {kParamScaleX, 11, Named("Scale X"), FloatSliderRow{0.0f, 5000.0f, 0.0f, 500.0f, 100.0, 0, kPercent, 0.05f},
     kHidden, 0},
    {kParamScaleY, 12, Named("Scale Y"), FloatSliderRow{0.0f, 5000.0f, 0.0f, 500.0f, 100.0, 0, kPercent, 0.05f},
     kHidden, 0},
    {kParamRotation, 13, Named("Rotation"), AngleRow{0}, kHidden, kFolded},
    {kParamFocalDistance, 14, Named("Blur Focal Distance"), FixedSliderRow{0, 100, 0, 100, 0, 1, kPercent}, kHidden, 0},
    {kParamInvert, 15, Named("Invert"), CheckboxRow{nullptr, 0}, kHidden, kSupervised},
    {kParamBlurMapEnd, 16, kNoName, GroupEndRow{}, 0, 0},
    {kParamQuality, 3, Named("Quality"), PopupRow{2, "Qualities", 2}, 0, 0},
    {kParamGamma, 4, Named("Gamma"), FloatSliderRow{1.0f, 4.0f, 1.0f, 4.0f, 2.2, 1, kPlain, 0.05f}, kHidden, 0},
};

// The host numbers definitions by the order they are added in.
constexpr bool RowsAreInIndexOrder() {
  PF_ParamIndex expected = kParamInputLayer + 1;
  for (const ParamRow& row : kRows) {
    if (row.index != expected++) return false;
  }
  return expected == kParamCount;
}
static_assert(RowsAreInIndexOrder(), "parameter rows must list host indices 1..16 in order");

}  // namespace

ParamRowList ParamRows() {
  return {kRows, std::size(kRows)};
}

}  // namespace Orvane::Lumisk
