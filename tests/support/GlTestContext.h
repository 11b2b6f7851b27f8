#pragma once
// GL test support: give a test thread a current context of the module's own
// kind and read pixels back.

#include "gl/AEOpenGLContext.h"
#include "platform/WglApi.h"
#include "tests/support/GlErrorCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// A window class of its own, one hidden window of it and the window's device
// context with its pixel format set; all released at destruction.
class TestWindow {
public:
  explicit TestWindow(const std::string& className);
  ~TestWindow();

  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Window() const { return window; }
  HDC Dc() const { return dc; }
  // Releases the device context and gets the window's again.
  HDC ReacquireDc();
  // A new legacy context (wglCreateContext), made current on this thread.
  HGLRC MakeLegacyContextCurrent();

private:
  std::string windowClassName;
  HWND window = nullptr;
  HDC dc = nullptr;
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
