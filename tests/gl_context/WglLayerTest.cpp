// The Win32/WGL layer over EGL: the behaviours the GL runtime relies on.

#include <cstring>
#include <string>
#include <thread>

#include <glbinding/Binding.h>
#include <glbinding/ContextHandle.h>
#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

#include "platform/WglApi.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/WglFaults.h"

using namespace gl33core;

namespace Orvane::Lumisk {
namespace {

using Testing::TestWindow;

WNDCLASSEXA ClassRecord(const char* name) {
  WNDCLASSEXA windowClass;
  std::memset(&windowClass, 0, sizeof(windowClass));
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = name;
  return windowClass;
}

HGLRC CreateCore33(HDC dc, HGLRC share = nullptr) {
  const auto create = WglProcCast<WglCreateContextAttribsArbProc>(wglGetProcAddress("wglCreateContextAttribsARB"));
  const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, 0, 0};
  return create != nullptr ? create(dc, share, attributes) : nullptr;
}

class WglLayerTest : public ::testing::Test {
protected:
  void SetUp() override { WglFaults::Reset(); }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    WglFaults::Reset();
  }
};

TEST_F(WglLayerTest, ClassRegistrationRefusesDuplicatesAndLiveWindows) {
  const WNDCLASSEXA windowClass = ClassRecord("WglLayerTest_class");
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  const HWND window = CreateWindowExA(0, "WglLayerTest_class", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(UnregisterClassA("WglLayerTest_class", nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);

  EXPECT_EQ(DestroyWindow(window), TRUE);
  EXPECT_EQ(UnregisterClassA("WglLayerTest_class", nullptr), TRUE);
  EXPECT_EQ(UnregisterClassA("WglLayerTest_class", nullptr), FALSE);
  EXPECT_EQ(CreateWindowExA(0, "WglLayerTest_class", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr), nullptr);
}

// The release calls fail as asked and then work again, with nothing released by the failure.
TEST_F(WglLayerTest, ReleaseCallsFailWhenAskedAndReleaseNothing) {
  const WNDCLASSEXA windowClass = ClassRecord("WglLayerTest_release_faults");
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  const HWND window =
      CreateWindowExA(0, "WglLayerTest_release_faults", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  const HDC dc = GetDC(window);
  ASSERT_EQ(SetPixelFormat(dc, 1, nullptr), TRUE);
  const HGLRC context = wglCreateContext(dc);
  ASSERT_NE(context, nullptr);
  const WglFaults::LiveObjects before = WglFaults::CountLiveObjects();

  WglFaults::FailCall(WglFaults::Call::wglDeleteContext);
  EXPECT_EQ(wglDeleteContext(context), FALSE);
  WglFaults::FailCall(WglFaults::Call::ReleaseDC);
  EXPECT_EQ(ReleaseDC(window, dc), 0);
  WglFaults::FailCall(WglFaults::Call::DestroyWindow);
  EXPECT_EQ(DestroyWindow(window), FALSE);
  const WglFaults::LiveObjects after = WglFaults::CountLiveObjects();
  EXPECT_EQ(after.glContexts, before.glContexts);
  EXPECT_EQ(after.deviceContexts, before.deviceContexts);
  EXPECT_EQ(after.windows, before.windows);

  EXPECT_EQ(wglMakeCurrent(dc, context), TRUE);
  const auto extensions = WglProcCast<WglGetExtensionsStringArbProc>(wglGetProcAddress("wglGetExtensionsStringARB"));
  ASSERT_NE(extensions, nullptr);
  WglFaults::FailCall(WglFaults::Call::wglGetExtensionsStringARB);
  EXPECT_EQ(extensions(dc), nullptr);
  EXPECT_NE(extensions(dc), nullptr);
  wglMakeCurrent(nullptr, nullptr);

  EXPECT_EQ(wglDeleteContext(context), TRUE);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(DestroyWindow(window), TRUE);
  EXPECT_EQ(UnregisterClassA("WglLayerTest_release_faults", nullptr), TRUE);
}

TEST_F(WglLayerTest, RegistrationChecksTheRecord) {
  WNDCLASSEXA windowClass = ClassRecord("WglLayerTest_record");
  windowClass.cbSize = 48;
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
  EXPECT_EQ(RegisterClassExA(nullptr), 0);
  windowClass = ClassRecord(nullptr);
  EXPECT_EQ(RegisterClassExA(&windowClass), 0);
}

TEST_F(WglLayerTest, ContextNeedsAPixelFormat) {
  const WNDCLASSEXA windowClass = ClassRecord("WglLayerTest_format");
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  const HWND window = CreateWindowExA(0, "WglLayerTest_format", "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  const HDC dc = GetDC(window);
  EXPECT_EQ(wglCreateContext(dc), nullptr);
  EXPECT_EQ(SetPixelFormat(dc, 2, nullptr), FALSE);  // the layer offers format 1 only
  EXPECT_EQ(SetPixelFormat(dc, 1, nullptr), TRUE);
  const HGLRC context = wglCreateContext(dc);
  EXPECT_NE(context, nullptr);
  EXPECT_EQ(wglDeleteContext(context), TRUE);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  UnregisterClassA("WglLayerTest_format", nullptr);
}

TEST_F(WglLayerTest, ProcAddressNeedsACurrentContext) {
  TestWindow window("WglLayerTest_proc");
  EXPECT_EQ(wglGetProcAddress("wglCreateContextAttribsARB"), nullptr);
  const HGLRC context = window.MakeLegacyContextCurrent();
  EXPECT_NE(wglGetProcAddress("wglCreateContextAttribsARB"), nullptr);
  EXPECT_NE(wglGetProcAddress("wglGetExtensionsStringARB"), nullptr);
  EXPECT_NE(wglGetProcAddress("glGenVertexArrays"), nullptr);
  WglFaults::FailProcAddress("wglGetExtensionsStringARB");
  EXPECT_EQ(wglGetProcAddress("wglGetExtensionsStringARB"), nullptr);
  wglDeleteContext(context);
}

TEST_F(WglLayerTest, ExtensionStringVariants) {
  TestWindow window("WglLayerTest_extensions");
  const HGLRC context = window.MakeLegacyContextCurrent();
  const auto extensionsOf = WglProcCast<WglGetExtensionsStringArbProc>(wglGetProcAddress("wglGetExtensionsStringARB"));
  ASSERT_NE(extensionsOf, nullptr);
  struct Case {
    WglFaults::ExtensionString variant;
    bool hasExactName;
    bool hasLongerName;
  };
  const Case cases[] = {
      {WglFaults::ExtensionString::Normal, true, true},
      {WglFaults::ExtensionString::WithoutCreateContext, false, false},
      {WglFaults::ExtensionString::OnlyLongerCreateContext, false, true},
  };
  for (const Case& c : cases) {
    WglFaults::SetExtensionString(c.variant);
    const std::string text = std::string(" ") + extensionsOf(window.Dc()) + " ";
    EXPECT_EQ(text.find(" WGL_ARB_create_context ") != std::string::npos, c.hasExactName);
    EXPECT_EQ(text.find("WGL_ARB_create_context") != std::string::npos, c.hasLongerName);
  }
  WglFaults::SetExtensionString(WglFaults::ExtensionString::Null);
  EXPECT_EQ(extensionsOf(window.Dc()), nullptr);
  wglDeleteContext(context);
}

TEST_F(WglLayerTest, CurrentContextIsPerThread) {
  TestWindow window("WglLayerTest_thread");
  const HGLRC context = window.MakeLegacyContextCurrent();
  EXPECT_EQ(wglGetCurrentContext(), context);
  EXPECT_EQ(wglGetCurrentDC(), window.Dc());

  HGLRC seenOnOtherThread = context;
  BOOL takenOnOtherThread = TRUE;
  BOOL deletedOnOtherThread = TRUE;
  std::thread other([&] {
    seenOnOtherThread = wglGetCurrentContext();
    takenOnOtherThread = wglMakeCurrent(window.Dc(), context);  // busy here
    deletedOnOtherThread = wglDeleteContext(context);
  });
  other.join();
  EXPECT_EQ(seenOnOtherThread, nullptr);
  EXPECT_EQ(takenOnOtherThread, FALSE);
  EXPECT_EQ(deletedOnOtherThread, FALSE);
  EXPECT_EQ(wglGetCurrentContext(), context);

  // Deleting the context current on this thread releases it first.
  EXPECT_EQ(wglDeleteContext(context), TRUE);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglGetCurrentDC(), nullptr);
  EXPECT_EQ(wglMakeCurrent(window.Dc(), context), FALSE);
}

TEST_F(WglLayerTest, ThreadThatEndsReleasesItsCurrentContext) {
  TestWindow window("WglLayerTest_thread_exit");
  const HGLRC context = wglCreateContext(window.Dc());
  BOOL taken = FALSE;
  std::thread host([&] { taken = wglMakeCurrent(window.Dc(), context); });  // ends with it current
  host.join();
  ASSERT_EQ(taken, TRUE);
  EXPECT_EQ(wglMakeCurrent(window.Dc(), context), TRUE);
  EXPECT_EQ(wglDeleteContext(context), TRUE);
}

TEST_F(WglLayerTest, FailedMakeCurrentLeavesNothingCurrent) {
  TestWindow window("WglLayerTest_failed_current");
  const HGLRC context = window.MakeLegacyContextCurrent();
  WglFaults::FailCall(WglFaults::Call::wglMakeCurrent);
  EXPECT_EQ(wglMakeCurrent(window.Dc(), context), FALSE);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(wglMakeCurrent(window.Dc(), context), TRUE);
  wglDeleteContext(context);
}

TEST_F(WglLayerTest, HandlesAreNeverReused) {
  TestWindow window("WglLayerTest_handles");
  const HGLRC first = wglCreateContext(window.Dc());
  wglDeleteContext(first);
  const HGLRC second = wglCreateContext(window.Dc());
  EXPECT_NE(first, second);
  wglDeleteContext(second);
  const HDC firstDc = window.Dc();
  EXPECT_NE(window.ReacquireDc(), firstDc);
}

TEST_F(WglLayerTest, ReuseControlHandsOutTheLastDeletedContextHandle) {
  TestWindow window("WglLayerTest_reuse");
  ASSERT_TRUE(WglFaults::ReuseDeletedContextHandles(true));
  const HGLRC legacy = window.MakeLegacyContextCurrent();
  const HGLRC core = CreateCore33(window.Dc());
  ASSERT_NE(core, nullptr);
  wglDeleteContext(legacy);
  wglDeleteContext(core);

  const HGLRC again = wglCreateContext(window.Dc());
  EXPECT_EQ(again, core);
  ASSERT_EQ(wglMakeCurrent(window.Dc(), again), TRUE);
  const HGLRC coreAgain = CreateCore33(window.Dc());
  EXPECT_EQ(coreAgain, legacy);

  WglFaults::Reset();  // turns reuse off
  wglDeleteContext(coreAgain);
  const HGLRC fresh = CreateCore33(window.Dc());
  EXPECT_NE(fresh, coreAgain);
  wglDeleteContext(fresh);
  wglDeleteContext(again);
}

TEST_F(WglLayerTest, AttributeListChoosesVersionAndProfile) {
  TestWindow window("WglLayerTest_attributes");
  const HGLRC legacy = window.MakeLegacyContextCurrent();
  const auto create = WglProcCast<WglCreateContextAttribsArbProc>(wglGetProcAddress("wglCreateContextAttribsARB"));
  ASSERT_NE(create, nullptr);
  glbinding::Binding::initialize(false);

  struct Case {
    const char* what;
    std::vector<int> attributes;
    bool created;
    GLint profileMask;  // of the created context; 0: not checked
  };
  const int core = static_cast<int>(GL_CONTEXT_CORE_PROFILE_BIT);
  const int compatibility = static_cast<int>(GL_CONTEXT_COMPATIBILITY_PROFILE_BIT);
  const Case cases[] = {
      {"3.3 without a profile is core",
       {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, 0, 0},
       true,
       core},
      {"3.3 compatibility",
       {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, WGL_CONTEXT_PROFILE_MASK_ARB,
        WGL_CONTEXT_COMPATIBILITY_PROFILE_BIT_ARB, 0},
       true,
       compatibility},
      {"the list ends at the first 0",
       {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, 0, 0, WGL_CONTEXT_PROFILE_MASK_ARB, 0x7},
       true,
       core},
      {"unknown attribute", {0x1234, 1, 0}, false, 0},
      {"unknown profile",
       {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, WGL_CONTEXT_PROFILE_MASK_ARB, 0x4, 0},
       false,
       0},
      {"a version the driver lacks", {WGL_CONTEXT_MAJOR_VERSION_ARB, 9, 0}, false, 0},
  };
  for (const Case& c : cases) {
    const HGLRC made = create(window.Dc(), nullptr, c.attributes.data());
    EXPECT_EQ(made != nullptr, c.created) << c.what;
    if (made == nullptr) {
      continue;
    }
    ASSERT_EQ(wglMakeCurrent(window.Dc(), made), TRUE);
    glbinding::Binding::initialize(false);
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    EXPECT_EQ(mask, c.profileMask) << c.what;
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    EXPECT_GE(major * 10 + minor, 33) << c.what;
    wglMakeCurrent(window.Dc(), legacy);
    glbinding::Binding::useCurrentContext();
    wglDeleteContext(made);
  }
  wglDeleteContext(legacy);
}

// A texture made in one context is seen in the other once they share.
bool TextureVisibleIn(HDC dc, HGLRC maker, HGLRC viewer) {
  wglMakeCurrent(dc, maker);
  glbinding::Binding::initialize(false);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindTexture(GL_TEXTURE_2D, 0);
  glFinish();
  wglMakeCurrent(dc, viewer);
  glbinding::Binding::initialize(false);
  const bool visible = glIsTexture(texture) == GL_TRUE;
  wglMakeCurrent(dc, maker);
  glbinding::Binding::useCurrentContext();
  glDeleteTextures(1, &texture);
  return visible;
}

TEST_F(WglLayerTest, ShareListsJoinsTheShareGroupAfterCreation) {
  TestWindow window("WglLayerTest_share");
  const HGLRC root = window.MakeLegacyContextCurrent();
  const HGLRC joining = CreateCore33(window.Dc());
  ASSERT_NE(joining, nullptr);
  EXPECT_FALSE(TextureVisibleIn(window.Dc(), root, joining));

  // Joined while current on this thread: the same handle stays current.
  ASSERT_EQ(wglMakeCurrent(window.Dc(), joining), TRUE);
  ASSERT_EQ(wglShareLists(root, joining), TRUE);
  EXPECT_EQ(wglGetCurrentContext(), joining);
  EXPECT_TRUE(TextureVisibleIn(window.Dc(), root, joining));
  EXPECT_TRUE(TextureVisibleIn(window.Dc(), joining, root));

  EXPECT_EQ(wglShareLists(root, nullptr), FALSE);
  EXPECT_EQ(wglShareLists(root, root), FALSE);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(joining);
  wglDeleteContext(root);
}

// glbinding must see one handle per context on every thread, the WGL handle.
TEST_F(WglLayerTest, GlbindingSeesTheWglContextOnEveryThread) {
  TestWindow window("WglLayerTest_glbinding");
  const HGLRC root = window.MakeLegacyContextCurrent();
  const HGLRC first = CreateCore33(window.Dc(), root);
  const HGLRC second = CreateCore33(window.Dc(), root);
  wglMakeCurrent(nullptr, nullptr);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  struct Seen {
    glbinding::ContextHandle handle = 0;
    GLint major = 0;
  };
  const auto renderOn = [&](HGLRC context, Seen& seen) {
    wglMakeCurrent(window.Dc(), context);
    glbinding::Binding::initialize(false);
    seen.handle = glbinding::getCurrentContext();
    glGetIntegerv(GL_MAJOR_VERSION, &seen.major);  // aborts without glbinding state
    wglMakeCurrent(nullptr, nullptr);
  };
  Seen onFirst;
  Seen onSecond;
  std::thread a([&] { renderOn(first, onFirst); });
  a.join();
  std::thread b([&] { renderOn(second, onSecond); });
  b.join();
  EXPECT_EQ(onFirst.handle, reinterpret_cast<glbinding::ContextHandle>(first));
  EXPECT_EQ(onSecond.handle, reinterpret_cast<glbinding::ContextHandle>(second));
  EXPECT_GE(onFirst.major, 3);
  EXPECT_GE(onSecond.major, 3);
  wglDeleteContext(first);
  wglDeleteContext(second);
  wglDeleteContext(root);
}

TEST_F(WglLayerTest, InjectedFaultHitsTheNthCallOnly) {
  TestWindow window("WglLayerTest_nth");
  PIXELFORMATDESCRIPTOR descriptor;
  std::memset(&descriptor, 0, sizeof(descriptor));
  descriptor.nSize = sizeof(descriptor);
  descriptor.dwFlags = PFD_SUPPORT_OPENGL;
  const long before = WglFaults::CallCount(WglFaults::Call::ChoosePixelFormat);
  WglFaults::FailCall(WglFaults::Call::ChoosePixelFormat, 2);
  EXPECT_EQ(ChoosePixelFormat(window.Dc(), &descriptor), 1);
  EXPECT_EQ(ChoosePixelFormat(window.Dc(), &descriptor), 0);
  EXPECT_EQ(ChoosePixelFormat(window.Dc(), &descriptor), 1);
  EXPECT_EQ(WglFaults::CallCount(WglFaults::Call::ChoosePixelFormat), before + 3);
}

}  // namespace
}  // namespace Orvane::Lumisk
