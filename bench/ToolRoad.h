// The render tool's whole road, timed per stage on the clock, as lumisk-render
// takes it for one picture: decode the PNG file, premultiply (into the host's
// world), the render command, divide (out of the host's world), encode the PNG
// file. Beside it, the encode at libpng's defaults (zlib level 6, a filter
// chosen per row), which the tool used before, for comparison.
#pragma once

#include <cstdio>

namespace Orvane::Lumisk::Bench {

// Prints the table on `out`; returns the process's exit code.
int RunToolRoad(int frames, std::FILE* out);

}  // namespace Orvane::Lumisk::Bench
