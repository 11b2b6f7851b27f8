#include "effect/LayerTextureReader.h"

#include "effect/ParamReaders.h"
#include "gl/HostFrameTransfer.h"

namespace Orvane::Lumisk {

bool ReadLayerTextureParam(PF_InData* in_data, PF_OutData* /*out_data*/, std::int32_t index, gl::GLuint* texture,
                           Vec2d* size, float* multiplier) {
  // The upload runs while the layer is checked out; the check-in follows it,
  // also when the upload throws.
  return ReadCheckedOutParam(in_data, index, [&](PF_ParamDef& def) {
    if (def.param_type != PF_Param_LAYER) return false;
    PF_EffectWorld& layer = def.u.ld;
    *multiplier = 1.0f;
    if (!layer.data) {
      *texture = 0;
      size->Set(0.0, 0.0);
      return true;
    }
    // What the upload reports about the pixel format is not needed here.
    std::uint64_t bytesPerPixel = 4;
    gl::GLenum pixelType = gl::GL_UNSIGNED_BYTE;
    // Handed on raw: the caller takes it into its owner at once.
    *texture = UploadWorldToTexture(kPixelFormatArgb8, &layer, in_data, &bytesPerPixel, &pixelType, multiplier,
                                    TextureFilter::Linear)
                   .Release();
    size->Set(double(layer.width), double(layer.height));
    return true;
  });
}

}  // namespace Orvane::Lumisk
