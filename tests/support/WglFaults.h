#pragma once
// Test-only controls of the Win32/WGL calls (the layer over EGL on Linux, the
// system's through the test program's imports on Windows): make a chosen call fail,
// choose the WGL extension string the driver reports, reuse deleted context
// handles, count calls and live objects. Nothing in the module uses this
// header; tests do.

#include <string>
#include <vector>

#include "platform/LayerControlTypes.h"
#include "platform/WglApi.h"

namespace Orvane::Lumisk::WglFaults {

// The calls the layer names, and the extension strings it can report; the
// Windows controls count and fail the same calls of the system's WGL.
using Call = Win32Layer::Call;
using ExtensionString = Win32Layer::ExtensionString;

// The nth call of `call` from now on (1 = the next one) fails as the real
// call would fail; later calls succeed again. One pending fault per call.
void FailCall(Call call, int nth = 1);

// wglGetProcAddress(name) answers null until Reset.
void FailProcAddress(const std::string& name);

void SetExtensionString(ExtensionString variant);

// While on, wglCreateContext and wglCreateContextAttribsARB hand out again the
// value of the context deleted last (deleted while on), as the system's
// opengl32 may. False where the layer cannot do it (the real WGL on Windows).
bool ReuseDeletedContextHandles(bool reuse);

// Calls made since the last Reset (successful or not), process-wide.
long CallCount(Call call);

// Clears every fault and counter, restores the normal extension string and
// turns handle reuse off.
// Live objects and the class-name history are kept.
void Reset();

// Objects that exist right now, for leak checks.
struct LiveObjects {
  int windowClasses = 0;
  int windows = 0;
  int deviceContexts = 0;  // obtained with GetDC and not released
  int glContexts = 0;
};
LiveObjects CountLiveObjects();

// Every class name registered successfully in this process, in order.
std::vector<std::string> RegisteredClassNames();

// True while the window exists.
bool WindowExists(HWND window);

#ifndef _WIN32
// The arguments of the latest calls, as the layer over EGL received them (the
// real WGL on Windows keeps no such record), so that tests can pin what the
// module asks for.

using RecordedWindowClass = Win32Layer::RecordedWindowClass;
RecordedWindowClass LastWindowClass();

using RecordedWindow = Win32Layer::RecordedWindow;
RecordedWindow LastCreateWindow();

// The descriptors handed to ChoosePixelFormat and SetPixelFormat.
PIXELFORMATDESCRIPTOR LastChosenPixelFormat();
PIXELFORMATDESCRIPTOR LastSetPixelFormat();

// wglCreateContextAttribsARB's attribute list up to and including the 0 that
// ends it; empty for a null list.
std::vector<int> LastContextAttributes();
#endif

}  // namespace Orvane::Lumisk::WglFaults
