#pragma once

#include <set>
#include <string>

#include <glbinding/gl/extension.h>

#include "platform/WglApi.h"

namespace Orvane::Lumisk {

// A hidden 8 x 8 window of its own window class, its device context and one
// WGL context. With no share partner it is a root context made the legacy
// way (which also looks up the WGL extension entry points for the process);
// with one it is an OpenGL 3.3 context joined to the partner's share group.
// On return from the constructor the new context is current on the calling
// thread and glbinding uses it. Every failure throws AESDK_OpenGL_Fault(1)
// after releasing what the construction had made.
class AEOpenGLContext {
public:
  explicit AEOpenGLContext(AEOpenGLContext* shareWith);
  // Leaves no context current on the calling thread, deletes the context,
  // releases the device context, destroys the window and unregisters its
  // class. Never throws.
  virtual ~AEOpenGLContext();

  AEOpenGLContext(const AEOpenGLContext&) = delete;
  AEOpenGLContext& operator=(const AEOpenGLContext&) = delete;

  // Makes this context current on the calling thread and points glbinding
  // at it; then deletes framebuffers and vertex arrays that were released
  // while another context was current (PerContextObjects).
  void MakeCurrent();

  HGLRC GlContext() const { return hglrc; }
  HDC DeviceContext() const { return hdc; }
  HWND Window() const { return hwnd; }
  const std::string& WindowClassName() const { return windowClassName; }
  const std::set<gl::GLextension>& Extensions() const { return extensions; }

private:
  HWND CreateHiddenWindow(std::string& name);
  HGLRC CreateWglContext(HDC dc, HGLRC shareWith);
  void PrintContextInfo();
  // Releases whatever exists, in the destructor's order.
  void ReleaseAll() noexcept;

  HDC hdc = nullptr;
  HGLRC hglrc = nullptr;
  HWND hwnd = nullptr;
  std::string windowClassName;
  std::set<gl::GLextension> extensions;
};

}  // namespace Orvane::Lumisk
