// The GL memory held in the current context's share group right now: every
// texture's level 0, every renderbuffer and every buffer, from their sizes and
// internal formats. Names are found by probing the small integers drivers hand
// out, so the figure is an estimate of what the objects take, not the
// driver's own bookkeeping.
#pragma once

#include <cstdint>

namespace Orvane::Lumisk::Bench {

struct GlMemory {
  std::uint64_t textureBytes = 0;
  std::uint64_t renderbufferBytes = 0;
  std::uint64_t bufferBytes = 0;
  std::uint64_t Total() const { return textureBytes + renderbufferBytes + bufferBytes; }
};

// Leaves the bindings it touches as it found them.
GlMemory MeasureGlMemory();

}  // namespace Orvane::Lumisk::Bench
