// lumisk-bench: times renders through the whole command path of the built
// module (upload, prefix sums, map, gather, copy, read-back), with a per-stage
// breakdown on the clock around glFinish-bracketed calls (GPU timestamps as a
// second figure), beside a brute-force two-dimensional disc gather of the same
// radius on the same GL; or, with --road, the render tool's whole road per
// stage. A program, not a test; `lumisk-bench --help` lists the options. The
// tables go to standard output, the module's GL lines to standard error.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>

#include "bench/BenchOptions.h"
#include "bench/DiscGatherBaseline.h"
#include "bench/FrameSpread.h"
#include "bench/RenderStageTimer.h"
#include "bench/ToolRoad.h"
#include "host/Host.h"
#include "host/HostGlContexts.h"
#include "host/World.h"
#include "instruments/GlCallRecorder.h"
#include "platform/SoftwareRenderer.h"
#include "tools/StandardOutputAside.h"

namespace Orvane::Lumisk::Bench {
namespace {

using Size = FrameSize;

struct Row {
  Size size;
  int quality;  // popup value: 1 High, 2 Low
  int blur;
  int lens;     // popup value: 1 circular, 2 hexagon, 3 pentagon
  int mapType;  // popup value: 1 none, 4 circle
};

const char* LensName(int lens) {
  return lens == 1 ? "circular" : lens == 2 ? "hexagon" : "pentagon";
}

// A frame with bright points on a dark gradient, like the render tool's card.
HeadlessHost::World MakeFrame(Size size) {
  HeadlessHost::World world = HeadlessHost::World::Make8(size.width, size.height);
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) {
      const bool light = x % 97 == 13 && y % 61 == 7;
      const uint8_t level = uint8_t(light ? 255 : 10 + 40 * y / size.height);
      world.Pixel8(x, y) = PF_Pixel8{255, level, level, uint8_t(light ? 255 : level + 10)};
    }
  return world;
}

std::string RendererName() {
  const auto* renderer = reinterpret_cast<const char*>(gl::glGetString(gl::GL_RENDERER));
  return renderer ? renderer : "unknown renderer";
}

// The GL renderer, and whether it is a software rasteriser, for the heading.
std::string RendererDescription() {
  const std::string name = RendererName();
  return (IsSoftwareRenderer(name) ? "software rasteriser figures (" : "GPU figures (") + name + ")";
}

// The baseline in the host's own context: the frame as a float texture, a
// disc gather into an 8-bit target over the whole frame. Its cost grows with
// the disc's area, and radii above 24 would take minutes a frame here, so those
// are timed at radius 24 and scaled by the ratio of the discs' texel counts.
constexpr int kLargestTimedBaselineRadius = 24;

double BaselineFrameMs(Size size, int radius) {
  std::vector<float> texels(size_t(size.width) * size_t(size.height) * 4, 0.25f);
  gl::GLuint source = 0, target = 0, framebuffer = 0;
  gl::glGenTextures(1, &source);
  gl::glBindTexture(gl::GL_TEXTURE_2D, source);
  gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA32F, size.width, size.height, 0, gl::GL_RGBA, gl::GL_FLOAT,
                   texels.data());
  gl::glTexParameteri(gl::GL_TEXTURE_2D, gl::GL_TEXTURE_MIN_FILTER, gl::GL_NEAREST);
  gl::glGenTextures(1, &target);
  gl::glBindTexture(gl::GL_TEXTURE_2D, target);
  gl::glTexImage2D(gl::GL_TEXTURE_2D, 0, gl::GL_RGBA8, size.width, size.height, 0, gl::GL_RGBA, gl::GL_UNSIGNED_BYTE,
                   nullptr);
  gl::glGenFramebuffers(1, &framebuffer);
  gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer);
  gl::glFramebufferTexture2D(gl::GL_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D, target, 0);

  const int timedRadius = std::min(radius, kLargestTimedBaselineRadius);
  DiscGatherBaseline baseline;
  baseline.Run(source, size.width, size.height, timedRadius, 0, 0, 8, 8);  // compiles the program
  const double frameMs = baseline.Run(source, size.width, size.height, timedRadius, 0, 0, size.width, size.height);
  const auto reads = [](int r) { return M_PI * r * r + 1.0; };

  gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
  gl::glDeleteFramebuffers(1, &framebuffer);
  gl::glDeleteTextures(1, &source);
  gl::glDeleteTextures(1, &target);
  return frameMs * reads(radius) / reads(timedRadius);
}

