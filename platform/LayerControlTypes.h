#pragma once
// What the Win32/WGL layer over EGL lets a test control and read back: the
// entry points that can be counted and made to fail, the extension strings it
// can report, and the arguments it records of some calls. The test controls of
// the Windows build count and fail the same calls of the system's WGL.

#include <array>
#include <cstddef>
#include <string>

#include "platform/WglApi.h"

namespace Orvane::Lumisk::Win32Layer {

// Entry points of the layer that can be counted and made to fail.
enum class Call {
  RegisterClassExA,
  UnregisterClassA,
  CreateWindowExA,
  DestroyWindow,
  GetDC,
  ReleaseDC,
  ChoosePixelFormat,
  SetPixelFormat,
  wglCreateContext,
  wglCreateContextAttribsARB,
  wglMakeCurrent,
  wglDeleteContext,
  wglShareLists,
  wglGetProcAddress,
  wglGetExtensionsStringARB,
  Count
};

// Calls counted since the last reset and, per call, the countdown to an
// injected fault: 0 for none, n when the nth call from the setting fails.
struct CallFaults {
  std::array<long, static_cast<std::size_t>(Call::Count)> callCounts{};
  std::array<int, static_cast<std::size_t>(Call::Count)> failCountdown{};

  // Counts one call and tells whether its injected fault makes it fail now.
  bool CountAndFail(Call call) {
    const auto index = static_cast<std::size_t>(call);
    ++callCounts[index];
    int& countdown = failCountdown[index];
    if (countdown == 0) return false;
    return --countdown == 0;
  }
};

// What wglGetExtensionsStringARB reports.
enum class ExtensionString {
  Normal,                   // lists WGL_ARB_create_context among others
  WithoutCreateContext,     // lists neither WGL_ARB_create_context nor a longer name
  OnlyLongerCreateContext,  // lists only WGL_ARB_create_context_profile, a longer name
  Null                      // the call returns a null pointer
};

// RegisterClassExA's record, its two name pointers replaced by the texts.
struct RecordedWindowClass {
  WNDCLASSEXA fields{};  // lpszMenuName and lpszClassName null
  bool hasMenuName = false;
  std::string menuName;
  std::string className;
};

// CreateWindowExA's arguments, the two text pointers replaced by the texts.
struct RecordedWindow {
  DWORD exStyle = 0;
  std::string className;
  bool hasTitle = false;
  std::string title;
  DWORD style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  HMENU menu = nullptr;
  HINSTANCE instance = nullptr;
  LPVOID param = nullptr;
};

}  // namespace Orvane::Lumisk::Win32Layer
