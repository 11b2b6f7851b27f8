#include "gl/HostFrameTransfer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "gl/GlOutOfMemory.h"
#include "gl/GlSizeLimits.h"
#include "gl/ScopedTexture.h"
#include "gl/TextureParameters.h"
#include "hostapi/HostSuiteHolder.h"
#include "hostapi/HostSuites.h"

using namespace gl;

namespace Orvane::Lumisk {

namespace {

[[noreturn]] void ThrowBadParam() {
  throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM);
}

void RequireNotNull(const void* pointer) {
  if (pointer == nullptr) {
    ThrowBadParam();
  }
}

// A world whose size or row stride cannot describe its own pixel memory is
// refused before GL or a copy could run past that memory.
void RequireWellFormed(const PF_EffectWorld* world, uint64_t bytesPerPixel) {
  RequireNotNull(world);
  if (world->width < 0 || world->height < 0 || world->rowbytes < 0 ||
      static_cast<uint64_t>(world->rowbytes) < static_cast<uint64_t>(world->width) * bytesPerPixel) {
    ThrowBadParam();
  }
}

// The world's first pixel through the host's pixel-data callback for its depth.
unsigned char* FirstPixel(PF_InData* in_data, PF_EffectWorld* world, int32_t pixelFormat) {
  RequireNotNull(in_data->utils);
  void* pixels = nullptr;
  if (pixelFormat == kPixelFormatArgb8) {
    PF_Pixel8* pixels8 = nullptr;
    if (in_data->utils->get_pixel_data8 != nullptr) {
      in_data->utils->get_pixel_data8(world, nullptr, &pixels8);
    }
    pixels = pixels8;
  } else {
    PF_Pixel16* pixels16 = nullptr;
    if (in_data->utils->get_pixel_data16 != nullptr) {
      in_data->utils->get_pixel_data16(world, nullptr, &pixels16);
    }
    pixels = pixels16;
  }
  RequireNotNull(pixels);
  return static_cast<unsigned char*>(pixels);
}

uint64_t PixelCount(const PF_EffectWorld* world) {
  return static_cast<uint64_t>(world->width) * static_cast<uint64_t>(world->height);
}

void Iterate(PF_InData* in_data, PF_EffectWorld* source, PixelStaging* staging, PF_IteratePixelFloatFunc callback,
             PF_EffectWorld* destination) {
  HostSuiteHolder suite(in_data, kPFIterateFloatSuite, kPFIterateFloatSuiteVersion1);
  const PF_Err err = suite.Get<PF_iterateFloatSuite1>().iterate(in_data, 0, source->height, source, nullptr, staging,
                                                                callback, destination);
  if (err != PF_Err_NONE) {
    throw static_cast<int>(err);
  }
}

// The world's rows packed one after another, for a stride that is not a whole
// number of pixels and so cannot be told to GL as a row length.
std::vector<unsigned char> PackedRows(const unsigned char* pixels, const PF_EffectWorld* world,
                                      uint64_t bytesPerPixel) {
  const uint64_t rowBytes = static_cast<uint64_t>(world->width) * bytesPerPixel;
  std::vector<unsigned char> packed(rowBytes * static_cast<uint64_t>(world->height));
  for (uint64_t y = 0; y < static_cast<uint64_t>(world->height); ++y) {
    std::memcpy(packed.data() + y * rowBytes, pixels + y * static_cast<uint64_t>(world->rowbytes), rowBytes);
  }
  return packed;
}

void UploadIntegerPixels(PF_InData* in_data, PF_EffectWorld* world, const HostPixelFormat& format) {
  const unsigned char* pixels = FirstPixel(in_data, world, format.code);
  const uint64_t rowbytes = static_cast<uint64_t>(world->rowbytes);
  if (rowbytes % format.bytesPerPixel == 0) {
    // The host's row stride as the unpack row length lets GL read the rows in place.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(rowbytes / format.bytesPerPixel));
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, world->width, world->height, GL_RGBA, format.type, pixels);
    return;
  }
  const std::vector<unsigned char> packed = PackedRows(pixels, world, format.bytesPerPixel);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, world->width);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, world->width, world->height, GL_RGBA, format.type, packed.data());
}

void UploadFloatPixels(PF_InData* in_data, PF_EffectWorld* world) {
  std::vector<float> buffer(PixelCount(world) * 4);
  PixelStaging staging{buffer.data(), world};
  // Source and destination are the same world; the callback copies each pixel
  // onto itself so that the host's image stays as it was.
  Iterate(in_data, world, &staging, CopyPixelToStaging, world);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, world->width);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, world->width, world->height, GL_RGBA, GL_FLOAT, buffer.data());
}

