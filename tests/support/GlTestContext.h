#pragma once
// GL test support: give a test thread a current context of the module's own
// kind and read pixels back.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gl/AEOpenGLContext.h"
#include "host/HiddenGlWindow.h"
#include "platform/WglApi.h"
#include "tests/support/GlErrorCheck.h"

namespace Orvane::Lumisk::Testing {

// For its lifetime, the calling thread has a current OpenGL 3.3 core context
// made the module's way: a root (legacy) context and a per-thread context
// shared with it, both owned here (the context registry is not touched).
// The destructor deletes both and makes current again what was current before.
class ScopedGlContext {
public:
  ScopedGlContext();
  ~ScopedGlContext();

  ScopedGlContext(const ScopedGlContext&) = delete;
  ScopedGlContext& operator=(const ScopedGlContext&) = delete;

  AEOpenGLContext& Root() { return *root; }
  AEOpenGLContext& Context() { return *context; }

private:
  HDC previousDc;
  HGLRC previousContext;
  std::unique_ptr<AEOpenGLContext> root;
  std::unique_ptr<AEOpenGLContext> context;
};

// A fixture whose tests run with a ScopedGlContext current; any GL error
// fails the test (ScopedGlErrorCheck).
class GlContextTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<ScopedGlErrorCheck> errorCheck;
  std::unique_ptr<ScopedGlContext> glContext;
};

// The host's hidden window (a window class of its own, the window and its
// device context with its pixel format set), with a legacy context made
// current on it on request.
class TestWindow : public HeadlessHost::HiddenGlWindow {
public:
  using HiddenGlWindow::HiddenGlWindow;
  // A new legacy context (wglCreateContext), made current on this thread.
  HGLRC MakeLegacyContextCurrent();
};

// RGBA pixels of the read framebuffer bound now (its current read buffer),
// rows in GL order (row 0 first), 4 values per pixel.
std::vector<float> ReadPixelsFloat(int width, int height);
std::vector<std::uint8_t> ReadPixelsBytes(int width, int height);

// A GL_TEXTURE_2D of GL_RGBA32F with the given RGBA floats (row 0 first),
// linear filtering, clamped to edge. The caller deletes it.
unsigned int MakeFloatTexture(int width, int height, const std::vector<float>& rgba);

// Binds a new framebuffer with a GL_RGBA32F colour texture of the given size
// and sets the viewport to it; deletes both at destruction (current context).
class ScopedFloatTarget {
public:
  ScopedFloatTarget(int width, int height);
  ~ScopedFloatTarget();

  ScopedFloatTarget(const ScopedFloatTarget&) = delete;
  ScopedFloatTarget& operator=(const ScopedFloatTarget&) = delete;

  unsigned int Framebuffer() const { return framebuffer; }
  unsigned int Texture() const { return texture; }
  std::vector<float> Read() const { return ReadPixelsFloat(width, height); }

private:
  int width;
  int height;
  unsigned int framebuffer = 0;
  unsigned int texture = 0;
};

}  // namespace Orvane::Lumisk::Testing
