#include "platform/linux/LayerState.h"

namespace Orvane::Lumisk::Win32Layer {

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;
thread_local HGLRC tCurrentContext = nullptr;
thread_local HDC tCurrentDc = nullptr;

// A thread that ends with a context current releases it, as on Windows, so
// that another thread can take or delete it.
struct ReleaseAtThreadExit {
  ~ReleaseAtThreadExit() {
    if (tCurrentContext == nullptr) {
      return;
    }
    LayerState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const auto found = state.contexts.find(tCurrentContext);
    if (found != state.contexts.end()) {
      found->second.current = false;
    }
    eglReleaseThread();
    tCurrentContext = nullptr;
    tCurrentDc = nullptr;
  }
};
thread_local ReleaseAtThreadExit tReleaseAtThreadExit;

}  // namespace

LayerState& State() {
  // Never destroyed: other libraries' exit code may still call the layer.
  static LayerState* state = new LayerState();
  return *state;
}

bool CallFails(LayerState& state, Call call) {
  return state.CountAndFail(call);
}

void SetLastErrorCode(DWORD code) {
  tLastError = code;
}

HGLRC CurrentContext() {
  return tCurrentContext;
}

HDC CurrentDc() {
  return tCurrentDc;
}

void SetCurrent(HDC dc, HGLRC context) {
  (void)&tReleaseAtThreadExit;  // constructed on the thread's first binding
  tCurrentDc = dc;
  tCurrentContext = context;
}

WindowRecord* WindowOfDc(LayerState& state, HDC dc) {
  const auto found = state.deviceContexts.find(dc);
  if (found == state.deviceContexts.end()) {
    return nullptr;
  }
  return &state.windows.at(found->second);
}

}  // namespace Orvane::Lumisk::Win32Layer

DWORD WINAPI GetLastError() {
  return Orvane::Lumisk::Win32Layer::tLastError;
}
