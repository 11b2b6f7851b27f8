#include "bench/BenchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace Orvane::Lumisk::Bench {

const char* const kBenchUsage =
    "usage: lumisk-bench [--full | --size WxH | --road | --renderer] [--frames N]\n"
    "  (no option)  the table on 960 x 540 frames\n"
    "  --full       the table on 1920 x 1080 and 3840 x 2160 frames\n"
    "  --size WxH   the table on frames of that size\n"
    "  --road       the render tool's road, stage by stage\n"
    "  --renderer   the GL renderer's name alone\n"
    "  --frames N   timed renders per row (default 2, after a warm-up; not with --renderer)\n"
    "  --help       this text\n";

namespace {

constexpr long kMostFrames = 10000;
// The largest frame side a GL 3.3 driver commonly holds.
constexpr long kLargestSide = 16384;

// A whole number from 1 to `most`, and nothing after it ("3x" is refused).
std::optional<int> ParseWholeNumber(const std::string& text, long most) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || value < 1 || value > most) return std::nullopt;
  return int(value);
}

std::optional<FrameSize> ParseSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const std::optional<int> width = ParseWholeNumber(text.substr(0, x), kLargestSide);
  const std::optional<int> height = ParseWholeNumber(text.substr(x + 1), kLargestSide);
  if (!width || !height || text[0] == '+' || text[x + 1] == '+') return std::nullopt;
  return FrameSize{*width, *height};
}

const char* OptionOf(BenchRun run) {
  switch (run) {
    case BenchRun::FullTable:
      return "--full";
    case BenchRun::SizedTable:
      return "--size";
    case BenchRun::ToolRoad:
      return "--road";
    case BenchRun::RendererName:
      return "--renderer";
    default:
      return "";
  }
}

void Choose(BenchOptions& options, BenchRun run) {
  if (options.run != BenchRun::DefaultTable && options.run != run)
    throw BenchUsageError{std::string(OptionOf(options.run)) + " and " + OptionOf(run) +
                          " ask for different runs: give one of them"};
  options.run = run;
}

}  // namespace

BenchOptions ParseBenchOptions(const std::vector<std::string>& args) {
  BenchOptions options;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      options.run = BenchRun::Help;
      return options;
    }
  }
  bool framesGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--full") {
      Choose(options, BenchRun::FullTable);
    } else if (arg == "--road") {
      Choose(options, BenchRun::ToolRoad);
    } else if (arg == "--renderer") {
      Choose(options, BenchRun::RendererName);
    } else if (arg == "--size" && hasValue) {
      const std::optional<FrameSize> size = ParseSize(args[++i]);
      if (!size)
        throw BenchUsageError{"--size \"" + args[i] + "\": give WIDTHxHEIGHT, each from 1 to " +
                              std::to_string(kLargestSide)};
      Choose(options, BenchRun::SizedTable);
      options.size = *size;
    } else if (arg == "--frames" && hasValue) {
      const std::optional<int> count = ParseWholeNumber(args[++i], kMostFrames);
      if (!count)
        throw BenchUsageError{"--frames \"" + args[i] + "\": give a whole number from 1 to " +
                              std::to_string(kMostFrames)};
      options.frames = *count;
      framesGiven = true;
    } else {
      throw BenchUsageError{hasValue || (arg != "--size" && arg != "--frames") ? "unknown option \"" + arg + "\""
                                                                               : arg + " needs a value"};
    }
  }
  if (framesGiven && options.run == BenchRun::RendererName)
    throw BenchUsageError{"--renderer times nothing: --frames does not go with it"};
  return options;
}

}  // namespace Orvane::Lumisk::Bench
