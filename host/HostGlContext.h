// The host's own OpenGL context, as a real host keeps one current while it
// calls an effect: a legacy wglCreateContext context on a hidden window of its
// own, through the same WGL layer the module uses (one process-wide WGL
// state). The module must leave it current after every command that touches
// GL; IsCurrent tells whether it did.
#pragma once

#include "host/HiddenGlWindow.h"
#include "platform/WglApi.h"

namespace Orvane::Lumisk::HeadlessHost {

class HostGlContext {
public:
  // Throws std::runtime_error when the window or the context cannot be made.
  HostGlContext();
  // Leaves nothing current if it is current, then deletes what it made.
  ~HostGlContext();

  HostGlContext(const HostGlContext&) = delete;
  HostGlContext& operator=(const HostGlContext&) = delete;

  // Makes the host context current on the calling thread.
  void MakeCurrent();
  // True when this context and its device context are current on the calling thread.
  bool IsCurrent() const;

  HDC Dc() const { return window.Dc(); }
  HGLRC Context() const { return context; }

  // GL_MAX_TEXTURE_SIZE of the driver, asked in this context (made current
  // for the question; the previous context is made current again).
  int MaxTextureSize();

private:
  HiddenGlWindow window;
  HGLRC context = nullptr;
};

}  // namespace Orvane::Lumisk::HeadlessHost
