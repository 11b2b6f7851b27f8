#pragma once

#include "platform/WglApi.h"

namespace Orvane::Lumisk {

// Remembers the WGL context and device context current when made, and makes
// them current again once: at Restore or at destruction (also when an
// exception passes), and only when they are not current already. It does not
// tell glbinding: the module's next GL work begins with MakeCurrent.
class HostContextGuard {
public:
  HostContextGuard();
  ~HostContextGuard();

  HostContextGuard(const HostContextGuard&) = delete;
  HostContextGuard& operator=(const HostContextGuard&) = delete;

  void Restore();

private:
  bool restored = false;
  HDC dc = nullptr;
  HGLRC context = nullptr;
};

}  // namespace Orvane::Lumisk
