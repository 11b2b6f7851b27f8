#pragma once
// The EGL display every GL context of the layer lives on: Mesa's surfaceless
// platform when the EGL offers it, else EGL's device platform
// (EGL_EXT_platform_device), which a GPU vendor's EGL offers instead, on the
// first device that makes an OpenGL 3.3 core context. LUMISK_EGL_PLATFORM=device
// in the environment takes the device platform straight away (Mesa offers
// both), so that road can be tried on any machine. Internal to liblumisk_win32.

#include <EGL/egl.h>

namespace Orvane::Lumisk::Win32Layer {

// Made once, never terminated: contexts may outlive every user.
// EGL_NO_DISPLAY when neither platform gives one.
EGLDisplay Display();

}  // namespace Orvane::Lumisk::Win32Layer
