#include "gl/GlOutOfMemory.h"

#include <glbinding/gl/gl.h>

namespace Orvane::Lumisk {

namespace {

// GL keeps one flag per kind of error; a few reads clear them all, and the
// bound keeps a context that keeps answering from stalling the render.
constexpr int kMaxErrorFlags = 16;

}  // namespace

bool TakeGlOutOfMemory() {
  bool outOfMemory = false;
  for (int i = 0; i < kMaxErrorFlags; ++i) {
    const gl::GLenum error = gl::glGetError();
    if (error == gl::GL_NO_ERROR) {
      break;
    }
    outOfMemory = outOfMemory || error == gl::GL_OUT_OF_MEMORY;
  }
  return outOfMemory;
}

void ThrowIfGlOutOfMemory() {
  if (TakeGlOutOfMemory()) {
    throw GlOutOfMemory();
  }
}

}  // namespace Orvane::Lumisk
