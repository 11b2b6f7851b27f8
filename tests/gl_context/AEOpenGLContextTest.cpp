// AEOpenGLContext: hidden window, class names, pixel format, root and shared
// contexts, the information lines, failures and release.

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <glbinding/Binding.h>
#include <glbinding/ContextHandle.h>
#include <glbinding/Meta.h>
#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

#include "gl/AEOpenGLContext.h"
#include "gl/AESDK_OpenGL_Fault.h"
#include "tests/support/GlErrorCheck.h"
#include "tests/support/WglFaults.h"

using namespace gl33core;

namespace Orvane::Lumisk {
namespace {

using WglFaults::Call;

class AEOpenGLContextTest : public ::testing::Test {
protected:
  Testing::ScopedGlErrorCheck errorCheck;  // any GL error fails the test
  void SetUp() override { WglFaults::Reset(); }
  void TearDown() override {
    WglFaults::Reset();
    wglMakeCurrent(nullptr, nullptr);
  }
};

bool SameLiveObjects(const WglFaults::LiveObjects& a, const WglFaults::LiveObjects& b) {
  return a.windowClasses == b.windowClasses && a.windows == b.windows && a.deviceContexts == b.deviceContexts &&
         a.glContexts == b.glContexts;
}

std::string Text(const GLubyte* text) {
  return reinterpret_cast<const char*>(text);
}

TEST_F(AEOpenGLContextTest, ClassNameIsPrefixAddressAndCounter) {
  const std::string addressText = "AEOpenGL_Win_Class";
  std::unique_ptr<AEOpenGLContext> first(new AEOpenGLContext(nullptr));
  const std::string firstName = first->WindowClassName();
  const std::string firstPrefix = addressText + std::to_string(reinterpret_cast<std::uintptr_t>(first.get())) + "_";
  ASSERT_EQ(firstName.rfind(firstPrefix, 0), 0u) << firstName;
  const int firstCounter = std::stoi(firstName.substr(firstPrefix.size()));

  // The same storage again still gets a new name: the counter moved on.
  AEOpenGLContext* storage = first.get();
  first->~AEOpenGLContext();
  new (storage) AEOpenGLContext(nullptr);
  const std::string secondName = storage->WindowClassName();
  const std::string secondPrefix = addressText + std::to_string(reinterpret_cast<std::uintptr_t>(storage)) + "_";
  ASSERT_EQ(secondName.rfind(secondPrefix, 0), 0u) << secondName;
  EXPECT_EQ(std::stoi(secondName.substr(secondPrefix.size())), firstCounter + 1);
  EXPECT_NE(secondName, firstName);
}

TEST_F(AEOpenGLContextTest, PrintsSixInformationLinesPerConstruction) {
  testing::internal::CaptureStdout();
  std::unique_ptr<AEOpenGLContext> root(new AEOpenGLContext(nullptr));
  const std::string rootLines = testing::internal::GetCapturedStdout();
  GLint major = 0;
  GLint minor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  const std::string expected = "\nOpenGL Version:  " + std::to_string(major) + "." + std::to_string(minor) +
                               "\nOpenGL Vendor:   " + Text(glGetString(GL_VENDOR)) +
                               "\nOpenGL Renderer: " + Text(glGetString(GL_RENDERER)) +
                               "\nOpenGL Revision: " + std::to_string(glbinding::Meta::glRevision()) + " (gl.xml)\n\n";
  EXPECT_EQ(rootLines, expected);

  testing::internal::CaptureStdout();
  std::unique_ptr<AEOpenGLContext> shared(new AEOpenGLContext(root.get()));
  const std::string sharedLines = testing::internal::GetCapturedStdout();
  EXPECT_EQ(std::count(sharedLines.begin(), sharedLines.end(), '\n'), 6) << sharedLines;
  EXPECT_EQ(sharedLines.rfind("\nOpenGL Version:  ", 0), 0u);
}

TEST_F(AEOpenGLContextTest, RootIsLegacyAndSharedIsCoreAndBothAreCurrentOnReturn) {
  std::unique_ptr<AEOpenGLContext> root(new AEOpenGLContext(nullptr));
  EXPECT_EQ(wglGetCurrentContext(), root->GlContext());
  EXPECT_EQ(wglGetCurrentDC(), root->DeviceContext());
  GLint mask = 0;
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
  EXPECT_EQ(mask, static_cast<GLint>(GL_CONTEXT_COMPATIBILITY_PROFILE_BIT));

  std::unique_ptr<AEOpenGLContext> shared(new AEOpenGLContext(root.get()));
  EXPECT_EQ(wglGetCurrentContext(), shared->GlContext());
  EXPECT_EQ(glbinding::getCurrentContext(), reinterpret_cast<glbinding::ContextHandle>(shared->GlContext()));
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
  EXPECT_EQ(mask, static_cast<GLint>(GL_CONTEXT_CORE_PROFILE_BIT));
  GLint major = 0;
  GLint minor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  EXPECT_GE(major * 10 + minor, 33);
  EXPECT_FALSE(shared->Extensions().empty());

  // A texture of the shared context is visible in the root.
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glFinish();
  root->MakeCurrent();
  EXPECT_EQ(glIsTexture(texture), GL_TRUE);
  glDeleteTextures(1, &texture);
}

#ifndef _WIN32
// The window class, the hidden window, the pixel format and the 3.3 attribute
// list as the module hands them to the system (the layer over EGL records
// them; the real WGL keeps no record). Values written out from the system's
// documented numbers, not from the module's constants.
TEST_F(AEOpenGLContextTest, WindowClassWindowPixelFormatAndAttributesAreThoseGiven) {
  PIXELFORMATDESCRIPTOR expectedFormat;
  std::memset(&expectedFormat, 0, sizeof expectedFormat);
  expectedFormat.nSize = 40;
  expectedFormat.nVersion = 1;
  expectedFormat.dwFlags = 0x24;  // draw to window, support OpenGL; single-buffered
  expectedFormat.iPixelType = 0;  // RGBA
  expectedFormat.cColorBits = 32;
  expectedFormat.cDepthBits = 8;

  std::unique_ptr<AEOpenGLContext> root;
  for (const bool perThread : {false, true}) {
    SCOPED_TRACE(perThread ? "per-thread context" : "root context");
    std::unique_ptr<AEOpenGLContext> context(new AEOpenGLContext(perThread ? root.get() : nullptr));

    const WglFaults::RecordedWindowClass windowClass = WglFaults::LastWindowClass();
    EXPECT_EQ(windowClass.fields.cbSize, 80u);
    EXPECT_EQ(windowClass.fields.style, 3u);  // CS_HREDRAW | CS_VREDRAW
    EXPECT_EQ(windowClass.fields.lpfnWndProc, &DefWindowProcA);
    EXPECT_EQ(windowClass.fields.cbClsExtra, 0);
    EXPECT_EQ(windowClass.fields.cbWndExtra, 0);
    EXPECT_EQ(windowClass.fields.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(windowClass.fields.hIcon, nullptr);
    EXPECT_EQ(windowClass.fields.hIconSm, nullptr);
    EXPECT_EQ(windowClass.fields.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(32512))));
    EXPECT_EQ(windowClass.fields.hbrBackground, GetStockObject(4));  // BLACK_BRUSH
    EXPECT_FALSE(windowClass.hasMenuName);
    EXPECT_EQ(windowClass.className, context->WindowClassName());

    const WglFaults::RecordedWindow window = WglFaults::LastCreateWindow();
    EXPECT_EQ(window.exStyle, 0x40100u);  // WS_EX_APPWINDOW | WS_EX_WINDOWEDGE
    EXPECT_EQ(window.className, context->WindowClassName());
    EXPECT_TRUE(window.hasTitle);
    EXPECT_EQ(window.title, "OpenGL-using FBOs in AE");
    EXPECT_EQ(window.style, 0u);
    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
    EXPECT_EQ(window.width, 8);
    EXPECT_EQ(window.height, 8);
    EXPECT_EQ(window.parent, nullptr);
    EXPECT_EQ(window.menu, nullptr);
    EXPECT_EQ(window.instance, nullptr);
    EXPECT_EQ(window.param, nullptr);

    const PIXELFORMATDESCRIPTOR chosen = WglFaults::LastChosenPixelFormat();
    const PIXELFORMATDESCRIPTOR set = WglFaults::LastSetPixelFormat();
    EXPECT_EQ(std::memcmp(&chosen, &expectedFormat, sizeof chosen), 0) << "ChoosePixelFormat";
    EXPECT_EQ(std::memcmp(&set, &expectedFormat, sizeof set), 0) << "SetPixelFormat";

    if (perThread) {
      // Exactly 3.3, no profile mask and no flags: the list ends at the first 0.
      EXPECT_EQ(WglFaults::LastContextAttributes(), (std::vector<int>{0x2091, 3, 0x2092, 3, 0}));
    } else {
      root = std::move(context);
    }
  }
}
#endif

TEST_F(AEOpenGLContextTest, DestructorLeavesNothingCurrentAndReleasesEverything) {
  const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
  {
    AEOpenGLContext root(nullptr);
    AEOpenGLContext shared(&root);
    root.MakeCurrent();  // the destructor of another context must still release all
  }
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_TRUE(SameLiveObjects(WglFaults::CountLiveObjects(), before));
}

TEST_F(AEOpenGLContextTest, DestructorCompletesWhenTheClassCannotBeUnregistered) {
  const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
  std::string className;
  {
    AEOpenGLContext root(nullptr);
    className = root.WindowClassName();
    WglFaults::FailCall(Call::UnregisterClassA);
  }
  const WglFaults::LiveObjects after = WglFaults::CountLiveObjects();
  EXPECT_EQ(after.windowClasses, before.windowClasses + 1);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.glContexts, before.glContexts);
  EXPECT_EQ(UnregisterClassA(className.c_str(), nullptr), TRUE);  // no window holds it
}

