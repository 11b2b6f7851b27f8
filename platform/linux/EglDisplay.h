#pragma once
// The EGL display every GL context of the layer lives on, from Mesa's
// surfaceless platform and EGL's device platform (EGL_EXT_platform_device,
// which a GPU vendor's EGL offers instead), among the displays that make an
// OpenGL 3.3 core context: surfaceless unless its renderer is a software one
// and a device's is not (EglDisplayChoice.h). LUMISK_EGL_PLATFORM=surfaceless
// or =device in the environment takes that platform (Mesa offers both), so
// either road can be tried on any machine; another value is refused on
// standard error and gives no display. Internal to liblumisk_win32.

#include <EGL/egl.h>

namespace Orvane::Lumisk::Win32Layer {

// Made once, never terminated: contexts may outlive every user.
// EGL_NO_DISPLAY when neither platform gives one.
EGLDisplay Display();

}  // namespace Orvane::Lumisk::Win32Layer
