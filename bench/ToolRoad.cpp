#include "bench/ToolRoad.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <png.h>

#include "host/Host.h"
#include "tools/FrameConversion.h"
#include "tools/ModuleSession.h"
#include "tools/PngFile.h"
#include "tools/ToolOptions.h"

namespace Orvane::Lumisk::Bench {
namespace {

using RenderTool::RgbaImage;

struct RoadCase {
  int width, height;
  bool alpha;
};

struct RoadTimes {
  double decode = 0, premultiply = 0, render = 0, divide = 0, encode = 0, defaultsEncode = 0;
  double Own() const { return decode + premultiply + divide + encode; }
};

// A picture such as a photograph gives the coders: gradients, fine noise and
// hard edges; with alpha, a transparent border fading in.
RgbaImage MakePicture(const RoadCase& c) {
  RgbaImage image(c.width, c.height, c.alpha);
  std::mt19937 noise(7);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      uint8_t* p = image.Pixel(x, y);
      const int grain = int(noise() % 24);
      p[0] = uint8_t((x * 200 / c.width + grain) & 255);
      p[1] = uint8_t((y * 200 / c.height + grain) & 255);
      p[2] = uint8_t(((x ^ y) & 64) ? 200 : 40);
      const int edge = std::min(std::min(x, y), std::min(c.width - 1 - x, c.height - 1 - y));
      p[3] = uint8_t(c.alpha && edge < 255 ? edge : 255);
    }
  return image;
}

template <typename F>
double Ms(F f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// libpng's simplified writer at its defaults, as the tool wrote before.
void WriteWithLibpngDefaults(const std::string& path, const RgbaImage& image) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgb;
  const void* rows = image.rgba.data();
  if (!image.hasAlpha) {
    png.format = PNG_FORMAT_RGB;
    rgb.resize(size_t(image.width) * size_t(image.height) * 3);
    for (size_t i = 0, n = size_t(image.width) * size_t(image.height); i < n; ++i)
      std::memcpy(&rgb[i * 3], &image.rgba[i * 4], 3);
    rows = rgb.data();
  }
  png_image_write_to_file(&png, path.c_str(), 0, rows, 0, nullptr);
  png_image_free(&png);
}

RoadTimes RunRoad(RenderTool::ModuleSession& session, const std::string& in, const std::string& out,
                  const std::string& defaultsOut) {
  RoadTimes t;
  RgbaImage picture;
  RgbaImage host;
  RgbaImage rendered;
  t.decode = Ms([&] { picture = RenderTool::ReadPng(in); });
  t.premultiply = Ms([&] {
    host = RenderTool::HostPicture(std::move(picture), 1);
    session.SetPictures(host, nullptr);
  });
  t.render = Ms([&] { session.Render(1, 0); });
  t.divide = Ms([&] { rendered = session.Output(); });
  t.encode = Ms([&] { RenderTool::WritePngAtomically(out, rendered); });
  t.defaultsEncode = Ms([&] { WriteWithLibpngDefaults(defaultsOut, rendered); });
  return t;
}

double Kilobytes(const std::string& path) {
  std::error_code failed;
  return double(std::filesystem::file_size(path, failed)) / 1024.0;
}

}  // namespace

int RunToolRoad(int frames, std::FILE* table) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("lumisk-bench-road-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const std::vector<std::string> args = {"--lens", "circular", "--quality", "high", "--blur", "32"};
  RenderTool::ModuleSession session(HeadlessHost::DefaultModulePath(), "en_US");
  const RenderTool::ToolOptions options = RenderTool::ParseToolOptions(args);
  RenderTool::CheckSettingsAgainstParams(options, session.Definitions());
  session.Apply(options);

  std::fprintf(table,
               "lumisk-bench --road: the render tool's road for one picture (--lens circular --quality high --blur 32),"
               " clock ms, mean of %d after a warm-up;\n"
               "premultiply includes the copy into the host's world, divide the copy out of it; own work: decode + "
               "premultiply + divide + encode.\n\n",
               frames);
  std::fprintf(table,
               "| frame | alpha | decode | premultiply | render command | divide | encode | own work | own / render | "
               "encode at libpng defaults | file KB | at defaults KB |\n");
  std::fprintf(table, "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  const RoadCase cases[] = {{1920, 1080, false}, {1920, 1080, true}, {3840, 2160, false}, {3840, 2160, true}};
  for (const RoadCase& c : cases) {
    const std::string in = (dir / "in.png").string();
    const std::string out = (dir / "out.png").string();
    const std::string defaultsOut = (dir / "defaults.png").string();
    RenderTool::WritePngAtomically(in, MakePicture(c));
    RunRoad(session, in, out, defaultsOut);  // warm-up
    RoadTimes sum;
    for (int i = 0; i < frames; ++i) {
      const RoadTimes t = RunRoad(session, in, out, defaultsOut);
      sum.decode += t.decode, sum.premultiply += t.premultiply, sum.render += t.render, sum.divide += t.divide;
      sum.encode += t.encode, sum.defaultsEncode += t.defaultsEncode;
    }
    const double n = frames;
    std::fprintf(table, "| %dx%d | %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.2f | %.1f | %.0f | %.0f |\n",
                 c.width, c.height, c.alpha ? "yes" : "no", sum.decode / n, sum.premultiply / n, sum.render / n,
                 sum.divide / n, sum.encode / n, sum.Own() / n, sum.Own() / sum.render, sum.defaultsEncode / n,
                 Kilobytes(out), Kilobytes(defaultsOut));
    std::fflush(table);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return 0;
}

}  // namespace Orvane::Lumisk::Bench
