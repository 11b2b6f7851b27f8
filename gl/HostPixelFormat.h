// The three channel depths of host worlds that the frame transfer knows, by
// pixel-format selector.
#pragma once

#include <cstdint>

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk {

// Pixel-format selectors: four bytes that read "argb", "ae16" and "ae32" in memory.
constexpr int32_t kPixelFormatArgb8 = 0x62677261;
constexpr int32_t kPixelFormatArgb16 = 0x36316561;
constexpr int32_t kPixelFormatArgbFloat = 0x32336561;

struct HostPixelFormat {
  int32_t code;
  gl::GLenum type;         // GL pixel type of one channel
  uint64_t bytesPerPixel;  // four channels
  float multiplier;        // brings the host's full intensity back to 1.0 after GL's normalisation
};

// The format of `code`; throws 516 for a code that is none of the three.
const HostPixelFormat& FindHostPixelFormat(int32_t code);

}  // namespace Orvane::Lumisk
