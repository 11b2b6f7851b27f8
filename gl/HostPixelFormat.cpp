#include "gl/HostPixelFormat.h"

#include "hostapi/HostEffectApi.h"

namespace Orvane::Lumisk {

namespace {

// The host's 16-bit channels run from 0 to 32768 while GL normalises by 65535.
constexpr float kSixteenBitMultiplier = 65535.0f / 32768.0f;

const HostPixelFormat kFormats[] = {
    {kPixelFormatArgb8, gl::GL_UNSIGNED_BYTE, 4, 1.0f},
    {kPixelFormatArgb16, gl::GL_UNSIGNED_SHORT, 8, kSixteenBitMultiplier},
    {kPixelFormatArgbFloat, gl::GL_FLOAT, 16, 1.0f},
};

}  // namespace

const HostPixelFormat& FindHostPixelFormat(int32_t code) {
  for (const HostPixelFormat& format : kFormats) {
    if (format.code == code) {
      return format;
    }
  }
  throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM);
}

}  // namespace Orvane::Lumisk
