// Typed readers of the effect's parameters at the time of the frame being
// rendered. Each returns true when the parameter was checked out and had a
// type the reader accepts; otherwise it returns false and leaves its output
// untouched. out_data is passed through for symmetry with the host's commands
// and is not read.
#pragma once

#include <cstdint>
#include <cstring>

#include "gl/Vec2d.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

bool ReadAngleParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, double* degrees);
bool ReadCheckboxParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, bool* checked);
// Fixed sliders keep only their whole part (the floor of value / 65536).
bool ReadNumberParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, double* number);
// As ReadNumberParam, float sliders truncated toward zero.
bool ReadIntParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, int32_t* number);
// ReadNumberParam divided by 100.
bool ReadPercentParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, double* fraction);
// The host's 1-based choice as a 0-based one.
bool ReadPopupParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, int32_t* choice);
// Layer pixels, from the host's 16.16 coordinates.
bool ReadPointParam(PF_InData* in_data, PF_OutData* out_data, int32_t index, Vec2d* point);

// One parameter checked out at in_data's current time, checked in again when
// this goes out of scope (also when a conversion throws). A failed check-out
// is never checked in. A host without both callbacks is a bad call (the int
// 516), refused before anything is checked out.
class CheckedOutParam {
public:
  CheckedOutParam(PF_InData* in_data, int32_t index) : inData(in_data) {
    if (in_data->inter.checkout_param == nullptr || in_data->inter.checkin_param == nullptr) {
      throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM);
    }
    std::memset(&def, 0, sizeof def);
    checkedOut = in_data->inter.checkout_param(in_data->effect_ref, index, in_data->current_time, in_data->time_step,
                                               in_data->time_scale, &def) == PF_Err_NONE;
  }
  ~CheckedOutParam() {
    if (checkedOut) inData->inter.checkin_param(inData->effect_ref, &def);
  }
  CheckedOutParam(const CheckedOutParam&) = delete;
  CheckedOutParam& operator=(const CheckedOutParam&) = delete;

  bool IsCheckedOut() const { return checkedOut; }
  PF_ParamDef& Def() { return def; }

private:
  PF_InData* inData;
  PF_ParamDef def;
  bool checkedOut = false;
};

// Checks out one parameter and hands it to convert, which returns whether it
// accepted the type and wrote its output. The shared shape of every reader.
template <typename Convert>
bool ReadCheckedOutParam(PF_InData* in_data, int32_t index, Convert&& convert) {
  CheckedOutParam param(in_data, index);
  return param.IsCheckedOut() && convert(param.Def());
}

// The host's 16.16 fixed point as a double.
constexpr double FixedToDouble(PF_Fixed value) {
  return static_cast<double>(value) * (1.0 / 65536.0);
}

}  // namespace Orvane::Lumisk
