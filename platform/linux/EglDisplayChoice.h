#pragma once
// Which EGL display the layer's contexts live on, chosen from the displays
// that made an OpenGL 3.3 core context, by the renderer each one named. A
// machine with a GPU may offer Mesa's surfaceless platform on llvmpipe beside
// the GPU's own device: a hardware renderer wins over a software one, and the
// surfaceless platform over the device one between equals.
// LUMISK_EGL_PLATFORM=surfaceless|device takes that platform whatever its
// renderer. Pure functions, without EGL. Internal to liblumisk_win32.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/SoftwareRenderer.h"

namespace Orvane::Lumisk::Win32Layer {

enum class EglPlatform { Surfaceless, Device };

// A display that made the module's context, and the GL_RENDERER it named.
struct EglCandidate {
  EglPlatform platform;
  std::string renderer;
};

// What LUMISK_EGL_PLATFORM asks for: unset or empty forces nothing;
// "surfaceless" or "device" force that platform; any other value is refused.
struct EglPlatformRequest {
  bool valid = true;
  std::optional<EglPlatform> forced;
};
EglPlatformRequest ParseEglPlatformRequest(const char* value);

// The values LUMISK_EGL_PLATFORM takes, for a message that refuses another.
extern const char* const kEglPlatformValues;

// The index of the candidate to take, or none. A forced platform takes its
// first hardware candidate, else its first one; otherwise the first hardware
// candidate, surfaceless before device, else the first one the same way.
std::optional<std::size_t> ChooseEglCandidate(const std::vector<EglCandidate>& candidates,
                                              std::optional<EglPlatform> forced);

}  // namespace Orvane::Lumisk::Win32Layer
