// The module prints its diagnostics (the GL context lines) on standard
// output, which would land inside the benchmark's table. TableOutput points
// the process's standard output at standard error and keeps the stream that
// was standard output for the benchmark's own text.
#pragma once

#include <cstdio>

namespace Orvane::Lumisk::Bench {

// Call once, before anything loads the module. Returns the stream that was
// standard output (standard error if it cannot be kept).
std::FILE* TableOutput();

}  // namespace Orvane::Lumisk::Bench
