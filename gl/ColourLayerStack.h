// The colour layers of the render target, bottom first, each owning the
// companion renderbuffers pushed with it, so that a layer and its companions
// are deleted together: when it is popped, when the stack is cleared, and on
// the way out of an error.
#pragma once

#include <cstddef>
#include <vector>

#include <glbinding/gl/types.h>

#include "gl/ScopedRenderbuffer.h"

namespace Orvane::Lumisk {

// One colour layer and its optional stencil and depth companions (0: none).
struct ColourLayer {
  ScopedRenderbuffer colour;
  ScopedRenderbuffer stencil;
  ScopedRenderbuffer depth;
};

class ColourLayerStack {
public:
  ColourLayerStack() = default;
  // Deletes every layer (see Clear).
  ~ColourLayerStack() { Clear(); }
  ColourLayerStack(const ColourLayerStack&) = delete;
  ColourLayerStack& operator=(const ColourLayerStack&) = delete;

  // Pushes a layer owning `colour` and returns it, for its companions.
  ColourLayer& Push(ScopedRenderbuffer colour);
  // Deletes the top layer: the colour renderbuffer, then its stencil, then its
  // depth companion. Nothing when the stack is empty.
  void Pop();
  // Deletes every layer as Pop does, bottom first.
  void Clear();

  bool Empty() const { return layers.empty(); }
  std::size_t Size() const { return layers.size(); }
  // The top layer's colour renderbuffer, 0 when the stack is empty.
  gl::GLuint Top() const { return layers.empty() ? 0 : layers.back().colour.Get(); }

private:
  static void Delete(ColourLayer& layer);

  std::vector<ColourLayer> layers;
};

}  // namespace Orvane::Lumisk
