// A window class of its own, one hidden window of it and the window's device
// context with an RGBA pixel format set, through the same WGL layer the
// module uses: what a legacy GL context is made on. Both the host's own GL
// context and the tests' windows are made this way.
#pragma once

#include <string>

#include "platform/WglApi.h"

namespace Orvane::Lumisk::HeadlessHost {

class HiddenGlWindow {
public:
  // Throws std::runtime_error naming the step that failed (the class, the
  // window, its device context, its pixel format), having released what the
  // earlier steps made.
  explicit HiddenGlWindow(const std::string& className);
  ~HiddenGlWindow();

  HiddenGlWindow(const HiddenGlWindow&) = delete;
  HiddenGlWindow& operator=(const HiddenGlWindow&) = delete;

  HWND Window() const { return window; }
  HDC Dc() const { return dc; }
  // Releases the device context and gets the window's again.
  HDC ReacquireDc();
  // A new legacy context (wglCreateContext) on the device context, not made
  // current; null when the layer refuses one. The caller deletes it.
  HGLRC MakeLegacyContext() const;

private:
  void Release();

  std::string windowClassName;
  HWND window = nullptr;
  HDC dc = nullptr;
};

}  // namespace Orvane::Lumisk::HeadlessHost
