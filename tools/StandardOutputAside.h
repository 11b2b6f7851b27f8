// The module prints its diagnostics (the GL context lines) on standard output.
// A program whose standard output carries its own text (the render tool's
// picture or help, the benchmark's tables) sets it aside before it loads the
// module: descriptor 1 then leads to standard error, and the program writes
// through a stream on what standard output was.
#pragma once

#include <cstdio>

namespace Orvane::Lumisk::RenderTool {

// Points descriptor 1 at standard error and returns a stream on what it was;
// null when standard output was closed. Descriptor 1 leads to standard error
// either way, so that no file opened later becomes descriptor 1 and takes the
// module's lines. Call once, before anything loads the module.
std::FILE* SetStandardOutputAside();

}  // namespace Orvane::Lumisk::RenderTool
