#include "host/HiddenGlWindow.h"

#include <stdexcept>

namespace Orvane::Lumisk::HeadlessHost {

HiddenGlWindow::HiddenGlWindow(const std::string& className) : windowClassName(className) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = windowClassName.c_str();
  if (RegisterClassExA(&windowClass) == 0) {
    throw std::runtime_error("cannot register the window class " + windowClassName);
  }
  window = CreateWindowExA(0, windowClassName.c_str(), "", WS_OVERLAPPED, 0, 0, 16, 16, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
  if (window == nullptr) {
    Release();
    throw std::runtime_error("cannot create a hidden window of " + windowClassName);
  }
  dc = GetDC(window);
  if (dc == nullptr) {
    Release();
    throw std::runtime_error("cannot get the device context of the window of " + windowClassName);
  }
  PIXELFORMATDESCRIPTOR descriptor{};
  descriptor.nSize = sizeof descriptor;
  descriptor.nVersion = 1;
  descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = 32;
  const int chosen = ChoosePixelFormat(dc, &descriptor);
  if (chosen == 0 || SetPixelFormat(dc, chosen, &descriptor) == FALSE) {
    Release();
    throw std::runtime_error("cannot set the pixel format of the window of " + windowClassName);
  }
}

HiddenGlWindow::~HiddenGlWindow() {
  Release();
}

void HiddenGlWindow::Release() {
  if (dc != nullptr) ReleaseDC(window, dc);
  if (window != nullptr) DestroyWindow(window);
  UnregisterClassA(windowClassName.c_str(), GetModuleHandleA(nullptr));
  dc = nullptr;
  window = nullptr;
}

HDC HiddenGlWindow::ReacquireDc() {
  ReleaseDC(window, dc);
  dc = GetDC(window);
  return dc;
}

HGLRC HiddenGlWindow::MakeLegacyContext() const {
  return wglCreateContext(dc);
}

}  // namespace Orvane::Lumisk::HeadlessHost
