// The memory one render of the tool takes, estimated from a picture's size
// before its pixels are decoded, against the memory the system has: a PNG
// file of a few kilobytes may claim a picture of gigabytes, and the kernel
// kills a process that runs out instead of letting it say why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Orvane::Lumisk::RenderTool {

// The bytes held at once when a picture of width x height is rendered at
// 1/downsample of each side: the decoded picture at full size (premultiplied
// in place), its downsampled copy, the host's input and output worlds, and
// the 32-bit float RGBA textures and renderbuffers alive at the gather (the
// uploaded frame, the two prefix-sum textures, the blur map, the frame layer
// and the output renderbuffer).
std::uint64_t RenderMemoryBytes(int width, int height, int downsample);

// The memory the system reports available now; none when it cannot tell.
std::optional<std::uint64_t> AvailableMemoryBytes();

// Throws ToolError, naming both figures and --downsample, when the render of
// the picture `name` needs more than `availableBytes`.
void CheckRenderMemory(const std::string& name, int width, int height, int downsample, std::uint64_t availableBytes);

}  // namespace Orvane::Lumisk::RenderTool
