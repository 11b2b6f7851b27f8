// The largest textures and renderbuffers the GL can hold, checked before one is
// made. A size beyond them would leave the object without storage: the GL only
// records an error, the passes reading it see zeros, and a wrong picture would
// be reported as a render. Both ask the current context (one glGetIntegerv
// each); the module's contexts share one driver, so any of them answers.
#pragma once

#include <glbinding/gl/types.h>

namespace Orvane::Lumisk {

// Throws AESDK_OpenGL_Fault(1) when a 2D texture of width x height texels is
// larger than GL_MAX_TEXTURE_SIZE in either direction, after printing the size.
void RequireTextureSize(gl::GLsizei width, gl::GLsizei height);

// The same for a renderbuffer against GL_MAX_RENDERBUFFER_SIZE.
void RequireRenderbufferSize(gl::GLsizei width, gl::GLsizei height);

}  // namespace Orvane::Lumisk
