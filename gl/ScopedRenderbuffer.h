// The owner of one renderbuffer name (see ScopedGlName).
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

struct RenderbufferName {
  static gl::GLuint Generate() {
    gl::GLuint name = 0;
    gl::glGenRenderbuffers(1, &name);
    return name;
  }
  static void Delete(gl::GLuint name) { gl::glDeleteRenderbuffers(1, &name); }
};

using ScopedRenderbuffer = ScopedGlName<RenderbufferName>;

}  // namespace Orvane::Lumisk
