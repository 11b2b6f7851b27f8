// An 8-bit straight-alpha RGBA picture as PNG files hold it, rows top first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvane::Lumisk::RenderTool {

struct RgbaImage {
  int width = 0;
  int height = 0;
  // Whether the picture came with (or should be written with) an alpha channel.
  bool hasAlpha = false;
  std::vector<uint8_t> rgba;  // width * height * 4 bytes

  RgbaImage() = default;
  RgbaImage(int w, int h, bool alpha) : width(w), height(h), hasAlpha(alpha), rgba(size_t(w) * size_t(h) * 4, 0) {}

  uint8_t* Pixel(int x, int y) { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
  const uint8_t* Pixel(int x, int y) const { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
};

// Box-filters the picture down by a whole factor (ceil(w / factor) x ceil(h / factor)),
// as a host does for a preview at a lower resolution. A factor of 1 returns the
// picture itself (moved, when given an rvalue).
RgbaImage DownsampleBox(RgbaImage image, int factor);

}  // namespace Orvane::Lumisk::RenderTool
