#include "testhost/HostGlContext.h"

#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>

#include <atomic>
#include <stdexcept>

namespace Orvane::Lumisk::TestHost {
namespace {

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

std::string NextClassName() {
  static std::atomic<int> counter{0};
  return "LumiskTestHostWindow" + std::to_string(counter++);
}

}  // namespace

HostGlContext::HostGlContext() : className(NextClassName()) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className.c_str();
  if (!RegisterClassExA(&windowClass)) throw std::runtime_error("test host: cannot register its window class");
  hiddenWindow = CreateWindowExA(0, className.c_str(), "test host", WS_OVERLAPPED, 0, 0, 8, 8, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
  if (hiddenWindow) dc = GetDC(hiddenWindow);
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  if (dc) {
    const int chosen = ChoosePixelFormat(dc, &format);
    if (chosen && SetPixelFormat(dc, chosen, &format)) context = wglCreateContext(dc);
  }
  if (!context) {
    if (dc) ReleaseDC(hiddenWindow, dc);
    if (hiddenWindow) DestroyWindow(hiddenWindow);
    UnregisterClassA(className.c_str(), windowClass.hInstance);
    throw std::runtime_error("test host: cannot make its own GL context");
  }
}

HostGlContext::~HostGlContext() {
  if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
  ReleaseDC(hiddenWindow, dc);
  DestroyWindow(hiddenWindow);
  UnregisterClassA(className.c_str(), GetModuleHandleA(nullptr));
}

void HostGlContext::MakeCurrent() {
  wglMakeCurrent(dc, context);
}

bool HostGlContext::IsCurrent() const {
  return wglGetCurrentContext() == context && wglGetCurrentDC() == dc;
}

int HostGlContext::MaxTextureSize() {
  const HDC previousDc = wglGetCurrentDC();
  const HGLRC previousContext = wglGetCurrentContext();
  MakeCurrent();
  // glbinding keeps its entry points per context: initialise it for ours, and
  // switch to it also when glbinding knew it already (initialize does not).
  glbinding::Binding::initialize(false);
  glbinding::Binding::useCurrentContext();
  gl::GLint size = 0;
  gl::glGetIntegerv(gl::GL_MAX_TEXTURE_SIZE, &size);
  wglMakeCurrent(previousDc, previousContext);
  return size;
}

}  // namespace Orvane::Lumisk::TestHost
