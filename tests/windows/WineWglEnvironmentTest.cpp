// Checks that the Wine session gives what the module's WGL path relies on,
// with plain Win32 calls and none of the module's code.
#include <windows.h>

#include <array>
#include <cstring>
#include <thread>

#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>
#include <gtest/gtest.h>

using namespace gl33core;

namespace {

using GetExtensionsStringArb = const char*(WINAPI*)(HDC);
using CreateContextAttribsArb = HGLRC(WINAPI*)(HDC, HGLRC, const int*);

constexpr int kContextMajorVersionArb = 0x2091;
constexpr int kContextMinorVersionArb = 0x2092;
constexpr int kContextProfileMaskArb = 0x9126;
constexpr int kContextCoreProfileBitArb = 0x0001;

// A hidden window with a pixel format and a legacy context current on it,
// which is what wglGetProcAddress needs to hand out the ARB entry points.
class HiddenGlWindow {
public:
  HiddenGlWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
    hiddenWindow = CreateWindowExA(0, kClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 32, 32, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
    if (hiddenWindow == nullptr) {
      return;
    }
    deviceContext = GetDC(hiddenWindow);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &format), &format);
    legacyContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, legacyContext);
  }
  ~HiddenGlWindow() {
    wglMakeCurrent(nullptr, nullptr);
    if (legacyContext != nullptr) {
      wglDeleteContext(legacyContext);
    }
    if (hiddenWindow != nullptr) {
      ReleaseDC(hiddenWindow, deviceContext);
      DestroyWindow(hiddenWindow);
    }
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
  }
  HiddenGlWindow(const HiddenGlWindow&) = delete;
  HiddenGlWindow& operator=(const HiddenGlWindow&) = delete;

  HWND window() const { return hiddenWindow; }
  HDC dc() const { return deviceContext; }
  HGLRC legacy() const { return legacyContext; }

  HGLRC createCore33(HGLRC shareWith) const {
    const auto create = reinterpret_cast<CreateContextAttribsArb>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    if (create == nullptr) {
      return nullptr;
    }
    const std::array<int, 7> attributes{
        kContextMajorVersionArb, 3, kContextMinorVersionArb, 3, kContextProfileMaskArb, kContextCoreProfileBitArb, 0};
    return create(deviceContext, shareWith, attributes.data());
  }

private:
  static constexpr const char* kClassName = "LumiskWineEnvironment";
  HWND hiddenWindow = nullptr;
  HDC deviceContext = nullptr;
  HGLRC legacyContext = nullptr;
};

// Clears a float colour attachment to a value no 8-bit format can hold and
// reads it back through the current context.
std::array<float, 4> clearAndReadFloatPixel() {
  GLuint texture = 0;
  GLuint framebuffer = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 4, 4, 0, GL_RGBA, GL_FLOAT, nullptr);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  glClearColor(0.125f, -0.5f, 3.75f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  std::array<float, 4> pixel{};
  glReadPixels(1, 2, 1, 1, GL_RGBA, GL_FLOAT, pixel.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &texture);
  return pixel;
}

TEST(WineWglEnvironment, HiddenWindowGetsLegacyContextAndArbExtensions) {
  HiddenGlWindow window;
  ASSERT_NE(window.window(), nullptr) << "no X display for Wine?";
  ASSERT_NE(window.legacy(), nullptr);
  const auto extensions =
      reinterpret_cast<GetExtensionsStringArb>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringARB")));
  ASSERT_NE(extensions, nullptr);
  EXPECT_NE(std::strstr(extensions(window.dc()), "WGL_ARB_create_context"), nullptr);
}

TEST(WineWglEnvironment, CoreContextOnSecondThreadReadsBackFloatsAndSharesLists) {
  HiddenGlWindow window;
  ASSERT_NE(window.legacy(), nullptr);
  const HGLRC core = window.createCore33(window.legacy());
  ASSERT_NE(core, nullptr);

  std::array<float, 4> pixel{};
  GLint major = 0;
  GLuint sharedTexture = 0;
  std::thread renderThread([&] {
    wglMakeCurrent(window.dc(), core);
    glbinding::Binding::initialize(false);
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    pixel = clearAndReadFloatPixel();
    glGenTextures(1, &sharedTexture);
    glBindTexture(GL_TEXTURE_2D, sharedTexture);
    glFinish();
    wglMakeCurrent(nullptr, nullptr);
  });
  renderThread.join();

  wglMakeCurrent(window.dc(), window.legacy());
  glbinding::Binding::initialize(false);
  EXPECT_EQ(glIsTexture(sharedTexture), GL_TRUE) << "lists not shared with the legacy context";
  glDeleteTextures(1, &sharedTexture);
  wglDeleteContext(core);

  EXPECT_GE(major, 3);
  // Exact: a clear stores the float value unchanged in an RGBA32F texture.
  EXPECT_EQ(pixel, (std::array<float, 4>{0.125f, -0.5f, 3.75f, 1.0f}));
}

}  // namespace
