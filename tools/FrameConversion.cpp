#include "tools/FrameConversion.h"

#include <algorithm>
#include <utility>

namespace Orvane::Lumisk::RenderTool {
namespace {

uint8_t Multiply(uint8_t colour, uint8_t alpha) {
  return uint8_t((unsigned(colour) * alpha + 127) / 255);
}

uint8_t Divide(uint8_t colour, uint8_t alpha) {
  if (alpha == 0) return 0;
  return uint8_t(std::min(255u, (unsigned(colour) * 255 + alpha / 2u) / alpha));
}

const PF_Pixel8* RowOf(const PF_EffectWorld& world, int y) {
  return reinterpret_cast<const PF_Pixel8*>(reinterpret_cast<const char*>(world.data) + ptrdiff_t(y) * world.rowbytes);
}

}  // namespace

void PremultiplyInPlace(RgbaImage& image) {
  // Without an alpha channel every alpha is 255, and c * 255 / 255 is c.
  if (!image.hasAlpha) return;
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    const uint8_t alpha = image.rgba[i + 3];
    if (alpha == 255) continue;
    for (size_t c = 0; c < 3; ++c) image.rgba[i + c] = Multiply(image.rgba[i + c], alpha);
  }
}

RgbaImage HostPicture(RgbaImage picture, int downsample) {
  PremultiplyInPlace(picture);
  return DownsampleBox(std::move(picture), downsample);
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
      if (hasAlpha && p.alpha != 255) {
        o[0] = Divide(p.red, p.alpha);
        o[1] = Divide(p.green, p.alpha);
        o[2] = Divide(p.blue, p.alpha);
        o[3] = p.alpha;
      } else {
        // Divided by 255 the colour is itself. An opaque picture stays
        // opaque: its colour is taken as it is.
        o[0] = p.red;
        o[1] = p.green;
        o[2] = p.blue;
        o[3] = hasAlpha ? p.alpha : 255;
      }
    }
  }
  return image;
}

}  // namespace Orvane::Lumisk::RenderTool
