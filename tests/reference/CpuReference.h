#pragma once

// Independent CPU model of the lens blur, written from the algorithm rather
// than from the shaders: grid sampling through a linear filter, exclusive row
// prefix sums, the generated blur maps with their placement, the gather over
// the three lens shapes, the fade below 10 cells, invert, focal distance and
// the preview. Arithmetic is single precision where the GPU's is, except the
// prefix sums, which are summed in double (the GPU's tree sum is closer to
// the exact sum than a float running sum would be).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvane::Lumisk::Reference {

using Texel = std::array<float, 4>;

// An image as a float texture holds it: four floats per pixel, row 0 first.
// Frames from the host keep the host's A, R, G, B order in the four slots.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Texel> texels;

    Image() = default;
    Image(int w, int h, Texel fill = {0.0f, 0.0f, 0.0f, 0.0f});

    Texel& At(int x, int y) { return texels[Index(x, y)]; }
    const Texel& At(int x, int y) const { return texels[Index(x, y)]; }
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }

    // 8-bit host pixels (A, R, G, B bytes) to 0..1 floats, and back with
    // rounding to the nearest level and clamping, as a UNORM8 store does.
    static Image FromArgb8(int w, int h, const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> ToArgb8() const;
};

// GL_LINEAR sampling of level 0 with clamp to edge at texture coordinates
// (u, v); u = (i + 0.5) / width hits texel i exactly.
Texel SampleLinear(const Image& image, float u, float v);

// The settings of one render, in the renderer's units.
struct ReferenceSettings {
    int blurAmount = 0;     // blur strength in pixels
    int quality = 0;        // 0 full grid, 1 halved grid
    int lensShape = 0;      // 0 circular, 1 hexagon, anything else pentagon
    int mapType = 0;        // 0 none, 1..4 generated, 5 custom
    double focalDistance = 0.0;
    bool showBlurMap = false;
    bool invert = false;
    // Generated map shape.
    double feather = 0.0;
    double centerX = 0.0;
    double centerY = 0.0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0;  // degrees, +x towards +y
    // Custom map (map type 5), in host channel order; null means no layer.
    const Image* customMap = nullptr;
};

// Grid step for a quality: quality + 1 clamped to 1..4.
int GridStep(int quality);

// Scan levels for a row of gridWidth cells when the larger view dimension
// gives n cells: the smallest k >= 1 with 2^k >= max(n, gridWidth).
int PrefixLevelCount(int n, int gridWidth);

// The grid in R, G, B, A order minus 0.5, sampled at the cell centres.
Image PrepareGrid(const Image& input, int step);

// Exclusive prefix sums of a prepared grid: one column wider, texel k of a
// row holds the sum of cells 0 to k - 1.
Image ExclusiveRowPrefix(const Image& grid);

// Half-width of aperture row i for radius R (> 0), in cells.
float RowHalfWidth(int lensShape, int i, float R);

// Map value m at view position (x, y) (pixel centres at half-integers) of a
// generated map type 1..4 on a width x height view.
float GeneratedMapValue(const ReferenceSettings& settings, int width, int height, float x, float y);

// The generated map as the blur-map texture holds it: (1, m, m, m).
Image GenerateMap(const ReferenceSettings& settings, int width, int height);

// Blur scale s of every pixel: the distance of the map value from the focal
// distance (the preview's grey).
std::vector<float> BlurScales(const Image& input, const ReferenceSettings& settings);

// The whole effect on an input frame in host channel order; the result is
// in host channel order too.
Image RenderReference(const Image& input, const ReferenceSettings& settings);

}  // namespace Orvane::Lumisk::Reference
