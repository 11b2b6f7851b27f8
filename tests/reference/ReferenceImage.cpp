#include <algorithm>
#include <cmath>

#include "CpuReference.h"

namespace Orvane::Lumisk::Reference {

Image::Image(int w, int h, Texel fill)
    : width(w), height(h), texels(static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0)), fill) {}

Image Image::FromArgb8(int w, int h, const std::vector<uint8_t>& bytes) {
  Image image(w, h);
  for (size_t i = 0; i < image.texels.size(); ++i) {
    for (size_t c = 0; c < 4; ++c) image.texels[i][c] = static_cast<float>(bytes[i * 4 + c]) / 255.0f;
  }
  return image;
}

std::vector<uint8_t> Image::ToArgb8() const {
  std::vector<uint8_t> bytes(texels.size() * 4);
  for (size_t i = 0; i < texels.size(); ++i) {
    for (size_t c = 0; c < 4; ++c) {
      float v = std::clamp(texels[i][c], 0.0f, 1.0f);
      bytes[i * 4 + c] = static_cast<uint8_t>(std::lround(v * 255.0f));
    }
  }
  return bytes;
}

}  // namespace Orvane::Lumisk::Reference
