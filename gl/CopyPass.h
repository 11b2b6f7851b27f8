// The last draw of a render: copies a texture over the viewport into the bound
// framebuffer, reordering its channels (".argb" puts alpha first, in the host's
// order; ".bgar" is the alternative order of the multisample road).
#pragma once

#include <glbinding/gl/types.h>

#include "gl/FullscreenQuad.h"
#include "gl/OpenglShader.h"

namespace Orvane::Lumisk {

class CopyPass {
public:
  // Makes no GL call: the program links and the quad is made at the first draw.
  explicit CopyPass(bool bgarSwizzle);
  // The quad deletes its buffer and vertex arrays (each vertex array in its own
  // context, see PerContextVertexArray); the program goes in the current context.
  CopyPass(const CopyPass&) = delete;
  CopyPass& operator=(const CopyPass&) = delete;

  // Draws `texture` over the viewport. The caller binds the framebuffer, sets the
  // viewport, blend state and clear, and keeps the texture. `multiplier` is
  // handed to the program, which does not read it.
  void Draw(gl::GLuint texture, float multiplier);

private:
  FullscreenQuad quad;
  OpenglShader shader;
};

}  // namespace Orvane::Lumisk
