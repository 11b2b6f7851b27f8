#include "gl/GlSizeLimits.h"

#include <glbinding/gl/gl.h>

#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/LogPrintf.h"

using namespace gl;

namespace Orvane::Lumisk {

namespace {

void RequireWithin(GLenum limitName, const char* kind, GLsizei width, GLsizei height) {
  GLint limit = 0;
  glGetIntegerv(limitName, &limit);
  if (width <= limit && height <= limit) {
    return;
  }
  LogPrintf("%s of %d x %d exceeds the GL's maximum size %d\n", kind, static_cast<int>(width), static_cast<int>(height),
            static_cast<int>(limit));
  throw AESDK_OpenGL_Fault(1);
}

}  // namespace

void RequireTextureSize(GLsizei width, GLsizei height) {
  RequireWithin(GL_MAX_TEXTURE_SIZE, "texture", width, height);
}

void RequireRenderbufferSize(GLsizei width, GLsizei height) {
  RequireWithin(GL_MAX_RENDERBUFFER_SIZE, "renderbuffer", width, height);
}

}  // namespace Orvane::Lumisk
