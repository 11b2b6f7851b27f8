// WGL contexts over EGL (the display of EglDisplay.h). Contexts have no
// surface (EGL_KHR_surfaceless_context) and no config (EGL_KHR_no_config_context);
// the device context only has to be valid and carry a pixel format.

#include <cstring>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/linux/EglDisplay.h"
#include "platform/linux/LayerState.h"

using namespace Orvane::Lumisk::Win32Layer;

namespace {

// The API binding is per thread in EGL: bind before every create and
// make-current, or a second thread's context fails with EGL_BAD_MATCH.
bool BindOpenGlApi() {
  return eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

EGLContext CreateEglContext(const ContextRequest& request, EGLContext shareWith) {
  if (Display() == EGL_NO_DISPLAY || !BindOpenGlApi()) {
    return EGL_NO_CONTEXT;
  }
  std::vector<EGLint> attributes;
  if (request.major != 0) {
    attributes.insert(attributes.end(),
                      {EGL_CONTEXT_MAJOR_VERSION, request.major, EGL_CONTEXT_MINOR_VERSION, request.minor});
    if (request.profileMask != 0) {
      attributes.insert(attributes.end(), {EGL_CONTEXT_OPENGL_PROFILE_MASK, request.profileMask});
    }
  }
  if (request.debug) {
    attributes.insert(attributes.end(), {EGL_CONTEXT_OPENGL_DEBUG, EGL_TRUE});
  }
  if (request.forwardCompatible) {
    attributes.insert(attributes.end(), {EGL_CONTEXT_OPENGL_FORWARD_COMPATIBLE, EGL_TRUE});
  }
  attributes.push_back(EGL_NONE);
  return eglCreateContext(Display(), EGL_NO_CONFIG_KHR, shareWith, attributes.data());
}

bool MakeEglCurrent(EGLContext context) {
  if (Display() == EGL_NO_DISPLAY || !BindOpenGlApi()) {
    return false;
  }
  return eglMakeCurrent(Display(), EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

bool CurrentElsewhere(const ContextRecord& record) {
  return record.current && record.currentThread != std::this_thread::get_id();
}

// Leaves nothing current on the calling thread; the caller holds the mutex.
void ReleaseCurrent(LayerState& state) {
  const HGLRC current = CurrentContext();
  if (current != nullptr) {
    const auto found = state.contexts.find(current);
    if (found != state.contexts.end()) {
      found->second.current = false;
    }
    MakeEglCurrent(EGL_NO_CONTEXT);
  }
  SetCurrent(nullptr, nullptr);
}

// The device context must be valid and carry a pixel format to take a context.
bool DcReady(LayerState& state, HDC dc) {
  const WindowRecord* window = WindowOfDc(state, dc);
  return window != nullptr && window->pixelFormat != 0;
}

// A new handle, or, while the test control asks for it, the value of the
// context deleted last, as opengl32 may hand out.
HGLRC NewContextHandle(LayerState& state) {
  if (state.reuseDeletedContextHandles && !state.deletedContextHandles.empty()) {
    const HGLRC reused = state.deletedContextHandles.back();
    state.deletedContextHandles.pop_back();
    return reused;
  }
  return state.NewHandle<HGLRC>();
}

HGLRC RegisterContext(LayerState& state, EGLContext egl, const ContextRequest& request) {
  const HGLRC handle = NewContextHandle(state);
  ContextRecord record;
  record.egl = egl;
  record.request = request;
  state.contexts.emplace(handle, record);
  return handle;
}

// Reads a WGL attribute list into a request; false for an attribute or value
// that the layer does not know.
bool ParseAttributes(const int* attributes, ContextRequest& request, DWORD& error) {
  request.major = 1;
  request.minor = 0;
  int profileMask = WGL_CONTEXT_CORE_PROFILE_BIT_ARB;
  for (const int* at = attributes; at != nullptr && at[0] != 0; at += 2) {
    const int value = at[1];
    switch (at[0]) {
      case WGL_CONTEXT_MAJOR_VERSION_ARB:
        request.major = value;
        break;
      case WGL_CONTEXT_MINOR_VERSION_ARB:
        request.minor = value;
        break;
      case WGL_CONTEXT_LAYER_PLANE_ARB:
        if (value != 0) {
          error = ERROR_INVALID_PARAMETER;
          return false;
        }
        break;
      case WGL_CONTEXT_FLAGS_ARB:
        request.debug = (value & 0x1) != 0;
        request.forwardCompatible = (value & 0x2) != 0;
        break;
      case WGL_CONTEXT_PROFILE_MASK_ARB:
        profileMask = value;
        break;
      default:
        error = ERROR_INVALID_PARAMETER;
        return false;
    }
  }
  if (request.major < 1 || request.minor < 0) {
    error = ERROR_INVALID_VERSION_ARB;
    return false;
  }
  // A profile is chosen only from 3.2 on; earlier versions are compatibility.
  const bool hasProfiles = request.major > 3 || (request.major == 3 && request.minor >= 2);
  if (hasProfiles) {
    if (profileMask != WGL_CONTEXT_CORE_PROFILE_BIT_ARB && profileMask != WGL_CONTEXT_COMPATIBILITY_PROFILE_BIT_ARB) {
      error = ERROR_INVALID_PROFILE_ARB;
      return false;
    }
    request.profileMask = profileMask == WGL_CONTEXT_CORE_PROFILE_BIT_ARB
                              ? EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT
                              : EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT;
  }
  return true;
}

const char* WINAPI GetExtensionsStringArb(HDC) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglGetExtensionsStringARB)) {
    return nullptr;
  }
  switch (state.extensionString) {
    case ExtensionString::Normal:
      return "WGL_ARB_extensions_string WGL_ARB_pixel_format WGL_ARB_create_context "
             "WGL_ARB_create_context_profile WGL_EXT_swap_control";
    case ExtensionString::WithoutCreateContext:
      return "WGL_ARB_extensions_string WGL_ARB_pixel_format WGL_EXT_swap_control";
    case ExtensionString::OnlyLongerCreateContext:
      return "WGL_ARB_extensions_string WGL_ARB_create_context_profile";
    case ExtensionString::Null:
      break;
  }
  return nullptr;
}

HGLRC WINAPI CreateContextAttribsArb(HDC dc, HGLRC shareWith, const int* attributes) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglCreateContextAttribsARB)) {
    SetLastErrorCode(ERROR_INVALID_VERSION_ARB);
    return nullptr;
  }
  if (!DcReady(state, dc)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  EGLContext shareEgl = EGL_NO_CONTEXT;
  if (shareWith != nullptr) {
    const auto partner = state.contexts.find(shareWith);
    if (partner == state.contexts.end()) {
      SetLastErrorCode(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    shareEgl = partner->second.egl;
  }
  state.lastContextAttributes.clear();
  for (const int* at = attributes; at != nullptr; at += 2) {
    state.lastContextAttributes.push_back(at[0]);
    if (at[0] == 0) {
      break;
    }
    state.lastContextAttributes.push_back(at[1]);
  }
  ContextRequest request;
  DWORD error = ERROR_SUCCESS;
  if (!ParseAttributes(attributes, request, error)) {
    SetLastErrorCode(error);
    return nullptr;
  }
  const EGLContext egl = CreateEglContext(request, shareEgl);
  if (egl == EGL_NO_CONTEXT) {
    SetLastErrorCode(ERROR_INVALID_VERSION_ARB);
    return nullptr;
  }
  return RegisterContext(state, egl, request);
}

}  // namespace

HGLRC WINAPI wglCreateContext(HDC dc) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglCreateContext)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  if (!DcReady(state, dc)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  const ContextRequest legacy;
  const EGLContext egl = CreateEglContext(legacy, EGL_NO_CONTEXT);
  if (egl == EGL_NO_CONTEXT) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  return RegisterContext(state, egl, legacy);
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglDeleteContext)) {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const auto found = state.contexts.find(context);
  if (found == state.contexts.end()) {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (CurrentElsewhere(found->second)) {
    SetLastErrorCode(ERROR_BUSY);
    return FALSE;
  }
  if (CurrentContext() == context) {
    ReleaseCurrent(state);
  }
  eglDestroyContext(Display(), found->second.egl);
  state.contexts.erase(found);
  if (state.reuseDeletedContextHandles) {
    state.deletedContextHandles.push_back(context);
  }
  return TRUE;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  const bool injected = CallFails(state, Call::wglMakeCurrent);
  if (context == nullptr && !injected) {
    ReleaseCurrent(state);
    return TRUE;
  }
  const auto found = state.contexts.find(context);
  DWORD error = ERROR_SUCCESS;
  if (injected || found == state.contexts.end()) {
    error = ERROR_INVALID_HANDLE;
  } else if (!DcReady(state, dc)) {
    error = ERROR_INVALID_PIXEL_FORMAT;
  } else if (CurrentElsewhere(found->second)) {
    error = ERROR_BUSY;
  }
  if (error == ERROR_SUCCESS) {
    if (CurrentContext() == context) {
      SetCurrent(dc, context);
      return TRUE;
    }
    if (MakeEglCurrent(found->second.egl)) {
      const auto previous = state.contexts.find(CurrentContext());
      if (previous != state.contexts.end()) {
        previous->second.current = false;
      }
      found->second.current = true;
      found->second.currentThread = std::this_thread::get_id();
      SetCurrent(dc, context);
      return TRUE;
    }
    error = ERROR_INVALID_HANDLE;
  }
  // As on Windows, a failed call leaves the thread without a current context.
  ReleaseCurrent(state);
  SetLastErrorCode(error);
  return FALSE;
}

HGLRC WINAPI wglGetCurrentContext() {
  return CurrentContext();
}

HDC WINAPI wglGetCurrentDC() {
  return CurrentDc();
}

// EGL shares objects only at creation: the joining context's EGL context is
// made again with the partner and put in place behind the same handle (and
// bound again when it is current on this thread). Objects made in it before
// the call are lost, which is why it is called right after creation.
BOOL WINAPI wglShareLists(HGLRC shareFrom, HGLRC joining) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglShareLists)) {
    SetLastErrorCode(ERROR_BUSY);
    return FALSE;
  }
  const auto partner = state.contexts.find(shareFrom);
  const auto joiner = state.contexts.find(joining);
  if (partner == state.contexts.end() || joiner == state.contexts.end() || shareFrom == joining) {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ContextRecord& record = joiner->second;
  if (CurrentElsewhere(record)) {
    SetLastErrorCode(ERROR_BUSY);
    return FALSE;
  }
  const EGLContext remade = CreateEglContext(record.request, partner->second.egl);
  if (remade == EGL_NO_CONTEXT) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (record.current && !MakeEglCurrent(remade)) {
    eglDestroyContext(Display(), remade);
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  eglDestroyContext(Display(), record.egl);
  record.egl = remade;
  return TRUE;
}

PROC WINAPI wglGetProcAddress(LPCSTR name) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::wglGetProcAddress) || name == nullptr || CurrentContext() == nullptr) {
    return nullptr;
  }
  for (const std::string& failing : state.failingProcNames) {
    if (failing == name) {
      return nullptr;
    }
  }
  if (std::strcmp(name, "wglGetExtensionsStringARB") == 0) {
    return WglProcCast<PROC>(&GetExtensionsStringArb);
  }
  if (std::strcmp(name, "wglCreateContextAttribsARB") == 0) {
    return WglProcCast<PROC>(&CreateContextAttribsArb);
  }
  return WglProcCast<PROC>(eglGetProcAddress(name));
}

// glbinding identifies the current context through glXGetCurrentContext. The
// system's answers null for EGL contexts; this one, found first because the
// layer comes before libGL in every executable's needed list, gives glbinding
// one handle per WGL context, as wglGetCurrentContext does on Windows.
extern "C" __attribute__((visibility("default"))) void* glXGetCurrentContext() {
  return CurrentContext();
}
