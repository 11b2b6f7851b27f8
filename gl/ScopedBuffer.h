// The owner of one buffer object name (see ScopedGlName).
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

struct BufferName {
  static gl::GLuint Generate() {
    gl::GLuint name = 0;
    gl::glGenBuffers(1, &name);
    return name;
  }
  static void Delete(gl::GLuint name) { gl::glDeleteBuffers(1, &name); }
};

using ScopedBuffer = ScopedGlName<BufferName>;

}  // namespace Orvane::Lumisk
