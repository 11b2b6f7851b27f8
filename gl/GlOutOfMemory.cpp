#include "gl/GlOutOfMemory.h"

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk {

namespace {

// GL keeps one flag per kind of error; a few reads clear them all, and the
// bound keeps a context that keeps answering from stalling the render.
constexpr int kMaxErrorFlags = 16;

}  // namespace

GlErrorFlags TakeGlErrors() {
  GlErrorFlags flags;
  for (int i = 0; i < kMaxErrorFlags; ++i) {
    const gl::GLenum error = gl::glGetError();
    if (error == gl::GL_NO_ERROR) {
      break;
    }
    if (error == gl::GL_OUT_OF_MEMORY) {
      flags.outOfMemory = true;
    } else if (error == gl::GL_INVALID_FRAMEBUFFER_OPERATION) {
      flags.incompleteFramebuffer = true;
    } else {
      flags.other = true;
    }
  }
  return flags;
}

bool TakeGlOutOfMemory() {
  return TakeGlErrors().outOfMemory;
}

void ThrowIfGlOutOfMemory(bool allocated) {
  if (TakeGlOutOfMemory() || !allocated) {
    throw GlOutOfMemory();
  }
}

bool BoundRenderbufferHasSize(gl::GLsizei width, gl::GLsizei height) {
  gl::GLint storedWidth = -1;
  gl::GLint storedHeight = -1;
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_WIDTH, &storedWidth);
  gl::glGetRenderbufferParameteriv(gl::GL_RENDERBUFFER, gl::GL_RENDERBUFFER_HEIGHT, &storedHeight);
  return storedWidth == width && storedHeight == height;
}

bool BoundTextureHasSize(gl::GLsizei width, gl::GLsizei height) {
  gl::GLint storedWidth = -1;
  gl::GLint storedHeight = -1;
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_WIDTH, &storedWidth);
  gl::glGetTexLevelParameteriv(gl::GL_TEXTURE_2D, 0, gl::GL_TEXTURE_HEIGHT, &storedHeight);
  return storedWidth == width && storedHeight == height;
}

}  // namespace Orvane::Lumisk
