// Per-context framebuffers and vertex arrays: made lazily per context, never
// deleted in the wrong one, forgotten with their context.

#include <memory>
#include <thread>

#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

#include "gl/ContextRegistry.h"
#include "gl/OpenglShader.h"
#include "gl/PerContextObjects.h"
#include "tests/support/GlErrorCheck.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/WglFaults.h"

using namespace gl33core;

namespace Orvane::Lumisk::Testing {
namespace {

// A root and two contexts shared with it, all on the test thread.
class PerContextObjectsTest : public ::testing::Test {
protected:
  Testing::ScopedGlErrorCheck errorCheck;  // any GL error fails the test
  void SetUp() override {
    root = std::make_unique<AEOpenGLContext>(nullptr);
    first = std::make_unique<AEOpenGLContext>(root.get());
    second = std::make_unique<AEOpenGLContext>(root.get());
  }
  void TearDown() override {
    second.reset();
    first.reset();
    root.reset();
  }
  std::unique_ptr<AEOpenGLContext> root;
  std::unique_ptr<AEOpenGLContext> first;
  std::unique_ptr<AEOpenGLContext> second;
};

TEST_F(PerContextObjectsTest, WithNoContextCurrentNothingIsMade) {
  wglMakeCurrent(nullptr, nullptr);
  PerContextFramebuffer framebuffer;
  PerContextVertexArray vertexArray;
  bool laidOut = false;
  EXPECT_EQ(framebuffer.Get(), 0u);
  EXPECT_EQ(vertexArray.Bind([&] { laidOut = true; }), 0u);
  EXPECT_FALSE(laidOut);
  framebuffer.Release();  // nothing to delete, no GL call without a context
}

TEST_F(PerContextObjectsTest, EachContextGetsItsOwnNameAndLayoutOnce) {
  PerContextVertexArray vertexArray;
  int layouts = 0;
  const auto layout = [&] { ++layouts; };

  first->MakeCurrent();
  const GLuint inFirst = vertexArray.Bind(layout);
  EXPECT_EQ(vertexArray.Bind(layout), inFirst);
  EXPECT_EQ(layouts, 1);
  GLint bound = 0;
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), inFirst);

  second->MakeCurrent();
  EXPECT_EQ(vertexArray.Find(), 0u);
  const GLuint inSecond = vertexArray.Bind(layout);
  EXPECT_NE(inSecond, 0u);
  EXPECT_EQ(layouts, 2);
  EXPECT_EQ(glIsVertexArray(inSecond), GL_TRUE);

  first->MakeCurrent();
  EXPECT_EQ(vertexArray.Find(), inFirst);
}

TEST_F(PerContextObjectsTest, ReleaseDeletesHereAndQueuesTheOtherContexts) {
  PerContextVertexArray vertexArray;
  first->MakeCurrent();
  const GLuint inFirst = vertexArray.Bind(nullptr);
  second->MakeCurrent();
  const GLuint inSecond = vertexArray.Bind(nullptr);

  vertexArray.Release();
  EXPECT_EQ(glIsVertexArray(inSecond), GL_FALSE);
  EXPECT_EQ(PendingContextObjectCount(second->GlContext()), 0u);
  EXPECT_EQ(PendingContextObjectCount(first->GlContext()), 1u);

  first->MakeCurrent();  // the queued name goes, in its own context
  EXPECT_EQ(PendingContextObjectCount(first->GlContext()), 0u);
  EXPECT_EQ(glIsVertexArray(inFirst), GL_FALSE);
  EXPECT_EQ(vertexArray.Find(), 0u);
  EXPECT_NE(vertexArray.Bind(nullptr), 0u);  // usable again after a release
}

TEST_F(PerContextObjectsTest, HelperDestroyedElsewhereQueuesItsNames) {
  GLuint inFirst = 0;
  {
    PerContextFramebuffer framebuffer;
    first->MakeCurrent();
    inFirst = framebuffer.Get();
    glBindFramebuffer(GL_FRAMEBUFFER, inFirst);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    root->MakeCurrent();
  }
  EXPECT_EQ(PendingContextObjectCount(first->GlContext()), 1u);
  first->MakeCurrent();
  EXPECT_EQ(glIsFramebuffer(inFirst), GL_FALSE);
}

