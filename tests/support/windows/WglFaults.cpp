// The test controls of tests/support/WglFaults.h for a Windows test program: the
// program's own import table entries of the Win32, GDI and WGL calls are
// pointed at counting wrappers when it starts, so the GL runtime linked into
// the program runs on the real system calls while tests count them, make one
// fail and look at the objects alive. A module loaded with LoadLibrary keeps
// its own import table and is never affected.
#include "tests/support/WglFaults.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

#ifndef ERROR_INVALID_VERSION_ARB
#define ERROR_INVALID_VERSION_ARB 0x2095
#endif

namespace Orvane::Lumisk::WglFaults {

namespace {

struct RealCalls {
  decltype(&::RegisterClassExA) registerClassExA = nullptr;
  decltype(&::UnregisterClassA) unregisterClassA = nullptr;
  decltype(&::CreateWindowExA) createWindowExA = nullptr;
  decltype(&::DestroyWindow) destroyWindow = nullptr;
  decltype(&::GetDC) getDC = nullptr;
  decltype(&::ReleaseDC) releaseDC = nullptr;
  decltype(&::ChoosePixelFormat) choosePixelFormat = nullptr;
  decltype(&::SetPixelFormat) setPixelFormat = nullptr;
  decltype(&::wglCreateContext) wglCreateContext = nullptr;
  decltype(&::wglMakeCurrent) wglMakeCurrent = nullptr;
  decltype(&::wglDeleteContext) wglDeleteContext = nullptr;
  decltype(&::wglShareLists) wglShareLists = nullptr;
  decltype(&::wglGetProcAddress) wglGetProcAddress = nullptr;
  WglGetExtensionsStringArbProc wglGetExtensionsStringARB = nullptr;
  WglCreateContextAttribsArbProc wglCreateContextAttribsARB = nullptr;
};

struct FaultState : Win32Layer::CallFaults {
  std::mutex mutex;
  RealCalls real;
  std::vector<std::string> failingProcNames;
  ExtensionString extensionString = ExtensionString::Normal;
  std::string editedExtensions;  // what a changed extension string points at
  std::set<std::string> classes;
  std::vector<std::string> registeredClassNames;
  std::set<HWND> windows;
  std::map<HDC, HWND> deviceContexts;
  std::set<HGLRC> glContexts;
};

FaultState& State() {
  static FaultState state;
  return state;
}

// Counts a call and tells whether an injected fault makes it fail.
bool CallFails(Call call) {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.CountAndFail(call);
}

template <typename Record>
void Locked(Record record) {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  record(state);
}

RealCalls& Real() {
  return State().real;
}

// Every token of `extensions` except those that begin with `prefix`.
std::string WithoutTokensStartingWith(const char* extensions, const std::string& prefix) {
  std::string kept;
  const std::string all = extensions != nullptr ? extensions : "";
  std::size_t at = 0;
  while (at < all.size()) {
    const std::size_t end = std::min(all.find(' ', at), all.size());
    const std::string token = all.substr(at, end - at);
    if (!token.empty() && token.rfind(prefix, 0) != 0) {
      kept += (kept.empty() ? "" : " ") + token;
    }
    at = end + 1;
  }
  return kept;
}

ATOM WINAPI CountedRegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (CallFails(Call::RegisterClassExA)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  const ATOM atom = Real().registerClassExA(windowClass);
  if (atom != 0 && !IS_INTRESOURCE(windowClass->lpszClassName)) {
    Locked([&](FaultState& state) {
      state.classes.insert(windowClass->lpszClassName);
      state.registeredClassNames.emplace_back(windowClass->lpszClassName);
    });
  }
  return atom;
}

BOOL WINAPI CountedUnregisterClassA(LPCSTR className, HINSTANCE instance) {
  if (CallFails(Call::UnregisterClassA)) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  const BOOL done = Real().unregisterClassA(className, instance);
  if (done != FALSE && !IS_INTRESOURCE(className)) {
    Locked([&](FaultState& state) { state.classes.erase(className); });
  }
  return done;
}

HWND WINAPI CountedCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                   int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  if (CallFails(Call::CreateWindowExA)) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  const HWND window =
      Real().createWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, parameter);
  if (window != nullptr) {
    Locked([&](FaultState& state) { state.windows.insert(window); });
  }
  return window;
}

