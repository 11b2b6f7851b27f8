#include "tests/support/unit/LoadedGlDrivers.h"

#include <algorithm>
#include <fstream>
#include <regex>

namespace Orvane::Lumisk::Tests {

namespace {

// swrast_dri.so and the other DRI drivers, a newer Mesa's libgallium, and the
// vendor libraries glvnd loads at the first EGL or GLX display
// (libEGL_mesa.so.0, libGLX_nvidia.so.0); libEGL.so.1 and libGL.so.1 are
// glvnd's dispatchers, linked by every program of the test host.
bool IsGlDriver(const std::string& path) {
  static const std::regex driver(R"((_dri\.so|/libgallium[^/]*\.so|/lib(EGL|GLX)_[^/]+\.so)[^/]*$)");
  return std::regex_search(path, driver);
}

}  // namespace

std::vector<std::string> LoadedGlDrivers() {
  std::vector<std::string> drivers;
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    const auto slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    if (IsGlDriver(path) && std::find(drivers.begin(), drivers.end(), path) == drivers.end()) {
      drivers.push_back(path);
    }
  }
  return drivers;
}

}  // namespace Orvane::Lumisk::Tests
