// The owner of one renderbuffer name (see ScopedGlName).
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

// A new renderbuffer name.
inline gl::GLuint GenerateRenderbuffer() {
  gl::GLuint name = 0;
  gl::glGenRenderbuffers(1, &name);
  return name;
}

struct RenderbufferDeleter {
  static void Delete(gl::GLuint name) { gl::glDeleteRenderbuffers(1, &name); }
};

using ScopedRenderbuffer = ScopedGlName<RenderbufferDeleter>;

}  // namespace Orvane::Lumisk
