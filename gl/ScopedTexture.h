// The owner of one texture name (see ScopedGlName).
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

// A new texture name.
inline gl::GLuint GenerateTexture() {
  gl::GLuint name = 0;
  gl::glGenTextures(1, &name);
  return name;
}

struct TextureDeleter {
  static void Delete(gl::GLuint name) { gl::glDeleteTextures(1, &name); }
};

using ScopedTexture = ScopedGlName<TextureDeleter>;

}  // namespace Orvane::Lumisk
