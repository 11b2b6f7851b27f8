// The choices the render target's frames are made with, named at each call.
#pragma once

namespace Orvane::Lumisk {

// Whether the colour layers are single-sample renderbuffers, resolved by a
// copy, or 8-sample ones, resolved by a blit (and copied with ".bgar").
enum class FrameSampling { Single, Multisample };

// The renderbuffers a colour layer is pushed with besides its colour.
enum class LayerCompanions { None, Stencil, Depth, DepthAndStencil };

inline LayerCompanions LayerCompanionsOf(bool depth, bool stencil) {
  if (depth) {
    return stencil ? LayerCompanions::DepthAndStencil : LayerCompanions::Depth;
  }
  return stencil ? LayerCompanions::Stencil : LayerCompanions::None;
}

inline bool HasDepth(LayerCompanions companions) {
  return companions == LayerCompanions::Depth || companions == LayerCompanions::DepthAndStencil;
}

inline bool HasStencil(LayerCompanions companions) {
  return companions == LayerCompanions::Stencil || companions == LayerCompanions::DepthAndStencil;
}

}  // namespace Orvane::Lumisk