// A read-back buffer allocated and locked through the host's handle suite,
// unlocked and disposed of at scope exit.
class LockedHostBuffer {
public:
  LockedHostBuffer(PF_InData* in_data, uint64_t bytes)
      : holder(in_data, kPFHandleSuite, kPFHandleSuiteVersion2), suite(holder.Get<PF_HandleSuite2>()) {
    handle = suite.host_new_handle(bytes);
    if (handle == nullptr) {
      throw static_cast<int>(PF_Err_OUT_OF_MEMORY);
    }
    data = static_cast<unsigned char*>(suite.host_lock_handle(handle));
    if (data == nullptr && bytes != 0) {
      Dispose();
      ThrowBadParam();
    }
  }
  ~LockedHostBuffer() { Dispose(); }
  LockedHostBuffer(const LockedHostBuffer&) = delete;
  LockedHostBuffer& operator=(const LockedHostBuffer&) = delete;

  unsigned char* Data() const { return data; }

private:
  void Dispose() {
    if (handle == nullptr) {
      return;
    }
    if (data != nullptr) {
      suite.host_unlock_handle(handle);
    }
    suite.host_dispose_handle(handle);
    handle = nullptr;
    data = nullptr;
  }

  HostSuiteHolder holder;
  const PF_HandleSuite2& suite;
  PF_Handle handle = nullptr;
  unsigned char* data = nullptr;
};

uint64_t ReadBackByteCount(uint32_t width, uint32_t height, uint64_t bytesPerPixel) {
  const uint64_t pixels = static_cast<uint64_t>(width) * height;  // cannot overflow: both below 2^32
  if (pixels != 0 && bytesPerPixel > std::numeric_limits<uint64_t>::max() / pixels) {
    throw static_cast<int>(PF_Err_OUT_OF_MEMORY);
  }
  return pixels * bytesPerPixel;
}

// Copies the overlap of the `width` x `height` rows in `buffer` into the
// destination and clears every other pixel of it; the row gaps stay untouched.
void CopyRowsToWorld(const unsigned char* buffer, uint32_t width, uint32_t height, PF_InData* in_data,
                     PF_EffectWorld* destination, const HostPixelFormat& format) {
  if (destination->width == 0 || destination->height == 0) {
    return;
  }
  unsigned char* pixels = FirstPixel(in_data, destination, format.code);
  const uint64_t bytesPerPixel = format.bytesPerPixel;
  const uint64_t rowBytes = static_cast<uint64_t>(destination->width) * bytesPerPixel;
  const uint64_t copiedRows = std::min<uint64_t>(height, static_cast<uint64_t>(destination->height));
  const uint64_t copiedBytes = std::min<uint64_t>(width, static_cast<uint64_t>(destination->width)) * bytesPerPixel;
  for (uint64_t y = 0; y < static_cast<uint64_t>(destination->height); ++y) {
    unsigned char* row = pixels + y * static_cast<uint64_t>(destination->rowbytes);
    uint64_t written = 0;
    if (y < copiedRows && copiedBytes != 0) {
      std::memcpy(row, buffer + y * width * bytesPerPixel, copiedBytes);
      written = copiedBytes;
    }
    std::memset(row + written, 0, rowBytes - written);
  }
}

void CopyStagingToWorld(float* buffer, uint32_t width, uint32_t height, PF_EffectWorld* source, PF_InData* in_data,
                        PF_EffectWorld* destination) {
  RequireNotNull(source);
  RequireNotNull(destination);
  // The host walks the source, so the staging rows are the source's rows.
  if (source->width < 0 || source->height < 0 || static_cast<uint32_t>(source->width) != width ||
      static_cast<uint32_t>(source->height) != height) {
    ThrowBadParam();
  }
  PixelStaging staging{buffer, source};
  Iterate(in_data, source, &staging, CopyPixelFromStaging, destination);
}

// The staging entry of pixel (x, y), or null when the pixel lies outside the
// staging world or the record is incomplete.
float* StagingEntry(void* refcon, A_long x, A_long y) {
  const auto* staging = static_cast<const PixelStaging*>(refcon);
  if (staging == nullptr || staging->buffer == nullptr || staging->world == nullptr) {
    return nullptr;
  }
  const PF_EffectWorld* world = staging->world;
  if (x < 0 || y < 0 || x >= world->width || y >= world->height) {
    return nullptr;
  }
  const uint64_t index = static_cast<uint64_t>(world->width) * static_cast<uint64_t>(y) + static_cast<uint64_t>(x);
  return staging->buffer + index * 4;
}

// Any error flag at the read-back means the buffer may not hold the frame
// (an incomplete framebuffer is one whose storage the GL could not make), and
// the host's unwritten buffer must never go back as the frame. Any other
// error is the module's own fault, not the host's parameters.
void ThrowUnlessFrameRead() {
  const GlErrorFlags errors = TakeGlErrors();
  if (errors.outOfMemory || errors.incompleteFramebuffer) {
    throw GlOutOfMemory();
  }
  if (errors.other) {
    throw std::runtime_error("GL error at the read-back");
  }
}

}  // namespace