BOOL WINAPI CountedDestroyWindow(HWND window) {
  if (CallFails(Call::DestroyWindow)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return Real().destroyWindow(window);
}

HDC WINAPI CountedGetDC(HWND window) {
  if (CallFails(Call::GetDC)) {
    return nullptr;
  }
  const HDC dc = Real().getDC(window);
  if (dc != nullptr) {
    Locked([&](FaultState& state) { state.deviceContexts[dc] = window; });
  }
  return dc;
}

int WINAPI CountedReleaseDC(HWND window, HDC dc) {
  if (CallFails(Call::ReleaseDC)) {
    return 0;
  }
  const int released = Real().releaseDC(window, dc);
  if (released != 0) {
    Locked([&](FaultState& state) { state.deviceContexts.erase(dc); });
  }
  return released;
}

int WINAPI CountedChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (CallFails(Call::ChoosePixelFormat)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  return Real().choosePixelFormat(dc, descriptor);
}

BOOL WINAPI CountedSetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
  if (CallFails(Call::SetPixelFormat)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  return Real().setPixelFormat(dc, format, descriptor);
}

void NoteContext(HGLRC context) {
  if (context != nullptr) {
    Locked([&](FaultState& state) { state.glContexts.insert(context); });
  }
}

HGLRC WINAPI CountedWglCreateContext(HDC dc) {
  if (CallFails(Call::wglCreateContext)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  const HGLRC context = Real().wglCreateContext(dc);
  NoteContext(context);
  return context;
}

HGLRC WINAPI CountedWglCreateContextAttribsARB(HDC dc, HGLRC shareWith, const int* attributes) {
  if (CallFails(Call::wglCreateContextAttribsARB)) {
    SetLastError(ERROR_INVALID_VERSION_ARB);
    return nullptr;
  }
  const HGLRC context = Real().wglCreateContextAttribsARB(dc, shareWith, attributes);
  NoteContext(context);
  return context;
}

BOOL WINAPI CountedWglDeleteContext(HGLRC context) {
  if (CallFails(Call::wglDeleteContext)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const BOOL deleted = Real().wglDeleteContext(context);
  if (deleted != FALSE) {
    Locked([&](FaultState& state) { state.glContexts.erase(context); });
  }
  return deleted;
}

BOOL WINAPI CountedWglMakeCurrent(HDC dc, HGLRC context) {
  if (CallFails(Call::wglMakeCurrent)) {
    // A failing wglMakeCurrent leaves the thread without a current context.
    Real().wglMakeCurrent(nullptr, nullptr);
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return Real().wglMakeCurrent(dc, context);
}

BOOL WINAPI CountedWglShareLists(HGLRC shareFrom, HGLRC joining) {
  if (CallFails(Call::wglShareLists)) {
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  return Real().wglShareLists(shareFrom, joining);
}

// The answer follows SetExtensionString.
const char* WINAPI CountedWglGetExtensionsStringARB(HDC dc) {
  if (CallFails(Call::wglGetExtensionsStringARB)) {
    return nullptr;
  }
  const char* real = Real().wglGetExtensionsStringARB(dc);
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  switch (state.extensionString) {
    case ExtensionString::Normal:
      return real;
    case ExtensionString::WithoutCreateContext:
      state.editedExtensions = WithoutTokensStartingWith(real, "WGL_ARB_create_context");
      return state.editedExtensions.c_str();
    case ExtensionString::OnlyLongerCreateContext:
      return "WGL_ARB_extensions_string WGL_ARB_create_context_profile";
    case ExtensionString::Null:
      break;
  }
  return nullptr;
}

bool ProcNameFails(LPCSTR name) {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return std::find(state.failingProcNames.begin(), state.failingProcNames.end(), name) != state.failingProcNames.end();
}

// glbinding resolves every GL function through wglGetProcAddress too; only
// the WGL names the runtime itself asks for are counted and can fail, as in
// the layer over EGL, where glbinding resolves elsewhere.
PROC WINAPI CountedWglGetProcAddress(LPCSTR name) {
  if (name == nullptr || std::strncmp(name, "wgl", 3) != 0) {
    return Real().wglGetProcAddress(name);
  }
  if (CallFails(Call::wglGetProcAddress) || ProcNameFails(name)) {
    return nullptr;
  }
  const PROC real = Real().wglGetProcAddress(name);
  if (real == nullptr) {
    return nullptr;
  }
  if (std::strcmp(name, "wglGetExtensionsStringARB") == 0) {
    Real().wglGetExtensionsStringARB = WglProcCast<WglGetExtensionsStringArbProc>(real);
    return WglProcCast<PROC>(&CountedWglGetExtensionsStringARB);
  }
  if (std::strcmp(name, "wglCreateContextAttribsARB") == 0) {
    Real().wglCreateContextAttribsARB = WglProcCast<WglCreateContextAttribsArbProc>(real);
    return WglProcCast<PROC>(&CountedWglCreateContextAttribsARB);
  }
  return real;
}

// One import table entry to redirect: the function's name, where the real
// address is kept, and the wrapper.
struct Redirect {
  const char* name;
  void** real;
  void* wrapper;
};

template <typename Function>
Redirect MakeRedirect(const char* name, Function& real, Function wrapper) {
  return {name, reinterpret_cast<void**>(&real), reinterpret_cast<void*>(wrapper)};
}

std::vector<Redirect> Redirects() {
  RealCalls& real = Real();
  return {
      MakeRedirect("RegisterClassExA", real.registerClassExA, &CountedRegisterClassExA),
      MakeRedirect("UnregisterClassA", real.unregisterClassA, &CountedUnregisterClassA),
      MakeRedirect("CreateWindowExA", real.createWindowExA, &CountedCreateWindowExA),
      MakeRedirect("DestroyWindow", real.destroyWindow, &CountedDestroyWindow),
      MakeRedirect("GetDC", real.getDC, &CountedGetDC),
      MakeRedirect("ReleaseDC", real.releaseDC, &CountedReleaseDC),
      MakeRedirect("ChoosePixelFormat", real.choosePixelFormat, &CountedChoosePixelFormat),
      MakeRedirect("SetPixelFormat", real.setPixelFormat, &CountedSetPixelFormat),
      MakeRedirect("wglCreateContext", real.wglCreateContext, &CountedWglCreateContext),
      MakeRedirect("wglMakeCurrent", real.wglMakeCurrent, &CountedWglMakeCurrent),
      MakeRedirect("wglDeleteContext", real.wglDeleteContext, &CountedWglDeleteContext),
      MakeRedirect("wglShareLists", real.wglShareLists, &CountedWglShareLists),
      MakeRedirect("wglGetProcAddress", real.wglGetProcAddress, &CountedWglGetProcAddress),
  };
}

// Points the program's import table entries of the redirected names at the
// wrappers, keeping the real addresses.
void RedirectImports() {
  auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const std::vector<Redirect> redirects = Redirects();
  for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       directory.VirtualAddress != 0 && library->Name != 0; ++library) {
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        continue;
      }
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      const char* name = reinterpret_cast<const char*>(byName->Name);
      for (const Redirect& redirect : redirects) {
        if (std::strcmp(name, redirect.name) != 0) {
          continue;
        }
        DWORD oldProtection = 0;
        VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &oldProtection);
        *redirect.real = reinterpret_cast<void*>(slots->u1.Function);
        slots->u1.Function = reinterpret_cast<ULONG_PTR>(redirect.wrapper);
        VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), oldProtection, &oldProtection);
      }
    }
  }
}

