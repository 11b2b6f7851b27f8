// Puts a known float picture into the framebuffer a test draws into, by a blit
// from a framebuffer of its own, and binds the target framebuffer again.
#pragma once

#include <vector>

#include <glbinding/gl/gl.h>

#include "tests/support/GlTestContext.h"

namespace Orvane::Lumisk::Testing {

inline void PaintInto(gl::GLuint framebuffer, int width, int height, const std::vector<float>& rgba) {
  const gl::GLuint texture = MakeFloatTexture(width, height, rgba);
  gl::GLuint source = 0;
  gl::glGenFramebuffers(1, &source);
  gl::glBindFramebuffer(gl::GL_READ_FRAMEBUFFER, source);
  gl::glFramebufferTexture2D(gl::GL_READ_FRAMEBUFFER, gl::GL_COLOR_ATTACHMENT0, gl::GL_TEXTURE_2D, texture, 0);
  gl::glBindFramebuffer(gl::GL_DRAW_FRAMEBUFFER, framebuffer);
  gl::glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, gl::GL_COLOR_BUFFER_BIT, gl::GL_NEAREST);
  gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, framebuffer);
  gl::glDeleteFramebuffers(1, &source);
  gl::glDeleteTextures(1, &texture);
}

}  // namespace Orvane::Lumisk::Testing
