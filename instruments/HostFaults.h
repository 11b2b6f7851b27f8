// Faults the test host can inject into what it offers the module. All off by
// default; set the fields between commands.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk::TestHost {

struct HostFaults {
  // AcquireSuite refuses these suite names (result A_Err_MISSING_SUITE).
  std::set<std::string> missingSuites;
  // AcquireSuite answers success but hands out a null suite for these names.
  std::set<std::string> nullSuites;
  // AcquireSuite hands out a copy of the suite with this function null, by
  // suite name and function name (e.g. {"PF Handle Suite", "host_lock_handle"}).
  std::set<std::pair<std::string, std::string>> nullFunctions;

  // add_param fails at this call (1-based count within one Host::ParamsSetup; 0: never).
  int addParamFailAtCall = 0;
  PF_Err addParamError = PF_Err_OUT_OF_MEMORY;

  // checkout_param fails for these indices with the given code.
  std::map<PF_ParamIndex, PF_Err> checkoutErrors;
  // checkout_param succeeds but reports this param_type for these indices.
  std::map<PF_ParamIndex, PF_ParamType> wrongTypes;

  // host_new_handle gives null.
  bool nullNewHandle = false;
  // get_pixel_data8 / get_pixel_data16 give a null pointer and PF_Err_BAD_CALLBACK_PARAM.
  bool nullPixelData = false;
  // iterate returns this code without calling the pixel function (0: off).
  PF_Err iterateError = PF_Err_NONE;

  // PF_AppGetLanguage returns this code and writes nothing (0: off).
  PF_Err languageError = PF_Err_NONE;

  // AEGP_GetNewEffectForEffect fails with this code and gives no effect (0: off).
  A_Err newEffectError = A_Err_NONE;
  // AEGP_GetNewEffectStreamByIndex fails for these indices and gives no stream.
  std::map<PF_ParamIndex, A_Err> newStreamErrors;
  // AEGP_GetDynamicStreamFlags fails for these indices and writes nothing.
  std::map<PF_ParamIndex, A_Err> getStreamFlagsErrors;
  // AEGP_SetDynamicStreamFlag fails for these indices and changes nothing.
  std::map<PF_ParamIndex, A_Err> setStreamFlagErrors;
  // PF_UpdateParamUI returns this code (0: off).
  PF_Err updateParamUiError = PF_Err_NONE;
};

}  // namespace Orvane::Lumisk::TestHost