GLuint UploadWorldToTexture(int32_t pixelFormat, PF_EffectWorld* world, PF_InData* in_data, uint64_t* bytesPerPixel,
                            GLenum* type, float* multiplier, bool mipmapFilter) {
  return UploadWorldToTexture(pixelFormat, world, in_data, bytesPerPixel, type, multiplier,
                              TextureFilterOf(true, mipmapFilter))
      .Release();
}

ScopedTexture UploadWorldToTexture(int32_t pixelFormat, PF_EffectWorld* world, PF_InData* in_data,
                                   uint64_t* bytesPerPixel, GLenum* type, float* multiplier, TextureFilter filter) {
  RequireNotNull(in_data);
  RequireNotNull(bytesPerPixel);
  RequireNotNull(type);
  RequireNotNull(multiplier);
  *multiplier = 1.0f;
  const HostPixelFormat& format = FindHostPixelFormat(pixelFormat);
  // A float world's rows are read through the host's iterator, not in place,
  // but its stride must still cover its rows.
  RequireWellFormed(world, format.bytesPerPixel);
  RequireTextureSize(world->width, world->height);

  ScopedTexture texture = ScopedTexture::Generate();
  glBindTexture(GL_TEXTURE_2D, texture.Get());
  SetTextureParameters(FiltersOf(filter));
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, world->width, world->height, 0, GL_RGBA, GL_FLOAT, nullptr);
  // Checked before the host's pixels are read: a texture without storage
  // would take none of them.
  if (!BoundTextureHasSize(world->width, world->height)) {
    glBindTexture(GL_TEXTURE_2D, 0);
    ThrowIfGlOutOfMemory(false);
  }

  *type = format.type;
  *bytesPerPixel = format.bytesPerPixel;
  *multiplier = format.multiplier;
  if (PixelCount(world) != 0) {
    if (format.code == kPixelFormatArgbFloat) {
      UploadFloatPixels(in_data, world);
    } else {
      UploadIntegerPixels(in_data, world, format);
    }
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  ThrowIfGlOutOfMemory();
  return texture;
}

void ReadBackToWorld(uint32_t width, uint32_t height, PF_EffectWorld* source, PF_EffectWorld* destination,
                     PF_InData* in_data, int32_t pixelFormat, uint64_t bytesPerPixel, GLenum type) {
  RequireNotNull(in_data);
  const HostPixelFormat& format = FindHostPixelFormat(pixelFormat);
  // GL writes width x height pixels of `type`; a buffer sized by any other
  // pixel size would be overrun.
  if (bytesPerPixel != format.bytesPerPixel || type != format.type) {
    ThrowBadParam();
  }
  if (width > static_cast<uint32_t>(std::numeric_limits<GLsizei>::max()) ||
      height > static_cast<uint32_t>(std::numeric_limits<GLsizei>::max())) {
    ThrowBadParam();
  }
  RequireWellFormed(destination, format.bytesPerPixel);

  LockedHostBuffer buffer(in_data, ReadBackByteCount(width, height, bytesPerPixel));
  if (width != 0 && height != 0) {
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, type, buffer.Data());
    ThrowUnlessFrameRead();
  }
  if (format.code == kPixelFormatArgbFloat) {
    CopyStagingToWorld(reinterpret_cast<float*>(buffer.Data()), width, height, source, in_data, destination);
  } else {
    CopyRowsToWorld(buffer.Data(), width, height, in_data, destination, format);
  }
}

PF_Err CopyPixelToStaging(void* refcon, A_long x, A_long y, PF_PixelFloat* in, PF_PixelFloat* out) {
  if (in == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  const PF_PixelFloat pixel = *in;
  if (float* entry = StagingEntry(refcon, x, y)) {
    entry[0] = pixel.alpha;
    entry[1] = pixel.red;
    entry[2] = pixel.green;
    entry[3] = pixel.blue;
  }
  // The host may hand a separate output pixel even when source and destination
  // are one world: the input is written back so that the world stays as it was.
  if (out != nullptr) {
    *out = pixel;
  }
  return PF_Err_NONE;
}

PF_Err CopyPixelFromStaging(void* refcon, A_long x, A_long y, PF_PixelFloat* /*in*/, PF_PixelFloat* out) {
  if (out == nullptr) {
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  // Pixels outside the area read are cleared, as on the integer paths.
  const float* entry = StagingEntry(refcon, x, y);
  out->alpha = entry != nullptr ? entry[0] : 0.0f;
  out->red = entry != nullptr ? entry[1] : 0.0f;
  out->green = entry != nullptr ? entry[2] : 0.0f;
  out->blue = entry != nullptr ? entry[3] : 0.0f;
  return PF_Err_NONE;
}

}  // namespace Orvane::Lumisk
