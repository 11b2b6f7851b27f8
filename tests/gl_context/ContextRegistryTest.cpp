// The context registry: slots, per-thread contexts sharing with the root,
// set-down, and the mended failure paths.

#include <thread>

#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/ContextRegistry.h"
#include "tests/support/GlErrorCheck.h"
#include "tests/support/WglFaults.h"

using namespace gl33core;

namespace Orvane::Lumisk {
namespace {

class ContextRegistryTest : public ::testing::Test {
protected:
  Testing::ScopedGlErrorCheck errorCheck;  // any GL error fails the test
  void SetUp() override { WglFaults::Reset(); }
  void TearDown() override {
    DestroyAllContexts();
    wglMakeCurrent(nullptr, nullptr);
    WglFaults::Reset();
  }
};

// Runs f on a new thread, as a host thread that renders, and waits for it.
template <typename F>
void OnHostThread(F f) {
  std::thread thread([&] {
    f();
    wglMakeCurrent(nullptr, nullptr);
  });
  thread.join();
}

GLuint MakeTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindTexture(GL_TEXTURE_2D, 0);
  glFinish();
  return texture;
}

TEST_F(ContextRegistryTest, TwoThreadsGetConsecutiveSlotsAndShareTextures) {
  CreateRootContext();
  AEOpenGLContext* first = nullptr;
  AEOpenGLContext* second = nullptr;
  std::int32_t firstSlot = -1;
  std::int32_t secondSlot = -1;
  GLuint firstTexture = 0;
  GLuint secondTexture = 0;
  bool secondSeesFirst = false;

  OnHostThread([&] {
    EXPECT_EQ(CurrentThreadContextSlot(), -1);
    first = CurrentThreadContext();
    first->MakeCurrent();
    firstSlot = CurrentThreadContextSlot();
    firstTexture = MakeTexture();
  });
  OnHostThread([&] {
    second = CurrentThreadContext();
    second->MakeCurrent();
    secondSlot = CurrentThreadContextSlot();
    secondSeesFirst = glIsTexture(firstTexture) == GL_TRUE;
    secondTexture = MakeTexture();
  });

  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(first->GlContext(), second->GlContext());
  EXPECT_EQ(secondSlot, firstSlot + 1);
  EXPECT_EQ(RegisteredContextCount(), 2u);
  EXPECT_TRUE(secondSeesFirst);

#ifndef _WIN32
  // On Windows the hidden window (and so the DC) of first ended with its
  // thread: first cannot be made current again here.
  first->MakeCurrent();  // no longer current on its thread
  EXPECT_EQ(glIsTexture(secondTexture), GL_TRUE);
#endif
  RootContext()->MakeCurrent();
  EXPECT_EQ(glIsTexture(firstTexture), GL_TRUE);
  EXPECT_EQ(glIsTexture(secondTexture), GL_TRUE);
  glDeleteTextures(1, &firstTexture);
  glDeleteTextures(1, &secondTexture);
}

TEST_F(ContextRegistryTest, SecondCallReturnsTheSameContextWithoutMakingOne) {
  CreateRootContext();
  OnHostThread([&] {
    AEOpenGLContext* made = CurrentThreadContext();
    EXPECT_EQ(wglGetCurrentContext(), made->GlContext());  // a new one comes back current
    wglMakeCurrent(nullptr, nullptr);
    testing::internal::CaptureStdout();
    AEOpenGLContext* again = CurrentThreadContext();
    EXPECT_TRUE(testing::internal::GetCapturedStdout().empty());
    EXPECT_EQ(again, made);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);  // an existing one is not made current
  });
}

TEST_F(ContextRegistryTest, WithoutARootTheThreadContextIsMadeTheRootsWay) {
  ASSERT_EQ(RootContext(), nullptr);
  OnHostThread([&] {
    CurrentThreadContext()->MakeCurrent();
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    EXPECT_EQ(mask, static_cast<GLint>(GL_CONTEXT_COMPATIBILITY_PROFILE_BIT));
  });
}

TEST_F(ContextRegistryTest, DestroyAllContextsDeletesEverythingAndLeavesNothingCurrent) {
  DestroyAllContexts();  // empty registry, no root: nothing happens
  EXPECT_EQ(RootContext(), nullptr);

  const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
  CreateRootContext();
  OnHostThread([&] { CurrentThreadContext(); });
  CurrentThreadContext()->MakeCurrent();
  EXPECT_EQ(RegisteredContextCount(), 2u);

  DestroyAllContexts();
  EXPECT_EQ(RootContext(), nullptr);
  EXPECT_EQ(RegisteredContextCount(), 0u);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  const WglFaults::LiveObjects after = WglFaults::CountLiveObjects();
  EXPECT_EQ(after.glContexts, before.glContexts);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.windowClasses, before.windowClasses);
}

TEST_F(ContextRegistryTest, FailedCreationUnlocksAndTheThreadTriesAgain) {
  CreateRootContext();
  OnHostThread([&] {
    WglFaults::FailCall(WglFaults::Call::wglShareLists);
    EXPECT_THROW(CurrentThreadContext(), AESDK_OpenGL_Fault);
    const std::int32_t slot = CurrentThreadContextSlot();

    // The lock was let go: another thread gets its context meanwhile.
    OnHostThread([&] { EXPECT_NE(CurrentThreadContext(), nullptr); });

    AEOpenGLContext* retried = CurrentThreadContext();
    ASSERT_NE(retried, nullptr);
    EXPECT_EQ(CurrentThreadContextSlot(), slot);
    EXPECT_EQ(wglGetCurrentContext(), retried->GlContext());
  });
}

TEST_F(ContextRegistryTest, RenderAfterSetDownGetsAFreshSharedContext) {
  CreateRootContext();
  HGLRC before = nullptr;
  OnHostThread([&] {
    before = CurrentThreadContext()->GlContext();
    // Set-down and a later set-up happen while this thread is alive.
    OnHostThread([] {
      DestroyAllContexts();
      CreateRootContext();
    });
    AEOpenGLContext* after = CurrentThreadContext();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after->GlContext(), before);
    after->MakeCurrent();
    const GLuint texture = MakeTexture();
    // The fresh context shares with the new root.
    OnHostThread([&] {
      RootContext()->MakeCurrent();
      EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    });
    glDeleteTextures(1, &texture);
  });
}

TEST_F(ContextRegistryTest, FailedRootCreationKeepsTheRoot) {
  CreateRootContext();
  AEOpenGLContext* root = RootContext();
  WglFaults::FailCall(WglFaults::Call::CreateWindowExA);
  EXPECT_THROW(CreateRootContext(), AESDK_OpenGL_Fault);
  EXPECT_EQ(RootContext(), root);
}

}  // namespace
}  // namespace Orvane::Lumisk
