// The owners of GLSL program and shader object names (see ScopedGlName).
// Both are made with glCreate* (a shader for its stage), not glGen*, so
// their owners take over a name made by the caller.
#pragma once

#include <glbinding/gl/gl.h>

#include "gl/ScopedGlName.h"

namespace Orvane::Lumisk {

struct ProgramName {
  static gl::GLuint Generate() { return gl::glCreateProgram(); }
  static void Delete(gl::GLuint name) { gl::glDeleteProgram(name); }
};

struct ShaderName {
  static void Delete(gl::GLuint name) { gl::glDeleteShader(name); }
};

using ScopedProgram = ScopedGlName<ProgramName>;
using ScopedShader = ScopedGlName<ShaderName>;

}  // namespace Orvane::Lumisk
