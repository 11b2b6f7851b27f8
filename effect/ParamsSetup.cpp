#include "effect/ParamsSetup.h"

namespace Orvane::Lumisk {

// Placeholder until the parameter table is wired in.
PF_Err ParamsSetup(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                   PF_LayerDef* /*output*/) {
  return PF_Err_NONE;
}

}  // namespace Orvane::Lumisk
