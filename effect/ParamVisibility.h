// Shows the "Blur Map" controls that the chosen map type uses and hides the
// others, through the hidden flag of each control's stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "effect/ParamTable.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Command 13: runs the rule only when the "Type" popup changed.
PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], void* extra);
// Command 14: runs the rule for the "Type" value that comes with the command.
PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

constexpr std::size_t kBlurMapControlCount = 9;
using BlurMapControlList = std::array<PF_ParamIndex, kBlurMapControlCount>;
// 1 shown, 0 hidden, parallel to a BlurMapControlList.
using ControlStateList = std::array<int32_t, kBlurMapControlCount>;

// The controls the map type governs, in the order they are brought to state.
constexpr BlurMapControlList kBlurMapControls = {
    kParamCustomLayer, kParamFeather,       kParamCenter, kParamScaleX, kParamScaleY,
    kParamRotation,    kParamFocalDistance, kParamInvert, kParamShow,
};

// The shown/hidden state of each control of kBlurMapControls for a 1-based
// "Type" value. Values other than "None" (1) and "Custom Layer" (6) count as
// the generated maps.
ControlStateList WantedControlStates(PF_ParamValue mapType);

// Brings each listed control to its wanted state: flips its stream's hidden
// flag and asks the host to redraw it, only where the state differs. A
// control whose stream or flags the host cannot give is left alone.
void SetParamsVisibility(PF_InData* in_data, AEGP_EffectRefH effect, PF_ParamDef* params[],
                         const BlurMapControlList& indices, const ControlStateList& wanted);

}  // namespace Orvane::Lumisk
