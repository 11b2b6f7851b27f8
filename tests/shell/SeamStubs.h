// Stand-ins for the GL half and the parameter commands, so that the effect
// shell's entry point can be tested on its own: each records its calls and the
// arguments it got, and can be told to return a code or to throw.
#pragma once

#include <functional>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::Testing {

struct SeamCall {
  int count = 0;
  PF_InData* in_data = nullptr;
  PF_OutData* out_data = nullptr;
  PF_ParamDef** params = nullptr;
  PF_LayerDef* output = nullptr;
  void* extra = nullptr;
};

struct SeamStubs {
  SeamCall glSetup, glSetdown, render, paramsSetup, userChangedParam, updateParamsUI;
  PF_Err paramsSetupResult = PF_Err_NONE;
  PF_Err userChangedParamResult = PF_Err_NONE;
  PF_Err updateParamsUIResult = PF_Err_NONE;
  // Run inside the stub (e.g. to throw, or to look at module state).
  std::function<void()> onGlSetup, onGlSetdown, onRender, onParamsSetup;

  // Seam calls of any kind so far.
  int TotalCalls() const {
    return glSetup.count + glSetdown.count + render.count + paramsSetup.count + userChangedParam.count +
           updateParamsUI.count;
  }
};

// The one instance the stubs use; tests reset it.
SeamStubs& Seams();

}  // namespace Orvane::Lumisk::Testing
