// Command 4: declares the effect's parameters to the host.
#pragma once

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Returns the host's add-parameter error unchanged, 0 on success.
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

}  // namespace Orvane::Lumisk
