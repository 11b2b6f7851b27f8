// Parameter set-up (command 4): declares the effect's 17 parameters.
#pragma once

#include <cstddef>

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Sets num_params to 17, then adds the 16 definitions of ParamRows() named
// from the string table. The first error of the host's add_param ends the
// set-up and is returned unchanged.
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

// How many bytes of text go into the host's 32-byte name field: at most 31,
// cut before a code page 936 character that would not fit whole. Every name
// of the effect fits; this only keeps the host's field from overflowing.
std::size_t ParamNameLength(const char* text);

}  // namespace Orvane::Lumisk
