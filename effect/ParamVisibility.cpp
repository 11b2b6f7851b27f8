#include "effect/ParamVisibility.h"

namespace Orvane::Lumisk {

// Placeholders until the visibility rule is wired in.
PF_Err UserChangedParam(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                        void* /*extra*/) {
  return PF_Err_NONE;
}

PF_Err UpdateParamsUI(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                      PF_LayerDef* /*output*/) {
  return PF_Err_NONE;
}

}  // namespace Orvane::Lumisk
