#include "platform/linux/EglDisplay.h"

#include <EGL/eglext.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace Orvane::Lumisk::Win32Layer {
namespace {

constexpr const char* kPlatformVariable = "LUMISK_EGL_PLATFORM";

bool DevicePlatformForced() {
  const char* chosen = std::getenv(kPlatformVariable);
  return chosen != nullptr && std::strcmp(chosen, "device") == 0;
}

// Whether the space-separated extension list holds `name` as a whole word.
bool HasExtension(const char* list, const char* name) {
  const std::size_t length = std::strlen(name);
  for (const char* at = list; at != nullptr && (at = std::strstr(at, name)) != nullptr; at += length) {
    const bool starts = at == list || at[-1] == ' ';
    const bool ends = at[length] == '\0' || at[length] == ' ';
    if (starts && ends) {
      return true;
    }
  }
  return false;
}

const char* ClientExtensions() {
  return eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
}

EGLDisplay Initialized(EGLDisplay display) {
  if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE) {
    return EGL_NO_DISPLAY;
  }
  return display;
}

EGLDisplay SurfacelessDisplay() {
  if (!HasExtension(ClientExtensions(), "EGL_MESA_platform_surfaceless")) {
    return EGL_NO_DISPLAY;
  }
  return Initialized(eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
}

// Whether the display makes the context the module asks for, without a
// config or a surface, as the layer makes every context.
bool MakesCoreContext(EGLDisplay display) {
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    return false;
  }
  const EGLint attributes[] = {
      EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  const EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    return false;
  }
  const bool current = eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, context);
  return current;
}

EGLDisplay DeviceDisplay() {
  if (!HasExtension(ClientExtensions(), "EGL_EXT_platform_device")) {
    return EGL_NO_DISPLAY;
  }
  const auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  EGLint count = 0;
  if (queryDevices == nullptr || queryDevices(0, nullptr, &count) != EGL_TRUE || count <= 0) {
    return EGL_NO_DISPLAY;
  }
  std::vector<EGLDeviceEXT> devices(static_cast<std::size_t>(count));
  if (queryDevices(count, devices.data(), &count) != EGL_TRUE) {
    return EGL_NO_DISPLAY;
  }
  devices.resize(static_cast<std::size_t>(count));
  for (const EGLDeviceEXT device : devices) {
    const EGLDisplay display = Initialized(eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr));
    if (display == EGL_NO_DISPLAY) {
      continue;
    }
    if (MakesCoreContext(display)) {
      return display;
    }
    eglTerminate(display);
  }
  return EGL_NO_DISPLAY;
}

}  // namespace

EGLDisplay Display() {
  static const EGLDisplay display = [] {
    if (!DevicePlatformForced()) {
      const EGLDisplay surfaceless = SurfacelessDisplay();
      if (surfaceless != EGL_NO_DISPLAY) {
        return surfaceless;
      }
    }
    return DeviceDisplay();
  }();
  return display;
}

}  // namespace Orvane::Lumisk::Win32Layer
