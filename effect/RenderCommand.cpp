#include "effect/RenderCommand.h"

namespace Orvane::Lumisk {

// Placeholders until the GL runtime is wired in.
void GlSetup() {}

void GlSetdown() {}

void RenderCommand(PF_InData* /*in_data*/, PF_OutData* /*out_data*/, PF_ParamDef* /*params*/[],
                   PF_LayerDef* /*output*/) {}

}  // namespace Orvane::Lumisk