// Every failing step throws AESDK_OpenGL_Fault(1) and leaves no class,
// window, DC or context behind, and no context of its own current.
TEST_F(AEOpenGLContextTest, EveryFailureThrowsCodeOneAndLeaksNothing) {
  struct Case {
    const char* what;
    bool perThread;
    Call failing;               // Call::Count: fail a look-up instead
    const char* failingLookup;  // name that wglGetProcAddress answers null for
  };
  const Case cases[] = {
      {"RegisterClassExA", false, Call::RegisterClassExA, nullptr},
      {"CreateWindowExA", false, Call::CreateWindowExA, nullptr},
      {"GetDC", false, Call::GetDC, nullptr},
      {"ChoosePixelFormat", false, Call::ChoosePixelFormat, nullptr},
      {"SetPixelFormat", false, Call::SetPixelFormat, nullptr},
      {"wglCreateContext", false, Call::wglCreateContext, nullptr},
      {"root wglMakeCurrent", false, Call::wglMakeCurrent, nullptr},
      {"wglGetExtensionsStringARB look-up", false, Call::Count, "wglGetExtensionsStringARB"},
      {"wglCreateContextAttribsARB look-up", false, Call::Count, "wglCreateContextAttribsARB"},
      {"per-thread RegisterClassExA", true, Call::RegisterClassExA, nullptr},
      {"per-thread SetPixelFormat", true, Call::SetPixelFormat, nullptr},
      {"wglCreateContextAttribsARB", true, Call::wglCreateContextAttribsARB, nullptr},
      {"per-thread wglMakeCurrent", true, Call::wglMakeCurrent, nullptr},
      {"wglShareLists", true, Call::wglShareLists, nullptr},
  };
  for (const Case& c : cases) {
    WglFaults::Reset();
    std::unique_ptr<AEOpenGLContext> root;
    if (c.perThread) {
      root.reset(new AEOpenGLContext(nullptr));
    }
    const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();
    if (c.failingLookup != nullptr) {
      WglFaults::FailProcAddress(c.failingLookup);
    } else {
      WglFaults::FailCall(c.failing);
    }
    testing::internal::CaptureStdout();
    int code = 0;
    try {
      AEOpenGLContext made(root.get());
      ADD_FAILURE() << c.what << ": no throw";
    } catch (const AESDK_OpenGL_Fault& fault) {
      code = fault.code;
    }
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 1) << c.what;
    EXPECT_TRUE(printed.empty()) << c.what << ": " << printed;
    EXPECT_TRUE(SameLiveObjects(WglFaults::CountLiveObjects(), before)) << c.what;
    const HGLRC current = wglGetCurrentContext();
    EXPECT_TRUE(current == nullptr || (root && current == root->GlContext())) << c.what;
  }
}

