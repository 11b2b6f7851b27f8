#include "tools/RenderMemory.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

// Measured as the peak resident size (/usr/bin/time -v, "Maximum resident
// set size") of lumisk-render --quality high --blur 20 on llvmpipe, with
// noise pictures (the worst case for the PNG decoder):
//   640 x 360 (test card)   132 MB        1920 x 1080   333 MB
//   3840 x 2160            1007 MB        5760 x 3240  2128 MB
//   3840 x 2160 with a 3840 x 2160 map layer            1206 MB
// The line through them rises 108.1 to 108.3 bytes a pixel from 110 MB; the
// map layer adds 24 bytes a pixel. Another machine measured 1.05 GB at
// 3840 x 2160 and 4.19 GB at 8192 x 4608, so the estimate takes 109 bytes a
// pixel and 160 MB fixed, which lies above every one of these peaks. Of each
// share, 4 bytes a pixel are the decoded picture at full size; the rest
// follows the rendered size. Downsampled renders measured below the estimate
// (5760 x 3240 at 1/2: 614 MB for 743 MB estimated).
constexpr std::uint64_t kFixedBytes = 160'000'000;
constexpr std::uint64_t kDecodedBytesPerPixel = 4;
constexpr std::uint64_t kRenderedInputBytesPerPixel = 105;
constexpr std::uint64_t kRenderedMapLayerBytesPerPixel = 20;
// The downsampled copy of a picture, beside its full-size one.
constexpr std::uint64_t kDownsampledCopyBytesPerPixel = 4;

std::uint64_t Pixels(int width, int height) {
  return std::uint64_t(width) * std::uint64_t(height);
}

std::uint64_t PictureBytes(PictureSize size, int downsample, std::uint64_t renderedBytesPerPixel) {
  const int factor = downsample > 1 ? downsample : 1;
  const std::uint64_t rendered = Pixels((size.width + factor - 1) / factor, (size.height + factor - 1) / factor);
  const std::uint64_t downsampledCopy = factor > 1 ? rendered * kDownsampledCopyBytesPerPixel : 0;
  return Pixels(size.width, size.height) * kDecodedBytesPerPixel + downsampledCopy + rendered * renderedBytesPerPixel;
}

std::string Gigabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GB", double(bytes) / 1e9);
  return text;
}

void CheckNeeded(const std::string& name, PictureSize size, std::uint64_t needed, std::uint64_t availableBytes,
                 const char* what) {
  if (needed <= availableBytes) return;
  throw ToolError("\"" + name + "\": rendering " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                  what + " needs about " + Gigabytes(needed) + " of memory, more than the " +
                  Gigabytes(availableBytes) +
                  " available; --downsample N renders it at 1/N of each side, in about 1/(N x N) of the memory");
}

}  // namespace

std::uint64_t RenderMemoryBytes(PictureSize input, const std::optional<PictureSize>& mapLayer, int downsample) {
  return kFixedBytes + PictureBytes(input, downsample, kRenderedInputBytesPerPixel) +
         (mapLayer ? MapLayerMemoryBytes(*mapLayer, downsample) : 0);
}

std::uint64_t MapLayerMemoryBytes(PictureSize mapLayer, int downsample) {
  return PictureBytes(mapLayer, downsample, kRenderedMapLayerBytesPerPixel);
}

std::optional<std::uint64_t> AvailableMemoryBytes() {
#ifdef _WIN32
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  return std::uint64_t(status.ullAvailPhys);
#else
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string key;
    std::uint64_t kilobytes = 0;
    if (fields >> key >> kilobytes && key == "MemAvailable:") return kilobytes * 1024;
  }
  return std::nullopt;
#endif
}

void CheckRenderMemory(const std::string& name, PictureSize input, const std::optional<PictureSize>& mapLayer,
                       int downsample, std::uint64_t availableBytes) {
  CheckNeeded(name, input, RenderMemoryBytes(input, mapLayer, downsample), availableBytes,
              mapLayer ? " with its map layer" : "");
}

void CheckMapLayerMemory(const std::string& name, PictureSize mapLayer, int downsample, std::uint64_t availableBytes) {
  CheckNeeded(name, mapLayer, kFixedBytes + MapLayerMemoryBytes(mapLayer, downsample), availableBytes,
              " as the map layer");
}

}  // namespace Orvane::Lumisk::RenderTool
