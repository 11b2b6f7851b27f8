// Reading and writing PNG files for the render tool. Reads 8-bit RGB, RGBA,
// grey and palette files (grey and palette are expanded to RGB); refuses 16-bit
// files, since the effect renders 8-bit frames and a silent reduction would hide
// lost precision. Writing never leaves a partial file behind: the picture goes
// to a temporary file beside the target, which is renamed over it once complete.
#pragma once

#include <string>

#include "testhost/tools/RgbaImage.h"

namespace Orvane::Lumisk::RenderTool {

// Throws ToolError naming the file and the reason (missing, unreadable, not a
// PNG file, 16-bit, damaged).
RgbaImage ReadPng(const std::string& path);

// Writes RGBA when image.hasAlpha, else RGB. Throws ToolError; on failure the
// target is untouched and no temporary file remains.
void WritePngAtomically(const std::string& path, const RgbaImage& image);

}  // namespace Orvane::Lumisk::RenderTool
