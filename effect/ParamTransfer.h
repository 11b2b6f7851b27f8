// The renderer's parameter transfer for this host's records. The renderer
// declares BlurRenderer::UpdateFromParams over any record types and knows no
// host types; the effect shell, which owns them, defines it for PF_InData and
// PF_OutData here, so the render library links on its own.
#pragma once

#include "hostapi/HostEffectApi.h"
#include "render/BlurRenderer.h"

namespace Orvane::Lumisk {

// The effect's parameters at the frame's time into the renderer's settings
// and its blur-map pass's, in the renderer's units.
template <>
void BlurRenderer::UpdateFromParams<PF_InData, PF_OutData>(PF_InData* in_data, PF_OutData* out_data);

}  // namespace Orvane::Lumisk
