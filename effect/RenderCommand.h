// The GL half of the effect: global set-up and set-down of the GL runtime and
// the render command. EntryPointFunc calls these inside its one error handler.
#pragma once

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// GL half of global set-up: makes the root context with the host's context
// saved and restored around it. Called after the string table is made.
void GlSetup();

// GL half of global set-down: releases the renderer, the render target's GL
// objects and every context. Called before the string table is destroyed.
void GlSetdown();

// Command 11: carries one frame from the input layer (params[0]) to output.
void RenderCommand(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

}  // namespace Orvane::Lumisk
