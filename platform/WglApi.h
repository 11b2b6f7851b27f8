#pragma once
// The one place that chooses where the Win32 windowing, GDI and WGL calls come
// from: the system headers on Windows, our own layer over EGL elsewhere.
// Everything in gl/ includes only this header for them.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/linux/Win32Declarations.h"
#endif

// The two WGL extension entry points are not declared by the system headers;
// these names and tokens are ours on every platform.
using WglGetExtensionsStringArbProc = const char*(WINAPI*)(HDC hdc);
using WglCreateContextAttribsArbProc = HGLRC(WINAPI*)(HDC hdc, HGLRC shareContext, const int* attributes);

#ifndef WGL_CONTEXT_MAJOR_VERSION_ARB
#define WGL_CONTEXT_MAJOR_VERSION_ARB 0x2091
#define WGL_CONTEXT_MINOR_VERSION_ARB 0x2092
#define WGL_CONTEXT_LAYER_PLANE_ARB 0x2093
#define WGL_CONTEXT_FLAGS_ARB 0x2094
#define WGL_CONTEXT_PROFILE_MASK_ARB 0x9126
#define WGL_CONTEXT_CORE_PROFILE_BIT_ARB 0x00000001
#define WGL_CONTEXT_COMPATIBILITY_PROFILE_BIT_ARB 0x00000002
#endif

// Converts between an entry point's own type and the untyped PROC of
// wglGetProcAddress (through void(*)(), the conversion compilers accept).
template <typename To, typename From>
To WglProcCast(From proc) {
  return reinterpret_cast<To>(reinterpret_cast<void (*)()>(proc));
}