TEST_F(AEOpenGLContextTest, LaterRootsReuseTheEntryPointWhenTheStringLacksIt) {
  delete new AEOpenGLContext(nullptr);  // looks the entry point up
  for (const auto variant : {WglFaults::ExtensionString::WithoutCreateContext, WglFaults::ExtensionString::Null}) {
    WglFaults::SetExtensionString(variant);
    std::unique_ptr<AEOpenGLContext> root;
    EXPECT_NO_THROW(root.reset(new AEOpenGLContext(nullptr)));
    // The kept entry point still makes per-thread contexts.
    EXPECT_NO_THROW(AEOpenGLContext shared(root.get()));
  }
}

TEST_F(AEOpenGLContextTest, MakeCurrentSwitchesWglAndGlbinding) {
  AEOpenGLContext root(nullptr);
  AEOpenGLContext shared(&root);
  root.MakeCurrent();
  EXPECT_EQ(wglGetCurrentContext(), root.GlContext());
  EXPECT_EQ(glbinding::getCurrentContext(), reinterpret_cast<glbinding::ContextHandle>(root.GlContext()));
  shared.MakeCurrent();
  EXPECT_EQ(wglGetCurrentContext(), shared.GlContext());
  EXPECT_EQ(wglGetCurrentDC(), shared.DeviceContext());
}

