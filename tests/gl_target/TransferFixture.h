// A GL context and a test host whose services (pixel data, handles, float
// iteration) the frame transfer calls, with helpers to fill and compare host
// worlds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <glbinding/gl/gl.h>
#include <gtest/gtest.h>

#include "host/World.h"
#include "hostapi/HostEffectApi.h"
#include "instruments/TestHost.h"
#include "tests/support/GlTestContext.h"

namespace Orvane::Lumisk::Testing {

using TestHost::PixelDepth;
using TestHost::World;

// Channel value of pixel (x, y), channel c (host order A, R, G, B), as a
// fraction of full intensity that each depth can hold exactly.
inline uint8_t Channel8(int x, int y, int c) {
  return static_cast<uint8_t>((x * 37 + y * 91 + c * 53 + x * y * 7) % 256);
}
inline uint16_t Channel16(int x, int y, int c) {
  return static_cast<uint16_t>((x * 4099 + y * 7919 + c * 1543 + x * y * 31) % 32769);
}
inline float ChannelFloat(int x, int y, int c) {
  return static_cast<float>(x - 2 * y + c) * 0.375f + 0.125f;
}

// The host world's channel c of pixel (x, y) as a double, in the world's units.
inline double WorldChannel(const World& world, int x, int y, int c) {
  switch (world.Depth()) {
    case PixelDepth::k8: {
      const PF_Pixel8& p = world.Pixel8(x, y);
      const uint8_t channels[4] = {p.alpha, p.red, p.green, p.blue};
      return channels[c];
    }
    case PixelDepth::k16: {
      const PF_Pixel16& p = world.Pixel16(x, y);
      const uint16_t channels[4] = {p.alpha, p.red, p.green, p.blue};
      return channels[c];
    }
    case PixelDepth::kFloat: {
      const PF_PixelFloat& p = world.PixelFloat(x, y);
      const float channels[4] = {p.alpha, p.red, p.green, p.blue};
      return channels[c];
    }
  }
  return 0.0;
}

// Every pixel of `world` set from the pattern of its depth.
inline void FillPattern(World& world) {
  for (int y = 0; y < world.Height(); ++y) {
    for (int x = 0; x < world.Width(); ++x) {
      switch (world.Depth()) {
        case PixelDepth::k8:
          world.Pixel8(x, y) = {Channel8(x, y, 0), Channel8(x, y, 1), Channel8(x, y, 2), Channel8(x, y, 3)};
          break;
        case PixelDepth::k16:
          world.Pixel16(x, y) = {Channel16(x, y, 0), Channel16(x, y, 1), Channel16(x, y, 2), Channel16(x, y, 3)};
          break;
        case PixelDepth::kFloat:
          world.PixelFloat(x, y) = {ChannelFloat(x, y, 0), ChannelFloat(x, y, 1), ChannelFloat(x, y, 2),
                                    ChannelFloat(x, y, 3)};
          break;
      }
    }
  }
}

// Every pixel byte (not the row gaps) set to `value`.
inline void FillBytes(World& world, uint8_t value) {
  const int pixelBytes = world.Width() * TestHost::BytesPerPixel(world.Depth());
  for (int y = 0; y < world.Height(); ++y) {
    std::fill(world.Row(y), world.Row(y) + pixelBytes, value);
  }
}

// The pattern value of channel c at (x, y) for a depth, in world units.
inline double PatternChannel(PixelDepth depth, int x, int y, int c) {
  switch (depth) {
    case PixelDepth::k8:
      return Channel8(x, y, c);
    case PixelDepth::k16:
      return Channel16(x, y, c);
    case PixelDepth::kFloat:
      return ChannelFloat(x, y, c);
  }
  return 0.0;
}

// Compares every channel of `world` with expected(x, y, c), reporting the first
// few differences.
inline void ExpectWorld(const World& world, const std::function<double(int, int, int)>& expected, double tolerance) {
  int reported = 0;
  for (int y = 0; y < world.Height(); ++y) {
    for (int x = 0; x < world.Width(); ++x) {
      for (int c = 0; c < 4 && reported < 8; ++c) {
        const double want = expected(x, y, c);
        const double got = WorldChannel(world, x, y, c);
        if (!(std::abs(want - got) <= tolerance)) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") channel " << c << ": expected " << want << ", got " << got;
          ++reported;
        }
      }
    }
  }
}

inline PF_Err NoCommands(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*) {
  return 0;
}

// Runs `call` and answers the int it threw, or -1 when it threw nothing.
template <typename Call>
int ThrownCode(Call&& call) {
  try {
    call();
  } catch (int code) {
    return code;
  }
  return -1;
}

// Whether any texture exists among the first names of the context's share group.
inline bool AnyTextureExists() {
  for (gl::GLuint name = 1; name <= 64; ++name) {
    if (gl::glIsTexture(name) == gl::GL_TRUE) {
      return true;
    }
  }
  return false;
}

class TransferTest : public GlContextTest {
protected:
  TestHost::Host host{&NoCommands};
  PF_InData* InData() { return &host.InData(); }
};

}  // namespace Orvane::Lumisk::Testing