TEST_F(PerContextObjectsTest, DestroyedContextIsForgotten) {
  PerContextVertexArray vertexArray;
  PerContextFramebuffer framebuffer;
  first->MakeCurrent();
  vertexArray.Bind(nullptr);
  framebuffer.Get();
  second->MakeCurrent();
  vertexArray.Bind(nullptr);
  const HGLRC firstHandle = first->GlContext();
  vertexArray.Release();  // queues first's vertex array
  ASSERT_EQ(PendingContextObjectCount(firstHandle), 1u);

  first.reset();
  EXPECT_EQ(PendingContextObjectCount(firstHandle), 0u);
  EXPECT_EQ(framebuffer.Find(), 0u);
  second->MakeCurrent();
  framebuffer.Release();  // nothing of the destroyed context is queued again
  EXPECT_EQ(PendingContextObjectCount(firstHandle), 0u);
}

// opengl32 may give a new context a deleted one's handle: it starts clean.
TEST_F(PerContextObjectsTest, ReusedHandleFindsNothingOfTheDeletedContext) {
  PerContextVertexArray vertexArray;
  PerContextFramebuffer framebuffer;
  first->MakeCurrent();
  vertexArray.Bind(nullptr);
  framebuffer.Get();
  const HGLRC firstHandle = first->GlContext();
  second->MakeCurrent();
  framebuffer.Release();  // queues first's framebuffer

  if (!WglFaults::ReuseDeletedContextHandles(true)) {
    GTEST_SKIP() << "the system's opengl32 chooses its own handles";
  }
  first.reset();
  first = std::make_unique<AEOpenGLContext>(root.get());
  WglFaults::ReuseDeletedContextHandles(false);
  ASSERT_EQ(first->GlContext(), firstHandle);

  first->MakeCurrent();
  EXPECT_EQ(PendingContextObjectCount(firstHandle), 0u);
  EXPECT_EQ(vertexArray.Find(), 0u);
  EXPECT_EQ(framebuffer.Find(), 0u);
  int layouts = 0;
  const GLuint made = vertexArray.Bind([&] { ++layouts; });
  EXPECT_EQ(layouts, 1);  // the new context records its own layout
  EXPECT_EQ(glIsVertexArray(made), GL_TRUE);
}

// A pass as the renderer keeps one: module-wide program and buffer, a vertex
// array per context. Renders on two threads must both draw.
struct SolidColourPass {
  OpenglShader shader{R"(#version 330 core
in vec3 position;
in vec2 input_uv;
out vec2 uv;
void main() { uv = input_uv; gl_Position = vec4(position, 1.0); }
)",
                      R"(#version 330 core
in vec2 uv;
out vec4 colourOut;
void main() { colourOut = vec4(0.25, 0.5, uv.x * 0.0 + 0.75, 1.0); }
)"};
  GLuint buffer = 0;
  PerContextVertexArray vertexArray;

  SolidColourPass() {
    shader.AddAttribute("position", 0);
    shader.AddAttribute("input_uv", 1);
  }
  void Draw() {
    shader.Use();
    vertexArray.Bind([this] {
      if (buffer == 0) {
        static const float quad[30] = {-1, -1, 0, 0, 0, 1, -1, 0, 1, 0, 1,  1, 0, 1, 1,
                                       -1, -1, 0, 0, 0, 1, 1,  0, 1, 1, -1, 1, 0, 0, 1};
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
      }
      glBindBuffer(GL_ARRAY_BUFFER, buffer);
      shader.SetAttribute3f(0, 0, 20);
      shader.SetAttribute2f(1, 12, 20);
    });
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glBindVertexArray(0);
  }
};

TEST(PerContextPassTest, RendersOnTwoThreadsBothDraw) {
  CreateRootContext();
  auto pass = std::make_unique<SolidColourPass>();
  constexpr int kSize = 8;
  const auto renderOnHostThread = [&] {
    std::vector<float> pixels;
    std::thread thread([&] {
      CurrentThreadContext()->MakeCurrent();
      {
        ScopedFloatTarget target(kSize, kSize);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        pass->Draw();
        pixels = target.Read();
      }
      wglMakeCurrent(nullptr, nullptr);
    });
    thread.join();
    return pixels;
  };
  for (int render = 0; render < 2; ++render) {
    const std::vector<float> pixels = renderOnHostThread();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kSize * kSize * 4));
    // Constant colour into a float target: exact.
    for (int i = 0; i < kSize * kSize; ++i) {
      ASSERT_EQ(pixels[i * 4 + 0], 0.25f) << "render " << render << " pixel " << i;
      ASSERT_EQ(pixels[i * 4 + 1], 0.5f);
      ASSERT_EQ(pixels[i * 4 + 2], 0.75f);
    }
  }
  // Set-down: the root deletes what it can; the threads' names go with their contexts.
  RootContext()->MakeCurrent();
  glDeleteBuffers(1, &pass->buffer);
  pass.reset();
  DestroyAllContexts();
}

}  // namespace
}  // namespace Orvane::Lumisk::Testing
