// The memory one render of the tool takes, estimated from a picture's size
// before its pixels are decoded, against the memory the system has: a PNG
// file of a few kilobytes may claim a picture of gigabytes, and the kernel
// kills a process that runs out instead of letting it say why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Orvane::Lumisk::RenderTool {

struct PictureSize {
  int width = 0;
  int height = 0;
};

// The peak bytes of one render of a picture at 1/downsample of each side,
// with the map layer when one is given: a fixed part (the loaded module, the
// GL driver and its contexts) and a share per pixel of the full-size picture
// (its decoded copy) and of the rendered one (the host's worlds, the GL
// textures and renderbuffers alive at the gather), for the input and the
// layer alike. The figures come from measured peaks (see RenderMemory.cpp).
std::uint64_t RenderMemoryBytes(PictureSize input, const std::optional<PictureSize>& mapLayer, int downsample);

// The map layer's own share, without the fixed part.
std::uint64_t MapLayerMemoryBytes(PictureSize mapLayer, int downsample);

// The memory the system reports available now; none when it cannot tell.
std::optional<std::uint64_t> AvailableMemoryBytes();

// Throws ToolError, naming both figures and --downsample, when the render of
// the picture `name` (with the map layer, if any) needs more than `availableBytes`.
void CheckRenderMemory(const std::string& name, PictureSize input, const std::optional<PictureSize>& mapLayer,
                       int downsample, std::uint64_t availableBytes);

// The same for the map layer before it is decoded, on its own share.
void CheckMapLayerMemory(const std::string& name, PictureSize mapLayer, int downsample, std::uint64_t availableBytes);

}  // namespace Orvane::Lumisk::RenderTool
