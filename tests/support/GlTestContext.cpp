#include "tests/support/GlTestContext.h"

#include <cstring>
#include <stdexcept>

#include <glbinding/gl33core/gl.h>

#include "gl/TextureParameters.h"

using namespace gl33core;

namespace Orvane::Lumisk::Testing {

ScopedGlContext::ScopedGlContext() : previousDc(wglGetCurrentDC()), previousContext(wglGetCurrentContext()) {
  root = std::make_unique<AEOpenGLContext>(nullptr);
  context = std::make_unique<AEOpenGLContext>(root.get());
}

ScopedGlContext::~ScopedGlContext() {
  context.reset();
  root.reset();
  if (previousContext != nullptr) {
    wglMakeCurrent(previousDc, previousContext);
  }
}

void GlContextTest::SetUp() {
  errorCheck = std::make_unique<ScopedGlErrorCheck>();
  glContext = std::make_unique<ScopedGlContext>();
}

void GlContextTest::TearDown() {
  glContext.reset();
  errorCheck.reset();
}

HGLRC TestWindow::MakeLegacyContextCurrent() {
  const HGLRC context = MakeLegacyContext();
  if (context == nullptr || wglMakeCurrent(Dc(), context) == FALSE) {
    throw std::runtime_error("cannot make a legacy context current");
  }
  return context;
}

std::vector<float> ReadPixelsFloat(int width, int height) {
  std::vector<float> pixels(static_cast<std::size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
  return pixels;
}

std::vector<std::uint8_t> ReadPixelsBytes(int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

unsigned int MakeFloatTexture(int width, int height, const std::vector<float>& rgba) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  SetTextureParameters({GL_LINEAR, GL_LINEAR});
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(GL_RGBA32F), width, height, 0, GL_RGBA, GL_FLOAT,
               rgba.empty() ? nullptr : rgba.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

ScopedFloatTarget::ScopedFloatTarget(int targetWidth, int targetHeight) : width(targetWidth), height(targetHeight) {
  texture = MakeFloatTexture(width, height, {});
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
}

ScopedFloatTarget::~ScopedFloatTarget() {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &texture);
}

}  // namespace Orvane::Lumisk::Testing
