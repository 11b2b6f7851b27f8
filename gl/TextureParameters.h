// The sampling state every texture of the module gets: its two filters and
// clamping to the edge in both directions.
#pragma once

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {

struct TextureFilters {
  gl::GLenum minification;
  gl::GLenum magnification;
};

// Sets the filters of the texture bound to GL_TEXTURE_2D and clamps it to the
// edge in s and t.
void SetTextureParameters(const TextureFilters& filters);

}  // namespace Orvane::Lumisk
