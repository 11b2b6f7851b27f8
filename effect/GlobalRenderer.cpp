#include "effect/GlobalRenderer.h"

#include <new>

#include "render/BlurRenderer.h"

namespace Orvane::Lumisk {
namespace {

// Module load may not throw into the loader: when making it fails the renderer stays
// null, and global set-up tries again.
BlurRenderer* InitGlobalRenderer() noexcept {
  try {
    return new BlurRenderer();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

BlurRenderer* gRenderer = InitGlobalRenderer();

void EnsureGlobalRenderer() {
  if (!gRenderer) gRenderer = new BlurRenderer();
}

void DestroyGlobalRenderer() {
  delete gRenderer;
  gRenderer = nullptr;
}

}  // namespace Orvane::Lumisk