// Before main: every call the program makes is seen.
const bool gRedirected = (RedirectImports(), true);

}  // namespace

void FailCall(Call call, int nth) {
  Locked([&](FaultState& state) { state.failCountdown[static_cast<std::size_t>(call)] = nth; });
}

void FailProcAddress(const std::string& name) {
  Locked([&](FaultState& state) { state.failingProcNames.push_back(name); });
}

void SetExtensionString(ExtensionString variant) {
  Locked([&](FaultState& state) { state.extensionString = variant; });
}

// The real opengl32 chooses its handles itself.
bool ReuseDeletedContextHandles(bool) {
  return false;
}

long CallCount(Call call) {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.callCounts[static_cast<std::size_t>(call)];
}

void Reset() {
  Locked([](FaultState& state) {
    state.callCounts.fill(0);
    state.failCountdown.fill(0);
    state.failingProcNames.clear();
    state.extensionString = ExtensionString::Normal;
  });
}

// Windows and their device contexts also end with the thread that made them,
// so those count only while the window still exists.
LiveObjects CountLiveObjects() {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  LiveObjects live;
  live.windowClasses = static_cast<int>(state.classes.size());
  live.windows = static_cast<int>(
      std::count_if(state.windows.begin(), state.windows.end(), [](HWND window) { return IsWindow(window) != FALSE; }));
  live.deviceContexts =
      static_cast<int>(std::count_if(state.deviceContexts.begin(), state.deviceContexts.end(),
                                     [](const auto& entry) { return IsWindow(entry.second) != FALSE; }));
  live.glContexts = static_cast<int>(state.glContexts.size());
  return live;
}

std::vector<std::string> RegisteredClassNames() {
  FaultState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.registeredClassNames;
}

bool WindowExists(HWND window) {
  return IsWindow(window) != FALSE;
}

}  // namespace Orvane::Lumisk::WglFaults
