#include "tools/RenderMemory.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/ToolError.h"

namespace Orvane::Lumisk::RenderTool {
namespace {

constexpr std::uint64_t kRgba8Bytes = 4;
constexpr std::uint64_t kRgbaFloatBytes = 16;
constexpr std::uint64_t kHostWorlds = 2;
constexpr std::uint64_t kFloatObjectsAtTheGather = 6;

std::uint64_t Pixels(int width, int height) {
  return std::uint64_t(width) * std::uint64_t(height);
}

std::string Gigabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GB", double(bytes) / 1e9);
  return text;
}

}  // namespace

std::uint64_t RenderMemoryBytes(int width, int height, int downsample) {
  const int factor = downsample > 1 ? downsample : 1;
  const std::uint64_t rendered = Pixels((width + factor - 1) / factor, (height + factor - 1) / factor);
  const std::uint64_t downsampledCopy = factor > 1 ? rendered * kRgba8Bytes : 0;
  return Pixels(width, height) * kRgba8Bytes + downsampledCopy + rendered * kHostWorlds * kRgba8Bytes +
         rendered * kFloatObjectsAtTheGather * kRgbaFloatBytes;
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

void CheckRenderMemory(const std::string& name, int width, int height, int downsample, std::uint64_t availableBytes) {
  const std::uint64_t needed = RenderMemoryBytes(width, height, downsample);
  if (needed <= availableBytes) return;
  throw ToolError("\"" + name + "\": rendering " + std::to_string(width) + " x " + std::to_string(height) +
                  " needs about " + Gigabytes(needed) + " of memory, more than the " + Gigabytes(availableBytes) +
                  " available; --downsample N renders it at 1/N of each side, in about 1/(N x N) of the memory");
}

}  // namespace Orvane::Lumisk::RenderTool
