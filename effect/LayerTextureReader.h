#pragma once

#include <cstdint>

#include <glbinding/gl/types.h>

#include "gl/Vec2d.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// Reads the layer parameter at `index` at the render's current time and
// uploads its pixels into a new float texture (through the frame upload, while
// the layer is checked out). A layer with no pixels (none chosen) gives texture
// 0, size (0, 0) and multiplier 1. Returns false, writing nothing, when the
// check-out fails or the parameter is not a layer. The texture belongs to the
// caller. The parameter is checked in again also when the upload throws; the
// upload's errors go on. A GL context must be current.
bool ReadLayerTextureParam(PF_InData* in_data, PF_OutData* out_data, std::int32_t index, gl::GLuint* texture,
                           Vec2d* size, float* multiplier);

}  // namespace Orvane::Lumisk