// opengl32 may hand out a deleted context's value again. glbinding already
// knows that handle, so a host thread that never used glbinding must still be
// switched to it before the first GL call.
TEST_F(AEOpenGLContextTest, ReusedHandleWorksOnAThreadNewToGlbinding) {
  if (!WglFaults::ReuseDeletedContextHandles(true)) {
    GTEST_SKIP() << "the system's opengl32 chooses its own handles";
  }
  testing::internal::CaptureStdout();
  HGLRC deleted = nullptr;
  {
    AEOpenGLContext first(nullptr);
    deleted = first.GlContext();
  }
  HGLRC reused = nullptr;
  bool threw = false;
  std::string renderer;
  GLint major = 0;
  std::thread fresh([&] {
    try {
      AEOpenGLContext again(nullptr);
      reused = again.GlContext();
      renderer = Text(glGetString(GL_RENDERER));
      glGetIntegerv(GL_MAJOR_VERSION, &major);
    } catch (...) {
      threw = true;
    }
  });
  fresh.join();
  const std::string printed = testing::internal::GetCapturedStdout();
  ASSERT_EQ(reused, deleted);
  EXPECT_FALSE(threw);
  EXPECT_NE(printed.find("\nOpenGL Renderer: " + renderer + "\n"), std::string::npos) << printed;
  EXPECT_FALSE(renderer.empty());
  EXPECT_GE(major, 1);
}

}  // namespace
}  // namespace Orvane::Lumisk
