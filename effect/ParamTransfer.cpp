#include "effect/ParamTransfer.h"

#include <cmath>

#include <glbinding/gl33core/gl.h>

#include "effect/LayerTextureReader.h"
#include "effect/ParamReaders.h"
#include "effect/ParamTable.h"
#include "effect/ValidRange.h"
#include "render/BlurMapPass.h"

namespace Orvane::Lumisk {
namespace {

// The denominator of the host's horizontal downsample factor. A host that
// sends 0 means no downsampling; dividing by it would give no number at all.
double DownsampleDenominator(const PF_InData* in_data) {
  const A_u_long den = in_data->downsample_x.den;
  return den == 0 ? 1.0 : double(den);
}

// value / den rounded half away from zero. With den >= 1 the result of an
// int32 value fits in int32 again.
std::int32_t DivideRounded(std::int32_t value, double den) {
  return std::int32_t(std::round(double(value) / den));
}

// A number read for index, brought into its definition's range; false when the
// read failed or gave no number, and the setting then keeps what it held.
bool ReadClampedNumber(PF_InData* in_data, PF_OutData* out_data, ParamIndex index, double* value) {
  double number = 0.0;
  if (!ReadNumberParam(in_data, out_data, index, &number) || !ValidRangeOf(index).Clamp(&number)) return false;
  *value = number;
  return true;
}

// As ReadClampedNumber, as a fraction of 100 %.
bool ReadClampedPercent(PF_InData* in_data, PF_OutData* out_data, ParamIndex index, double* fraction) {
  double percent = 0.0;
  if (!ReadClampedNumber(in_data, out_data, index, &percent)) return false;
  *fraction = percent / 100.0;
  return true;
}

// A 0-based popup choice that the popup has; a value beyond its choices is no
// choice and leaves the setting as it was.
bool ReadChoice(PF_InData* in_data, PF_OutData* out_data, ParamIndex index, std::int32_t* choice) {
  std::int32_t value = 0;
  if (!ReadPopupParam(in_data, out_data, index, &value)) return false;
  const ValidRange range = ValidRangeOf(index);
  if (double(value) < range.min || double(value) > range.max) return false;
  *choice = value;
  return true;
}

}  // namespace

template <>
void BlurRenderer::UpdateFromParams<PF_InData, PF_OutData>(PF_InData* in_data, PF_OutData* out_data) {
  const double den = DownsampleDenominator(in_data);

  std::int32_t shape = lensShape;
  ReadChoice(in_data, out_data, kParamLensShape, &shape);
  SetLensShape(shape);

  // Read as a number, not an integer, so that a float slider holding no number
  // keeps the strength as it was, like every other slider; whole units as an
  // integer read gives them (toward zero), within 0 to 400.
  double strength = 0.0;
  if (ReadClampedNumber(in_data, out_data, kParamBlurStrength, &strength))
    blurAmount = DivideRounded(std::int32_t(std::trunc(strength)), den);

  ReadCheckboxParam(in_data, out_data, kParamShow, &showBlurMap);

  // The renderer holds only the six choices of the popup.
  ReadChoice(in_data, out_data, kParamMapType, &blurMapType);

  if (blurMapType == BokehMapCustomLayer) {
    // A map left by parameters read for a render that never ran is neither
    // leaked nor drawn in place of this frame's layer.
    SetBlurMapTexture(ScopedTexture());
    gl::GLuint layerTexture = 0;
    Vec2d layerSize;  // the layer is sampled over the whole frame whatever its size
    float layerMultiplier = 1.0f;
    if (ReadLayerTextureParam(in_data, out_data, kParamCustomLayer, &layerTexture, &layerSize, &layerMultiplier))
      SetBlurMapTexture(ScopedTexture(layerTexture));
  }

  BlurMapPass& map = MapPass();
  double feather = 0.0;
  if (ReadClampedNumber(in_data, out_data, kParamFeather, &feather)) map.feather = std::round(feather / den);
  ReadPointParam(in_data, out_data, kParamCenter, &map.center);
  ReadClampedPercent(in_data, out_data, kParamScaleX, &map.scaleX);
  ReadClampedPercent(in_data, out_data, kParamScaleY, &map.scaleY);
  ReadAngleParam(in_data, out_data, kParamRotation, &map.rotation);
  ReadClampedPercent(in_data, out_data, kParamFocalDistance, &focalDistance);
  ReadCheckboxParam(in_data, out_data, kParamInvert, &map.invert);
  ReadChoice(in_data, out_data, kParamQuality, &quality);
}

}  // namespace Orvane::Lumisk
