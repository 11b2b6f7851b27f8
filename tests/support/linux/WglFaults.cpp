// The controls of WglFaults.h over the state of the layer over EGL, which
// liblumisk_win32 shares between the test program and the module it loads.
#include "tests/support/WglFaults.h"

#include "platform/linux/LayerState.h"

namespace Orvane::Lumisk::WglFaults {

using Win32Layer::LayerState;
using Win32Layer::State;

void FailCall(Call call, int nth) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.failCountdown[static_cast<std::size_t>(call)] = nth < 1 ? 0 : nth;
}

void FailProcAddress(const std::string& name) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.failingProcNames.push_back(name);
}

void SetExtensionString(ExtensionString variant) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.extensionString = variant;
}

bool ReuseDeletedContextHandles(bool reuse) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.reuseDeletedContextHandles = reuse;
  if (!reuse) {
    state.deletedContextHandles.clear();
  }
  return true;
}

long CallCount(Call call) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.callCounts[static_cast<std::size_t>(call)];
}

void Reset() {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.callCounts.fill(0);
  state.failCountdown.fill(0);
  state.failingProcNames.clear();
  state.extensionString = ExtensionString::Normal;
  state.reuseDeletedContextHandles = false;
  state.deletedContextHandles.clear();
}

LiveObjects CountLiveObjects() {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  LiveObjects live;
  live.windowClasses = static_cast<int>(state.classes.size());
  live.windows = static_cast<int>(state.windows.size());
  live.deviceContexts = static_cast<int>(state.deviceContexts.size());
  live.glContexts = static_cast<int>(state.contexts.size());
  return live;
}

std::vector<std::string> RegisteredClassNames() {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.registeredClassNames;
}

namespace {

// A copy of one recorded field, read under the layer's mutex.
template <typename Field>
Field ReadRecord(Field LayerState::*field) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.*field;
}

}  // namespace

RecordedWindowClass LastWindowClass() {
  return ReadRecord(&LayerState::lastWindowClass);
}

RecordedWindow LastCreateWindow() {
  return ReadRecord(&LayerState::lastWindow);
}

PIXELFORMATDESCRIPTOR LastChosenPixelFormat() {
  return ReadRecord(&LayerState::lastChosenPixelFormat);
}

PIXELFORMATDESCRIPTOR LastSetPixelFormat() {
  return ReadRecord(&LayerState::lastSetPixelFormat);
}

std::vector<int> LastContextAttributes() {
  return ReadRecord(&LayerState::lastContextAttributes);
}

bool WindowExists(HWND window) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.windows.count(window) != 0;
}

}  // namespace Orvane::Lumisk::WglFaults
