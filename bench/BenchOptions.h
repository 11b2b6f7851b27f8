// The benchmark's command line: one of the table runs, the tool's road or the
// renderer's name, and the timed renders per row. Options that ask for two of
// these at once are refused rather than one of them silently dropped.
#pragma once

#include <string>
#include <vector>

namespace Orvane::Lumisk::Bench {

struct FrameSize {
  int width = 0, height = 0;
};

enum class BenchRun {
  DefaultTable,  // 960 x 540 frames
  FullTable,     // 1920 x 1080 and 3840 x 2160
  SizedTable,    // frames of `size`
  ToolRoad,
  RendererName,
  Help,
};

struct BenchOptions {
  BenchRun run = BenchRun::DefaultTable;
  FrameSize size;
  int frames = 2;
};

// A command line the benchmark cannot run; the text says why.
struct BenchUsageError {
  std::string message;
};

// Throws BenchUsageError.
BenchOptions ParseBenchOptions(const std::vector<std::string>& args);

extern const char* const kBenchUsage;

}  // namespace Orvane::Lumisk::Bench
