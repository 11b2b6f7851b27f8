#pragma once
// Process-wide state of the Win32/WGL layer: window classes, windows, device
// contexts and GL contexts by handle, the calling thread's current context and
// last error, and what tests control and read back. Internal to liblumisk_win32
// but for State(), which the library exports for the test programs' fault
// controls.

#include <array>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <EGL/egl.h>

#include "platform/LayerControlTypes.h"
#include "platform/WglApi.h"

namespace Orvane::Lumisk::Win32Layer {

struct WindowClassRecord {
  int windowCount = 0;
};

struct WindowRecord {
  std::string className;
  int pixelFormat = 0;
  HDC dc = nullptr;  // null while no GetDC is outstanding
  int dcReferences = 0;
};

// What a GL context was asked for, so that it can be made again with a share
// partner (EGL shares only at creation).
struct ContextRequest {
  int major = 0;  // 0: the driver's choice (legacy creation)
  int minor = 0;
  EGLint profileMask = 0;
  bool debug = false;
  bool forwardCompatible = false;
};

struct ContextRecord {
  EGLContext egl = EGL_NO_CONTEXT;
  ContextRequest request;
  bool current = false;
  std::thread::id currentThread;
};

struct LayerState : CallFaults {
  std::mutex mutex;
  std::map<std::string, WindowClassRecord> classes;
  std::map<HWND, WindowRecord> windows;
  std::map<HDC, HWND> deviceContexts;
  std::map<HGLRC, ContextRecord> contexts;
  std::vector<std::string> registeredClassNames;
  std::uintptr_t nextHandle = 0x10000;
  ATOM nextAtom = 0xC000;

  std::vector<std::string> failingProcNames;
  ExtensionString extensionString = ExtensionString::Normal;
  bool reuseDeletedContextHandles = false;
  std::vector<HGLRC> deletedContextHandles;  // while reuse is on, latest last

  // The latest arguments of these calls, for tests.
  RecordedWindowClass lastWindowClass;
  RecordedWindow lastWindow;
  PIXELFORMATDESCRIPTOR lastChosenPixelFormat{};
  PIXELFORMATDESCRIPTOR lastSetPixelFormat{};
  std::vector<int> lastContextAttributes;

  template <typename Handle>
  Handle NewHandle() {
    // Handles are never reused (but for the test control above), so a
    // stale one can never name a new object.
    nextHandle += 0x10;
    return reinterpret_cast<Handle>(nextHandle);
  }
};

__attribute__((visibility("default"))) LayerState& State();

// Counts a call and tells whether an injected fault makes it fail.
// The caller holds State().mutex.
bool CallFails(LayerState& state, Call call);

void SetLastErrorCode(DWORD code);

// The calling thread's current context and device context.
HGLRC CurrentContext();
HDC CurrentDc();
void SetCurrent(HDC dc, HGLRC context);

// The window of a device context, null when the DC is not valid.
// The caller holds State().mutex.
WindowRecord* WindowOfDc(LayerState& state, HDC dc);

}  // namespace Orvane::Lumisk::Win32Layer
