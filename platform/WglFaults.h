#pragma once
// Test-only controls of the Win32/WGL layer over EGL: make a chosen call fail,
// choose the WGL extension string the driver reports, reuse deleted context
// handles, count calls and live objects. Nothing in the module uses this
// header; tests do.

#include "platform/WglApi.h"

#include <string>
#include <vector>

#ifdef _WIN32
#define LUMISK_WGL_FAULTS_API
#else
#define LUMISK_WGL_FAULTS_API __attribute__((visibility("default")))
#endif

namespace Orvane::Lumisk::WglFaults {

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

// What wglGetExtensionsStringARB reports.
enum class ExtensionString {
    Normal,                 // lists WGL_ARB_create_context among others
    WithoutCreateContext,   // lists neither WGL_ARB_create_context nor a longer name
    OnlyLongerCreateContext,// lists only WGL_ARB_create_context_profile, a longer name
    Null                    // the call returns a null pointer
};

// The nth call of `call` from now on (1 = the next one) fails as the real
// call would fail; later calls succeed again. One pending fault per call.
LUMISK_WGL_FAULTS_API void FailCall(Call call, int nth = 1);

// wglGetProcAddress(name) answers null until Reset.
LUMISK_WGL_FAULTS_API void FailProcAddress(const std::string& name);

LUMISK_WGL_FAULTS_API void SetExtensionString(ExtensionString variant);

// While on, wglCreateContext and wglCreateContextAttribsARB hand out again the
// value of the context deleted last (deleted while on), as the system's
// opengl32 may. False where the layer cannot do it (the real WGL on Windows).
LUMISK_WGL_FAULTS_API bool ReuseDeletedContextHandles(bool reuse);

// Calls made since the last Reset (successful or not), process-wide.
LUMISK_WGL_FAULTS_API long CallCount(Call call);

// Clears every fault and counter, restores the normal extension string and
// turns handle reuse off.
// Live objects and the class-name history are kept.
LUMISK_WGL_FAULTS_API void Reset();

// Objects that exist right now, for leak checks.
struct LiveObjects {
    int windowClasses = 0;
    int windows = 0;
    int deviceContexts = 0;  // obtained with GetDC and not released
    int glContexts = 0;
};
LUMISK_WGL_FAULTS_API LiveObjects CountLiveObjects();

// Every class name registered successfully in this process, in order.
LUMISK_WGL_FAULTS_API std::vector<std::string> RegisteredClassNames();

// True while the window exists.
LUMISK_WGL_FAULTS_API bool WindowExists(HWND window);

#ifndef _WIN32
// The arguments of the latest calls, as the layer over EGL received them (the
// real WGL on Windows keeps no such record), so that tests can pin what the
// module asks for.

// RegisterClassExA's record, its two name pointers replaced by the texts.
struct RecordedWindowClass {
    WNDCLASSEXA fields{};  // lpszMenuName and lpszClassName null
    bool hasMenuName = false;
    std::string menuName;
    std::string className;
};
LUMISK_WGL_FAULTS_API RecordedWindowClass LastWindowClass();

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
LUMISK_WGL_FAULTS_API RecordedWindow LastCreateWindow();

// The descriptors handed to ChoosePixelFormat and SetPixelFormat.
LUMISK_WGL_FAULTS_API PIXELFORMATDESCRIPTOR LastChosenPixelFormat();
LUMISK_WGL_FAULTS_API PIXELFORMATDESCRIPTOR LastSetPixelFormat();

// wglCreateContextAttribsARB's attribute list up to and including the 0 that
// ends it; empty for a null list.
LUMISK_WGL_FAULTS_API std::vector<int> LastContextAttributes();
#endif

}  // namespace Orvane::Lumisk::WglFaults