// One row's figures. The stage columns and `stagedMs` come from the same
// instrumented renders, so the stages plus `other` make `stagedMs`; the
// spread comes from renders without the stage timer's finishes.
struct RowFigures {
  FrameSpread plain;
  double stagedMs = 0;
  StageTimes clock, gpu;
  std::uint64_t memory = 0;
  double Other() const { return stagedMs - clock.Total(); }
};

class Bench {
public:
  Bench(int frames, std::FILE* table) : frameCount(frames), out(table), glContexts(host) {
    if (host.GlobalSetup() != PF_Err_NONE || host.ParamsSetup() != PF_Err_NONE)
      throw std::runtime_error("the module refused its set-up");
  }
  ~Bench() { host.GlobalSetdown(); }

  void PrintHeader() const {
    std::fprintf(out,
                 "| frame | quality | blur | lens | map | median ms/frame | min ms/frame | MP/s | staged ms/frame | "
                 "upload | prefix | map | gather | copy | read-back | other | GPU upload | GPU prefix | GPU map | "
                 "GPU gather | GPU copy | GPU read-back | GL MB | disc baseline ms | speed-up |\n");
    std::fprintf(out,
                 "|---|---|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
                 "---:|---:|---:|---:|---:|\n");
  }

  void Run(const Row& row, double baselineMs) {
    const RowFigures f = Measure(row);
    const double n = frameCount;
    const double median = f.plain.medianMs;
    const double megapixels = double(row.size.width) * row.size.height * 1e-6;
    std::fprintf(out,
                 "| %dx%d | %s | %d | %s | %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | "
                 "%.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.0f | %.1fx |\n",
                 row.size.width, row.size.height, row.quality == 1 ? "high" : "low", row.blur, LensName(row.lens),
                 row.mapType == 1 ? "none" : "circle", median, f.plain.minMs, megapixels / (median * 1e-3),
                 f.stagedMs / n, f.clock.upload / n, f.clock.prefix / n, f.clock.map / n, f.clock.gather / n,
                 f.clock.copy / n, f.clock.readBack / n, f.Other() / n, f.gpu.upload / n, f.gpu.prefix / n,
                 f.gpu.map / n, f.gpu.gather / n, f.gpu.copy / n, f.gpu.readBack / n,
                 double(f.memory) / (1024.0 * 1024.0), baselineMs, baselineMs / median);
    std::fflush(out);
  }

  // Runs f with the host's own context current, set up for glbinding.
  template <typename F>
  auto InHostContext(F f) {
    glContexts.ForThisThread().MakeCurrent();
    glbinding::Binding::initialize(false);
    glbinding::Binding::useCurrentContext();
    return f();
  }

private:
  // Sums over frameCount renders of each kind, after one warm-up.
  RowFigures Measure(const Row& row) {
    // The host reads the worlds at every later command too: they live here.
    input = std::make_unique<HeadlessHost::World>(MakeFrame(row.size));
    output = std::make_unique<HeadlessHost::World>(HeadlessHost::World::Make8(row.size.width, row.size.height));
    host.SetInputLayer(*input);
    host.SetOutput(*output);
    host.Params().SetPopup(1, row.lens);
    host.Params().SetSlider(2, row.blur);
    host.Params().SetPopup(5, row.mapType);
    host.Params().SetPopup(15, row.quality);
    host.Params().SetSlider(7, 100);
    host.Render();  // warm-up: programs link, sized objects are made

    RowFigures f;
    // The render's own time, without the stage timer's finishes.
    std::vector<double> plainMs;
    for (int i = 0; i < frameCount; ++i) plainMs.push_back(TimedRender());
    f.plain = SpreadOf(plainMs);
    // The stages, and the time of the very renders they were taken in.
    for (int i = 0; i < frameCount; ++i) {
      timer.Begin(row.mapType != 1);
      f.stagedMs += TimedRender();
      f.clock.Add(timer.ClockTimes());
      f.gpu.Add(timer.GpuTimes());
      f.memory = std::max(f.memory, timer.PeakMemoryBytes());
    }
    return f;
  }

