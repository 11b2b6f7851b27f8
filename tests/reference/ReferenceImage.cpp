#include "CpuReference.h"

#include <algorithm>
#include <cmath>

namespace Orvane::Lumisk::Reference {

Image::Image(int w, int h, Texel fill)
    : width(w), height(h), texels(static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0)), fill)
{
}

Image Image::FromArgb8(int w, int h, const std::vector<uint8_t>& bytes)
{
    Image image(w, h);
    for (size_t i = 0; i < image.texels.size(); ++i) {
        for (size_t c = 0; c < 4; ++c)
            image.texels[i][c] = static_cast<float>(bytes[i * 4 + c]) / 255.0f;
    }
    return image;
}

std::vector<uint8_t> Image::ToArgb8() const
{
    std::vector<uint8_t> bytes(texels.size() * 4);
    for (size_t i = 0; i < texels.size(); ++i) {
        for (size_t c = 0; c < 4; ++c) {
            float v = std::clamp(texels[i][c], 0.0f, 1.0f);
            bytes[i * 4 + c] = static_cast<uint8_t>(std::lround(v * 255.0f));
        }
    }
    return bytes;
}

Texel SampleLinear(const Image& image, float u, float v)
{
    if (image.width <= 0 || image.height <= 0)
        return {0.0f, 0.0f, 0.0f, 0.0f};
    const float x = u * static_cast<float>(image.width) - 0.5f;
    const float y = v * static_cast<float>(image.height) - 0.5f;
    const float x0f = std::floor(x);
    const float y0f = std::floor(y);
    const float ax = x - x0f;
    const float ay = y - y0f;
    auto clampX = [&](float i) { return static_cast<int>(std::clamp(i, 0.0f, static_cast<float>(image.width - 1))); };
    auto clampY = [&](float j) { return static_cast<int>(std::clamp(j, 0.0f, static_cast<float>(image.height - 1))); };
    const int x0 = clampX(x0f);
    const int x1 = clampX(x0f + 1.0f);
    const int y0 = clampY(y0f);
    const int y1 = clampY(y0f + 1.0f);
    Texel out{};
    for (size_t c = 0; c < 4; ++c) {
        const float top = image.At(x0, y0)[c] * (1.0f - ax) + image.At(x1, y0)[c] * ax;
        const float bottom = image.At(x0, y1)[c] * (1.0f - ax) + image.At(x1, y1)[c] * ax;
        out[c] = top * (1.0f - ay) + bottom * ay;
    }
    return out;
}

}  // namespace Orvane::Lumisk::Reference
