// Mesa's software rasterisers, by the GL_RENDERER string a context gives
// ("llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "swrast"): figures on one
// of them are CPU figures, and a GPU's display is to be preferred to it.
#pragma once

#include <string>

namespace Orvane::Lumisk {

inline bool IsSoftwareRenderer(const std::string& renderer) {
  for (const char* name : {"llvmpipe", "softpipe", "swrast"})
    if (renderer.find(name) != std::string::npos) return true;
  return false;
}

}  // namespace Orvane::Lumisk