  double TimedRender() {
    const auto start = std::chrono::steady_clock::now();
    if (host.Render() != PF_Err_NONE) throw std::runtime_error("a render failed");
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  int frameCount;
  std::FILE* out;
  HeadlessHost::Host host;
  std::unique_ptr<HeadlessHost::World> input;
  std::unique_ptr<HeadlessHost::World> output;
  HeadlessHost::HostGlContexts glContexts;
  TestHost::GlCallRecorder callRecorder;
  RenderStageTimer timer{callRecorder};
};

constexpr int kExitUsage = 2;

std::vector<Size> TableSizes(const BenchOptions& options) {
  switch (options.run) {
    case BenchRun::FullTable:
      return {{1920, 1080}, {3840, 2160}};
    case BenchRun::SizedTable:
      return {options.size};
    default:
      return {{960, 540}};
  }
}

int RunTable(const BenchOptions& options, std::FILE* out) {
  const std::vector<Size> sizes = TableSizes(options);
  // R = 32 is the radius renderers are commonly compared at.
  const bool full = options.run == BenchRun::FullTable;
  const std::vector<int> blurs = full ? std::vector<int>{20, 32, 100, 400} : std::vector<int>{20, 100, 400};
  Bench bench(options.frames, out);
  std::fprintf(out,
               "lumisk-bench: %s; %u hardware threads; %d timed render(s) per row of each kind, after a warm-up.\n"
               "median and min ms/frame, MP/s (at the median): the render command on the clock, in renders of "
               "their own.\n"
               "staged ms/frame: the mean of further renders with the stage timer in them, and its columns add up "
               "to it:\n"
               "clock ms around each stage's GL calls, bracketed by glFinish, and other (the rest of those renders: "
               "texture creation,\n"
               "CPU conversions, the timer's own finishes and GL memory probes). GPU columns: GL timestamp queries in "
               "the same brackets\n"
               "(a second figure). The disc baseline is timed at radius %d at most and scaled by disc area above "
               "it.\n\n",
               bench.InHostContext([] { return RendererDescription(); }).c_str(), std::thread::hardware_concurrency(),
               options.frames, kLargestTimedBaselineRadius);
  bench.PrintHeader();
  for (const Size& size : sizes)
    for (int blur : blurs) {
      const double baselineMs = bench.InHostContext([&] { return BaselineFrameMs(size, blur); });
      for (int quality : {2, 1}) {
        for (int lens : {1, 2, 3}) bench.Run(Row{size, quality, blur, lens, 1}, baselineMs);
        bench.Run(Row{size, quality, blur, 2, 4}, baselineMs);
      }
    }
  return 0;
}

int Main(int argc, char** argv) {
  BenchOptions options;
  try {
    options = ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const BenchUsageError& error) {
    const std::string usage = kBenchUsage;
    std::fprintf(stderr, "lumisk-bench: %s\n%s(--help lists the options)\n", error.message.c_str(),
                 usage.substr(0, usage.find('\n') + 1).c_str());
    return kExitUsage;
  }
  if (options.run == BenchRun::Help) {
    std::fputs(kBenchUsage, stdout);
    return 0;
  }
  std::FILE* out = RenderTool::SetStandardOutputAside();
  if (out == nullptr) out = stderr;
  switch (options.run) {
    case BenchRun::ToolRoad:
      return RunToolRoad(options.frames, out);
    case BenchRun::RendererName: {
      Bench bench(options.frames, out);
      std::fprintf(out, "%s\n", bench.InHostContext([] { return RendererName(); }).c_str());
      return 0;
    }
    default:
      return RunTable(options, out);
  }
}

}  // namespace
}  // namespace Orvane::Lumisk::Bench

int main(int argc, char** argv) {
  try {
    return Orvane::Lumisk::Bench::Main(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lumisk-bench: %s\n", error.what());
    return 1;
  }
}
