#include "CpuReference.h"

#include <algorithm>
#include <cmath>

namespace Orvane::Lumisk::Reference {
namespace {

// Host order (A, R, G, B) to R, G, B, A.
Texel Gbar(const Texel& t)
{
    return {t[1], t[2], t[3], t[0]};
}

float ColorWeight(const Texel& rgba)
{
    return (rgba[0] * 0.2125f + rgba[1] * 0.7154f + rgba[2] * 0.0721f) * rgba[3];
}

float Mix(float a, float b, float t)
{
    return a * (1.0f - t) + b * t;
}

int GridCells(int pixels, int step)
{
    return static_cast<int>(std::ceil(static_cast<double>(pixels) / step));
}

// Map value m at texture coordinates (u, v); an empty texture unit reads
// (0, 0, 0, 1) in host order, whose weight is 0.
float MapValue(const Image* map, float u, float v)
{
    if (map == nullptr)
        return ColorWeight(Gbar({0.0f, 0.0f, 0.0f, 1.0f}));
    return ColorWeight(Gbar(SampleLinear(*map, u, v)));
}

// Mean of (grid value - 0.5) over the aperture of radius R (> 0) about grid
// position (px, py), from the exclusive prefix sums.
Texel ApertureMean(const Image& prefix, int gridWidth, int gridHeight, int lensShape, float px, float py, float R)
{
    const float pwx = 1.0f / (static_cast<float>(gridWidth) + 1.0f);
    const float pwy = 1.0f / static_cast<float>(gridHeight);
    const int n = static_cast<int>(R);
    Texel c{0.0f, 0.0f, 0.0f, 0.0f};
    float cw = 0.0f;
    for (int i = -n; i <= n; ++i) {
        const float w = RowHalfWidth(lensShape, i, R);
        const float left = std::max(0.0f, w - px);
        const float right = std::max(0.0f, px - static_cast<float>(gridWidth) + w);
        cw += 2.0f * w - left - right;
        const float v = (py + static_cast<float>(i)) * pwy;
        const Texel end = SampleLinear(prefix, (px + w + 0.5f) * pwx, v);
        const Texel start = SampleLinear(prefix, (px - w + 0.5f) * pwx, v);
        for (size_t k = 0; k < 4; ++k)
            c[k] += end[k] - start[k];
    }
    for (float& value : c)
        value /= cw;
    return c;
}

const Image* MapImageFor(const ReferenceSettings& settings, const Image& generated)
{
    if (settings.mapType >= 1 && settings.mapType <= 4)
        return &generated;
    if (settings.mapType == 5)
        return settings.customMap;
    return nullptr;
}

}  // namespace

int GridStep(int quality)
{
    return std::clamp(quality + 1, 1, 4);
}

int PrefixLevelCount(int n, int gridWidth)
{
    const long long need = std::max(n, gridWidth);
    int k = 1;
    while ((1LL << k) < need)
        ++k;
    return k;
}

Image PrepareGrid(const Image& input, int step)
{
    const int gw = GridCells(input.width, step);
    const int gh = GridCells(input.height, step);
    Image grid(gw, gh);
    for (int r = 0; r < gh; ++r) {
        for (int k = 0; k < gw; ++k) {
            const float u = (static_cast<float>(k) + 0.5f) / static_cast<float>(gw);
            const float v = (static_cast<float>(r) + 0.5f) / static_cast<float>(gh);
            Texel t = Gbar(SampleLinear(input, u, v));
            for (float& value : t)
                value -= 0.5f;
            grid.At(k, r) = t;
        }
    }
    return grid;
}

Image ExclusiveRowPrefix(const Image& grid)
{
    Image prefix(grid.width + 1, grid.height);
    for (int r = 0; r < grid.height; ++r) {
        double sum[4] = {0.0, 0.0, 0.0, 0.0};
        for (int k = 0; k < grid.width; ++k) {
            for (size_t c = 0; c < 4; ++c) {
                sum[c] += grid.At(k, r)[c];
                prefix.At(k + 1, r)[c] = static_cast<float>(sum[c]);
            }
        }
    }
    return prefix;
}

float RowHalfWidth(int lensShape, int row, float R)
{
    const float i = static_cast<float>(row);
    if (lensShape == 0)
        return std::sqrt(std::fabs((1.0f - (1.0f / (R * R)) * i * i) * (R * R)));
    if (lensShape == 1)
        return 0.866025f * std::min(1.0f, (1.0f - std::fabs(i / R)) / 0.5f) * R;
    const float x = -i / R;
    const float f1 = 0.8090169943749381f * (1.0f - x) / 0.587785252292486f;
    const float f2 = 0.3090169943749927f * (-2.618f - x) / -0.9510565162951389f;
    const float f3 = x < -0.8090169943749224f ? 0.0f : 1.0f;
    return std::min(f1, f2) * R * f3;
}

std::vector<float> BlurScales(const Image& input, const ReferenceSettings& settings)
{
    const int w = input.width;
    const int h = input.height;
    const Image generated = (settings.mapType >= 1 && settings.mapType <= 4) ? GenerateMap(settings, w, h) : Image();
    const Image* map = MapImageFor(settings, generated);
    const float enable = settings.mapType != 0 ? 1.0f : 0.0f;
    const float invert = settings.invert ? 1.0f : 0.0f;
    const float focal = static_cast<float>(settings.focalDistance);
    std::vector<float> scales(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const float u = (static_cast<float>(i) + 0.5f) / static_cast<float>(w);
            const float v = (static_cast<float>(j) + 0.5f) / static_cast<float>(h);
            const float m = MapValue(map, u, v);
            scales[static_cast<size_t>(j) * static_cast<size_t>(w) + static_cast<size_t>(i)] =
                std::fabs(Mix(1.0f, Mix(m, 1.0f - m, invert), enable) - focal);
        }
    }
    return scales;
}

