// The owner of one texture name (see ScopedGlName).
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

struct TextureName {
  static gl::GLuint Generate() {
    gl::GLuint name = 0;
    gl::glGenTextures(1, &name);
    return name;
  }
  static void Delete(gl::GLuint name) { gl::glDeleteTextures(1, &name); }
};

using ScopedTexture = ScopedGlName<TextureName>;

}  // namespace Orvane::Lumisk
