#include "host/HostGlContext.h"

#include <atomic>
#include <stdexcept>
#include <string>

#include <glbinding/Binding.h>
#include <glbinding/gl33core/gl.h>

namespace Orvane::Lumisk::HeadlessHost {
namespace {

std::string NextClassName() {
  static std::atomic<int> counter{0};
  return "LumiskHostWindow" + std::to_string(counter++);
}

}  // namespace

HostGlContext::HostGlContext() : window(NextClassName()), context(window.MakeLegacyContext()) {
  if (context == nullptr) throw std::runtime_error("host: cannot make its own GL context");
}

HostGlContext::~HostGlContext() {
  if (wglGetCurrentContext() == context) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
}

void HostGlContext::MakeCurrent() {
  wglMakeCurrent(window.Dc(), context);
}

bool HostGlContext::IsCurrent() const {
  return wglGetCurrentContext() == context && wglGetCurrentDC() == window.Dc();
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

}  // namespace Orvane::Lumisk::HeadlessHost
