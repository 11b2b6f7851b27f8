#include "gl/HostContextGuard.h"

namespace Orvane::Lumisk {

HostContextGuard::HostContextGuard() : context(wglGetCurrentContext()) {
  dc = wglGetCurrentDC();
}

HostContextGuard::~HostContextGuard() {
  Restore();
}

void HostContextGuard::Restore() {
  if (restored) {
    return;
  }
  // Context first: it is the cheaper and the more telling comparison.
  if (wglGetCurrentContext() != context || wglGetCurrentDC() != dc) {
    wglMakeCurrent(dc, context);  // a failure leaves the host as the GL left it
  }
  restored = true;
}

}  // namespace Orvane::Lumisk
