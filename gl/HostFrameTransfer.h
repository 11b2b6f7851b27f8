// Moving pixels between the host's images and GL: an upload of a host world into
// a new RGBA 32-bit float texture, and a read-back of the bound framebuffer's
// first colour attachment into a host world. Channels are not reordered and rows
// are not flipped: texture row 0 is the host's first row.
//
// Both run on the command's host thread with one of the module's contexts
// current. Failures are thrown as int host error codes: 13 for a suite the host
// cannot give, 4 for a read-back buffer it cannot allocate, 516 for an unknown
// pixel format, a null or malformed world, or a pixel pointer the host does not
// give; on the float path also the host's non-zero iterate result. A world
// larger than the GL's texture limit throws AESDK_OpenGL_Fault before any
// texture is made; a texture or read the GL has no memory for (an error, or
// storage short of the world's size) throws GlOutOfMemory, with nothing left
// behind. Any other GL error at the read-back throws std::runtime_error: the
// host's buffer is never handed back unread.
#pragma once

#include <cstdint>

#include <glbinding/gl/gl.h>

#include "gl/HostPixelFormat.h"
#include "gl/ScopedTexture.h"
#include "gl/TextureParameters.h"
#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

// What the float callbacks receive from the host: a staging buffer of 4 floats
// per pixel in PF_PixelFloat order, rows without gaps, `world`'s width per row.
struct PixelStaging {
  float* buffer;
  PF_EffectWorld* world;
};

// Makes a texture of `world`'s size holding its pixels, clamped to the edge
// and sampled through `filter` (no mipmap levels are made). Always writes
// *multiplier (1.0 except 65535/32768 for 16-bit worlds, whose channels run to
// 32768); writes *type and *bytesPerPixel for the known formats. Nothing is
// left bound and GL_UNPACK_ROW_LENGTH is 0 again afterwards. A throw after the
// texture was made deletes it.
ScopedTexture UploadWorldToTexture(int32_t pixelFormat, PF_EffectWorld* world, PF_InData* in_data,
                                   uint64_t* bytesPerPixel, gl::GLenum* type, float* multiplier, TextureFilter filter);
// The same with linear filtering, also between mipmap levels when
// `mipmapFilter`, handing the name over: the caller deletes it.
gl::GLuint UploadWorldToTexture(int32_t pixelFormat, PF_EffectWorld* world, PF_InData* in_data, uint64_t* bytesPerPixel,
                                gl::GLenum* type, float* multiplier, bool mipmapFilter);

// Reads `width` x `height` pixels at the origin of the framebuffer bound for
// reading and writes the overlap with `destination` into it; destination pixels
// outside the area read are cleared to zero, and the gaps at the ends of its rows
// are left alone. `source` is the image the host walks on the float path (its
// size must be `width` x `height`); `bytesPerPixel` and `type` must be those the
// upload of the same format returned.
void ReadBackToWorld(uint32_t width, uint32_t height, PF_EffectWorld* source, PF_EffectWorld* destination,
                     PF_InData* in_data, int32_t pixelFormat, uint64_t bytesPerPixel, gl::GLenum type);

// The float path's pixel callbacks; `refcon` is a PixelStaging. They touch only
// their own pixel's entry, so the host may call them in any order and from several
// threads. A pixel outside the staging world has no entry: it is not staged on
// the way in and comes out transparent black; a null pixel pointer gives 516.
PF_Err CopyPixelToStaging(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out);
PF_Err CopyPixelFromStaging(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out);

}  // namespace Orvane::Lumisk
