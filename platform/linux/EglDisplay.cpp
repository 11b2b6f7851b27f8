#include "platform/linux/EglDisplay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/linux/EglDisplayChoice.h"

namespace Orvane::Lumisk::Win32Layer {
namespace {

constexpr const char* kPlatformVariable = "LUMISK_EGL_PLATFORM";

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

// glGetString through EGL: the layer links no GL library of its own.
std::string RendererOfCurrentContext() {
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  const auto getString = reinterpret_cast<GetString>(eglGetProcAddress("glGetString"));
  const unsigned char* renderer = getString != nullptr ? getString(kGlRenderer) : nullptr;
  return renderer != nullptr ? reinterpret_cast<const char*>(renderer) : "";
}

EGLDisplay SurfacelessDisplay() {
  if (!HasExtension(ClientExtensions(), "EGL_MESA_platform_surfaceless")) {
    return EGL_NO_DISPLAY;
  }
  return Initialized(eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
}

// The GL_RENDERER of the context the module asks for, made on the display
// without a config or a surface, as the layer makes every context; none when
// the display cannot make it current.
std::optional<std::string> CoreContextRenderer(EGLDisplay display) {
  if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
    return std::nullopt;
  }
  const EGLint attributes[] = {
      EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  const EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    return std::nullopt;
  }
  std::optional<std::string> renderer;
  if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE) {
    renderer = RendererOfCurrentContext();
  }
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, context);
  return renderer;
}

// A display that made the module's context, with what it is.
struct Offered {
  EGLDisplay display;
  EglCandidate candidate;
};

void Offer(std::vector<Offered>& offered, EGLDisplay display, EglPlatform platform) {
  if (display == EGL_NO_DISPLAY) {
    return;
  }
  if (const std::optional<std::string> renderer = CoreContextRenderer(display)) {
    offered.push_back({display, {platform, *renderer}});
  } else {
    eglTerminate(display);
  }
}

// Every device of EGL's device platform that makes the module's context.
void OfferDevices(std::vector<Offered>& offered) {
  if (!HasExtension(ClientExtensions(), "EGL_EXT_platform_device")) {
    return;
  }
  const auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  EGLint count = 0;
  if (queryDevices == nullptr || queryDevices(0, nullptr, &count) != EGL_TRUE || count <= 0) {
    return;
  }
  std::vector<EGLDeviceEXT> devices(static_cast<std::size_t>(count));
  if (queryDevices(count, devices.data(), &count) != EGL_TRUE) {
    return;
  }
  devices.resize(static_cast<std::size_t>(count));
  for (const EGLDeviceEXT device : devices) {
    Offer(offered, Initialized(eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr)), EglPlatform::Device);
  }
}

EGLDisplay ChooseDisplay() {
  const char* requested = std::getenv(kPlatformVariable);
  const EglPlatformRequest request = ParseEglPlatformRequest(requested);
  if (!request.valid) {
    std::fprintf(stderr, "%s=\"%s\" is not a platform: give %s, or leave it unset\n", kPlatformVariable, requested,
                 kEglPlatformValues);
    return EGL_NO_DISPLAY;
  }
  std::vector<Offered> offered;
  if (request.forced != EglPlatform::Device) {
    Offer(offered, SurfacelessDisplay(), EglPlatform::Surfaceless);
  }
  // The devices are probed only when they could win: nothing beats a hardware
  // surfaceless display.
  const bool surfacelessOnHardware = !offered.empty() && !IsSoftwareRenderer(offered.front().candidate.renderer);
  if (request.forced != EglPlatform::Surfaceless && !surfacelessOnHardware) {
    OfferDevices(offered);
  }
  std::vector<EglCandidate> candidates;
  for (const Offered& one : offered) {
    candidates.push_back(one.candidate);
  }
  const std::optional<std::size_t> chosen = ChooseEglCandidate(candidates, request.forced);
  for (std::size_t i = 0; i < offered.size(); ++i) {
    if (i != chosen) {
      eglTerminate(offered[i].display);
    }
  }
  return chosen ? offered[*chosen].display : EGL_NO_DISPLAY;
}

}  // namespace

EGLDisplay Display() {
  static const EGLDisplay display = ChooseDisplay();
  return display;
}

}  // namespace Orvane::Lumisk::Win32Layer
