// Commands 13 and 14: show or hide the blur-map controls by the chosen map type.
#pragma once

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// extra is the command's PF_UserChangedParamExtra.
PF_Err UserChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], void* extra);

PF_Err UpdateParamsUI(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

}  // namespace Orvane::Lumisk
