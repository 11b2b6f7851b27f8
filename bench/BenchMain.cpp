// lumisk-bench: times renders through the whole command path of the built
// module (upload, prefix sums, map, gather, copy, read-back), with a per-stage
// breakdown on the clock around glFinish-bracketed calls (GPU timestamps as a
// second figure), beside a brute-force two-dimensional disc gather of the same
// radius on the same GL; or, with --road, the render tool's whole road per
// stage. A program, not a test.
//
//   lumisk-bench            a short run on 960 x 540 frames
//   lumisk-bench --full     1920 x 1080 and 3840 x 2160 (slow on a software rasteriser)
//   lumisk-bench --road     the render tool's road (decode, premultiply, render, divide, encode)
//   lumisk-bench --renderer the GL renderer string, as the last line
//   lumisk-bench --frames N timed renders per row (default 2, after one warm-up render)
#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/DiscGatherBaseline.h"
#include "bench/RenderStageTimer.h"
#include "bench/ToolRoad.h"
#include "testhost/GlCallRecorder.h"
#include "testhost/Host.h"
#include "testhost/HostGlContexts.h"
#include "testhost/World.h"

namespace Orvane::Lumisk::Bench {
namespace {

struct Size {
  int width, height;
};

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
TestHost::World MakeFrame(Size size) {
  TestHost::World world = TestHost::World::Make8(size.width, size.height);
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
  const bool software = name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos;
  return (software ? "software rasteriser figures (" : "GPU figures (") + name + ")";
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

class Bench {
public:
  explicit Bench(int frames) : frameCount(frames), glContexts(host) {
    if (host.GlobalSetup() != PF_Err_NONE || host.ParamsSetup() != PF_Err_NONE)
      throw std::runtime_error("the module refused its set-up");
  }
  ~Bench() { host.GlobalSetdown(); }

  void PrintHeader() const {
    std::printf(
        "| frame | quality | blur | lens | map | ms/frame | MP/s | upload | prefix | map | gather | copy | "
        "read-back | other | GPU upload | GPU prefix | GPU map | GPU gather | GPU copy | GPU read-back | "
        "GL MB | disc baseline ms | speed-up |\n");
    std::printf(
        "|---|---|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
        "---:|---:|\n");
  }

  void Run(const Row& row, double baselineMs) {
    // The host reads the worlds at every later command too: they live here.
    input = std::make_unique<TestHost::World>(MakeFrame(row.size));
    output = std::make_unique<TestHost::World>(TestHost::World::Make8(row.size.width, row.size.height));
    host.SetInputLayer(*input);
    host.SetOutput(*output);
    host.Params().SetPopup(1, row.lens);
    host.Params().SetSlider(2, row.blur);
    host.Params().SetPopup(5, row.mapType);
    host.Params().SetPopup(15, row.quality);
    host.Params().SetSlider(7, 100);
    host.Render();  // warm-up: programs link, sized objects are made

    // The render's own time, without the stage timer's finishes.
    double wallMs = 0;
    for (int i = 0; i < frameCount; ++i) wallMs += TimedRender();
    // The stages, in renders of their own.
    StageTimes clock, gpu;
    double stagedMs = 0;
    std::uint64_t memory = 0;
    for (int i = 0; i < frameCount; ++i) {
      timer.Begin(row.mapType != 1);
      stagedMs += TimedRender();
      clock.Add(timer.ClockTimes());
      gpu.Add(timer.GpuTimes());
      memory = std::max(memory, timer.PeakMemoryBytes());
    }
    const double n = frameCount;
    const double ms = wallMs / n;
    const double megapixels = double(row.size.width) * row.size.height * 1e-6;
    std::printf(
        "| %dx%d | %s | %d | %s | %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | "
        "%.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.0f | %.1fx |\n",
        row.size.width, row.size.height, row.quality == 1 ? "high" : "low", row.blur, LensName(row.lens),
        row.mapType == 1 ? "none" : "circle", ms, megapixels / (ms * 1e-3), clock.upload / n, clock.prefix / n,
        clock.map / n, clock.gather / n, clock.copy / n, clock.readBack / n,
        std::max(0.0, stagedMs - clock.Total()) / n, gpu.upload / n, gpu.prefix / n, gpu.map / n, gpu.gather / n,
        gpu.copy / n, gpu.readBack / n, double(memory) / (1024.0 * 1024.0), baselineMs, baselineMs / ms);
    std::fflush(stdout);
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
  double TimedRender() {
    const auto start = std::chrono::steady_clock::now();
    if (host.Render() != PF_Err_NONE) throw std::runtime_error("a render failed");
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  int frameCount;
  TestHost::Host host;
  std::unique_ptr<TestHost::World> input;
  std::unique_ptr<TestHost::World> output;
  TestHost::HostGlContexts glContexts;
  TestHost::GlCallRecorder callRecorder;
  RenderStageTimer timer{callRecorder};
};

constexpr int kExitUsage = 2;
constexpr long kMostFrames = 10000;

// A whole number of timed renders, 1 to kMostFrames; nothing else ("abc",
// "3x", "0"), so that a typo is not silently timed as something else.
std::optional<int> ParseFrameCount(const char* text) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < 1 || value > kMostFrames) return std::nullopt;
  return int(value);
}

int Main(int argc, char** argv) {
  bool full = false;
  bool road = false;
  bool renderer = false;
  int frames = 2;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--full") == 0) {
      full = true;
    } else if (std::strcmp(argv[i], "--road") == 0) {
      road = true;
    } else if (std::strcmp(argv[i], "--renderer") == 0) {
      renderer = true;
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      const std::optional<int> count = ParseFrameCount(argv[++i]);
      if (!count) {
        std::fprintf(stderr, "lumisk-bench: --frames \"%s\": give a whole number from 1 to %ld\n", argv[i],
                     kMostFrames);
        return kExitUsage;
      }
      frames = *count;
    } else {
      std::fprintf(stderr, "usage: lumisk-bench [--full | --road | --renderer] [--frames N]\n");
      return kExitUsage;
    }
  }
  if (road) return RunToolRoad(frames);
  if (renderer) {
    // The module's diagnostics come first on standard output: the name is the last line.
    Bench bench(frames);
    std::printf("%s\n", bench.InHostContext([] { return RendererName(); }).c_str());
    return 0;
  }
  const std::vector<Size> sizes = full ? std::vector<Size>{{1920, 1080}, {3840, 2160}} : std::vector<Size>{{960, 540}};
  // R = 32 is the radius renderers are commonly compared at.
  const std::vector<int> blurs = full ? std::vector<int>{20, 32, 100, 400} : std::vector<int>{20, 100, 400};
  Bench bench(frames);
  std::printf(
      "lumisk-bench: %s; %u hardware threads; %d timed render(s) per row.\n"
      "ms/frame and MP/s: the render command on the clock. Stage columns: clock ms around each stage's GL "
      "calls, bracketed by glFinish, in renders of their own;\n"
      "other: the rest of those renders (texture creation, CPU conversions). GPU columns: GL timestamp "
      "queries in the same brackets (a second figure).\n"
      "The disc baseline is timed at radius %d at most and scaled by disc area above it.\n\n",
      bench.InHostContext([] { return RendererDescription(); }).c_str(), std::thread::hardware_concurrency(), frames,
      kLargestTimedBaselineRadius);
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
