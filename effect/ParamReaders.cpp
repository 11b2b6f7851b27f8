#include "effect/ParamReaders.h"

#include <cmath>
#include <limits>

namespace Orvane::Lumisk {
namespace {

// Fixed sliders reach the renderer in whole units only: the floor of
// value / 65536, the same as an arithmetic shift right by 16.
int32_t FixedWholePart(PF_Fixed value) {
  return static_cast<int32_t>(std::floor(value / 65536.0));
}

// Truncation toward zero, saturated so that no host value is undefined to convert.
int32_t TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

bool IsSlider(PF_ParamType type) {
  return type == PF_Param_SLIDER || type == PF_Param_FIX_SLIDER || type == PF_Param_FLOAT_SLIDER;
}

// A slider's value as the renderer takes numbers; the caller checked the type.
double SliderNumber(const PF_ParamDef& def) {
  switch (def.param_type) {
    case PF_Param_SLIDER:
      return def.u.sd.value;
    case PF_Param_FIX_SLIDER:
      return FixedWholePart(def.u.fd.value);
    default:
      return def.u.fs_d.value;
  }
}

// Integer and fixed sliders give whole numbers already; float sliders truncate.
int32_t SliderInt(const PF_ParamDef& def) {
  if (def.param_type == PF_Param_FLOAT_SLIDER) return TruncateToInt(def.u.fs_d.value);
  return static_cast<int32_t>(SliderNumber(def));
}

}  // namespace

bool ReadAngleParam(PF_InData* in_data, PF_OutData*, int32_t index, double* degrees) {
  return ReadCheckedOutParam(in_data, index, [degrees](const PF_ParamDef& def) {
    if (def.param_type != PF_Param_ANGLE) return false;
    *degrees = FixedToDouble(def.u.ad.value);
    return true;
  });
}

bool ReadCheckboxParam(PF_InData* in_data, PF_OutData*, int32_t index, bool* checked) {
  return ReadCheckedOutParam(in_data, index, [checked](const PF_ParamDef& def) {
    if (def.param_type != PF_Param_CHECKBOX) return false;
    *checked = def.u.bd.value != 0;
    return true;
  });
}

bool ReadNumberParam(PF_InData* in_data, PF_OutData*, int32_t index, double* number) {
  return ReadCheckedOutParam(in_data, index, [number](const PF_ParamDef& def) {
    if (!IsSlider(def.param_type)) return false;
    *number = SliderNumber(def);
    return true;
  });
}

bool ReadIntParam(PF_InData* in_data, PF_OutData*, int32_t index, int32_t* number) {
  return ReadCheckedOutParam(in_data, index, [number](const PF_ParamDef& def) {
    if (!IsSlider(def.param_type)) return false;
    *number = SliderInt(def);
    return true;
  });
}

bool ReadPercentParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, double* fraction) {
  double number = 0.0;
  if (!ReadNumberParam(in_data, out_data, index, &number)) return false;
  *fraction = number / 100.0;
  return true;
}

bool ReadPopupParam(PF_InData* in_data, PF_OutData*, int32_t index, int32_t* choice) {
  return ReadCheckedOutParam(in_data, index, [choice](const PF_ParamDef& def) {
    if (def.param_type != PF_Param_POPUP) return false;
    // No choice is numbered below 1; the guard only keeps the subtraction defined.
    const PF_ParamValue value = def.u.pd.value;
    *choice = value == std::numeric_limits<PF_ParamValue>::min() ? value : value - 1;
    return true;
  });
}

bool ReadPointParam(PF_InData* in_data, PF_OutData*, int32_t index, Vec2d* point) {
  return ReadCheckedOutParam(in_data, index, [point](const PF_ParamDef& def) {
    if (def.param_type != PF_Param_POINT) return false;
    point->Set(FixedToDouble(def.u.td.x_value), FixedToDouble(def.u.td.y_value));
    return true;
  });
}

}  // namespace Orvane::Lumisk
