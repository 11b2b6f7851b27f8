#include "tools/RgbaImage.h"

#include <algorithm>

namespace Orvane::Lumisk::RenderTool {

RgbaImage DownsampleBox(RgbaImage image, int factor) {
  if (factor <= 1) return image;
  RgbaImage out((image.width + factor - 1) / factor, (image.height + factor - 1) / factor, image.hasAlpha);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const int x1 = std::min(image.width, (x + 1) * factor);
      const int y1 = std::min(image.height, (y + 1) * factor);
      unsigned sum[4] = {0, 0, 0, 0};
      unsigned count = 0;
      for (int sy = y * factor; sy < y1; ++sy) {
        for (int sx = x * factor; sx < x1; ++sx) {
          const uint8_t* p = image.Pixel(sx, sy);
          for (int c = 0; c < 4; ++c) sum[c] += p[c];
          ++count;
        }
      }
      uint8_t* o = out.Pixel(x, y);
      for (int c = 0; c < 4; ++c) o[c] = static_cast<uint8_t>((sum[c] + count / 2) / count);
    }
  }
  return out;
}

}  // namespace Orvane::Lumisk::RenderTool