Image RenderReference(const Image& input, const ReferenceSettings& settings)
{
    const int step = GridStep(settings.quality);
    const Image grid = PrepareGrid(input, step);
    const Image prefix = ExclusiveRowPrefix(grid);
    const std::vector<float> scales = BlurScales(input, settings);
    const float stepF = static_cast<float>(step);
    const float show = settings.showBlurMap ? 1.0f : 0.0f;
    Image out(input.width, input.height);
    for (int j = 0; j < input.height; ++j) {
        for (int i = 0; i < input.width; ++i) {
            const float u = (static_cast<float>(i) + 0.5f) / static_cast<float>(input.width);
            const float v = (static_cast<float>(j) + 0.5f) / static_cast<float>(input.height);
            const float s = scales[static_cast<size_t>(j) * static_cast<size_t>(input.width) + static_cast<size_t>(i)];
            const float R = static_cast<float>(settings.blurAmount) * s / stepF;
            Texel colour = Gbar(SampleLinear(input, u, v));
            // Below a millionth of a cell the fade leaves the sharp pixel.
            if (R >= 1e-6f) {
                const Texel mean = ApertureMean(prefix, grid.width, grid.height, settings.lensShape,
                                                (static_cast<float>(i) + 0.5f) / stepF,
                                                (static_cast<float>(j) + 0.5f) / stepF, R);
                const float fade = std::clamp(R / 10.0f, 0.0f, 1.0f);
                for (size_t c = 0; c < 4; ++c)
                    colour[c] = Mix(colour[c], std::clamp(mean[c] + 0.5f, 0.0f, 1.0f), fade);
            }
            const Texel preview{s, s, s, 1.0f};
            for (size_t c = 0; c < 4; ++c)
                colour[c] = Mix(colour[c], preview[c], show);
            out.At(i, j) = {colour[3], colour[0], colour[1], colour[2]};
        }
    }
    return out;
}

}  // namespace Orvane::Lumisk::Reference
