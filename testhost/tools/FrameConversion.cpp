#include "testhost/tools/FrameConversion.h"

#include <algorithm>

namespace Orvane::Lumisk::RenderTool {
namespace {

uint8_t Multiply(uint8_t colour, uint8_t alpha) { return uint8_t((unsigned(colour) * alpha + 127) / 255); }

uint8_t Divide(uint8_t colour, uint8_t alpha) {
  if (alpha == 0) return 0;
  return uint8_t(std::min(255u, (unsigned(colour) * 255 + alpha / 2u) / alpha));
}

const PF_Pixel8* RowOf(const PF_EffectWorld& world, int y) {
  return reinterpret_cast<const PF_Pixel8*>(reinterpret_cast<const char*>(world.data) + ptrdiff_t(y) * world.rowbytes);
}

}  // namespace

RgbaImage Premultiplied(const RgbaImage& image) {
  RgbaImage out = image;
  for (size_t i = 0; i < out.rgba.size(); i += 4)
    for (size_t c = 0; c < 3; ++c) out.rgba[i + c] = Multiply(out.rgba[i + c], out.rgba[i + 3]);
  return out;
}

void CopyToWorld(const RgbaImage& premultiplied, PF_EffectWorld& world) {
  for (int y = 0; y < premultiplied.height; ++y) {
    auto* row = const_cast<PF_Pixel8*>(RowOf(world, y));
    for (int x = 0; x < premultiplied.width; ++x) {
      const uint8_t* p = premultiplied.Pixel(x, y);
      row[x] = PF_Pixel8{p[3], p[0], p[1], p[2]};
    }
  }
}

RgbaImage CopyFromWorld(const PF_EffectWorld& world, bool hasAlpha) {
  RgbaImage image(world.width, world.height, hasAlpha);
  for (int y = 0; y < image.height; ++y) {
    const PF_Pixel8* row = RowOf(world, y);
    for (int x = 0; x < image.width; ++x) {
      const PF_Pixel8& p = row[x];
      uint8_t* o = image.Pixel(x, y);
      if (hasAlpha) {
        o[0] = Divide(p.red, p.alpha);
        o[1] = Divide(p.green, p.alpha);
        o[2] = Divide(p.blue, p.alpha);
        o[3] = p.alpha;
      } else {
        // An opaque picture stays opaque: the colour is taken as it is.
        o[0] = p.red;
        o[1] = p.green;
        o[2] = p.blue;
        o[3] = 255;
      }
    }
  }
  return image;
}

}  // namespace Orvane::Lumisk::RenderTool
