// The module's one export, which the host calls with every effect command.
#pragma once

#include "hostapi/HostEffectApi.h"

#if defined(_WIN32)
#define LUMISK_EXPORT __declspec(dllexport)
#else
#define LUMISK_EXPORT __attribute__((visibility("default")))
#endif

// Never lets an exception out. A thrown int host code answers
// PF_Err_BAD_CALLBACK_PARAM (516), whatever the number; std::bad_alloc answers
// PF_Err_OUT_OF_MEMORY (4); any other exception (a GL set-up fault, a standard
// exception) answers PF_Err_INTERNAL_STRUCT_DAMAGED (512).
extern "C" LUMISK_EXPORT PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                               PF_ParamDef* params[], PF_LayerDef* output, void* extra);

namespace Orvane::Lumisk {

// Effect version 1.1, development stage, build 1, as the host's version bit
// fields read it; the PIPL resource carries the same word.
constexpr A_u_long kEffectVersion = 0x00088001;
constexpr A_long kEffectOutFlags = PF_OutFlag_NONE;
constexpr A_long kEffectOutFlags2 = PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG;
constexpr const char* kEffectName = "ZQ Lumisk";

}  // namespace Orvane::Lumisk
