// Reading and writing PNG files for the render tool. Reads 8-bit RGB, RGBA,
// grey and palette files (grey and palette are expanded to RGB); refuses 16-bit
// files, since the effect renders 8-bit frames and a silent reduction would hide
// lost precision. Writing goes through WriteOutputFile: a regular file is
// replaced whole or not at all, a FIFO or a device is written into.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "tools/RgbaImage.h"

namespace Orvane::Lumisk::RenderTool {

// Called with the picture's size as the file's header gives it, before any
// pixel memory is taken; throws ToolError to refuse the picture. A header may
// claim gigabytes of pixels in a file of a few kilobytes.
using PngSizeCheck = std::function<void(int width, int height)>;

// "-" reads standard input; a pipe is read as it comes, never rewound.
// Throws ToolError naming the file and the reason (missing, unreadable, not a
// PNG file, 16-bit, damaged, or refused by checkSize).
RgbaImage ReadPng(const std::string& path, const PngSizeCheck& checkSize = nullptr);

// Writes RGBA when image.hasAlpha, else RGB. Throws ToolError; on failure a
// regular target is untouched and no temporary file remains.
void WritePngAtomically(const std::string& path, const RgbaImage& image);

// Writes the picture into an open stream (standard output); `name` is how
// messages call it.
void WritePngToStream(FILE* stream, const std::string& name, const RgbaImage& image);

}  // namespace Orvane::Lumisk::RenderTool
