// Window classes, hidden windows and their device contexts. Windows here are
// bookkeeping only: nothing is shown, and the GL contexts are surfaceless.

#include "platform/linux/LayerState.h"

using namespace Orvane::Lumisk::Win32Layer;

namespace {

constexpr std::uintptr_t kArrowCursor = 0x100;
constexpr std::uintptr_t kStockObjectBase = 0x200;
constexpr std::uintptr_t kProcessModule = 0x400;
constexpr int kStockObjectCount = 20;

std::string TextOrEmpty(LPCSTR text) {
  return text != nullptr ? text : "";
}

void RecordWindowClass(LayerState& state, const WNDCLASSEXA& windowClass) {
  RecordedWindowClass& record = state.lastWindowClass;
  record.fields = windowClass;
  record.fields.lpszMenuName = nullptr;
  record.fields.lpszClassName = nullptr;
  record.hasMenuName = windowClass.lpszMenuName != nullptr;
  record.menuName = TextOrEmpty(windowClass.lpszMenuName);
  record.className = TextOrEmpty(windowClass.lpszClassName);
}

// Releases the DC record of a window; the caller holds the mutex.
void DropDc(LayerState& state, WindowRecord& window) {
  if (window.dc != nullptr) {
    state.deviceContexts.erase(window.dc);
    window.dc = nullptr;
    window.dcReferences = 0;
  }
}

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::RegisterClassExA)) {
    SetLastErrorCode(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (windowClass != nullptr) {
    RecordWindowClass(state, *windowClass);
  }
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) || windowClass->lpszClassName == nullptr ||
      windowClass->lpfnWndProc == nullptr) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string name = windowClass->lpszClassName;
  if (state.classes.count(name) != 0) {
    SetLastErrorCode(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  state.classes.emplace(name, WindowClassRecord{});
  state.registeredClassNames.push_back(name);
  const ATOM atom = state.nextAtom;
  state.nextAtom = static_cast<ATOM>(atom == 0xFFFF ? 0xC000 : atom + 1);
  return atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::UnregisterClassA)) {
    SetLastErrorCode(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  const auto found = className ? state.classes.find(className) : state.classes.end();
  if (found == state.classes.end()) {
    SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (found->second.windowCount > 0) {
    SetLastErrorCode(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  state.classes.erase(found);
  return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastWindow = RecordedWindow{exStyle,
                                    TextOrEmpty(className),
                                    title != nullptr,
                                    TextOrEmpty(title),
                                    style,
                                    x,
                                    y,
                                    width,
                                    height,
                                    parent,
                                    menu,
                                    instance,
                                    param};
  if (CallFails(state, Call::CreateWindowExA)) {
    SetLastErrorCode(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const auto found = className ? state.classes.find(className) : state.classes.end();
  if (found == state.classes.end() || width < 0 || height < 0) {
    SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
    return nullptr;
  }
  ++found->second.windowCount;
  const HWND window = state.NewHandle<HWND>();
  WindowRecord record;
  record.className = found->first;
  state.windows.emplace(window, record);
  return window;
}

BOOL WINAPI DestroyWindow(HWND window) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::DestroyWindow)) {
    SetLastErrorCode(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const auto found = state.windows.find(window);
  if (found == state.windows.end()) {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DropDc(state, found->second);
  --state.classes.at(found->second.className).windowCount;
  state.windows.erase(found);
  return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
  if (instance == nullptr && cursorName == IDC_ARROW) {
    return reinterpret_cast<HCURSOR>(kArrowCursor);
  }
  return nullptr;
}

HDC WINAPI GetDC(HWND window) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::GetDC)) {
    return nullptr;
  }
  const auto found = state.windows.find(window);
  if (found == state.windows.end()) {
    SetLastErrorCode(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  WindowRecord& record = found->second;
  if (record.dc == nullptr) {
    record.dc = state.NewHandle<HDC>();
    state.deviceContexts.emplace(record.dc, window);
  }
  ++record.dcReferences;
  return record.dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::ReleaseDC)) {
    return 0;
  }
  const auto found = state.windows.find(window);
  if (found == state.windows.end() || found->second.dc != dc || dc == nullptr) {
    return 0;
  }
  if (--found->second.dcReferences == 0) {
    DropDc(state, found->second);
  }
  return 1;
}

HGDIOBJ WINAPI GetStockObject(int object) {
  if (object < 0 || object >= kStockObjectCount) {
    return nullptr;
  }
  return reinterpret_cast<HGDIOBJ>(kStockObjectBase + static_cast<std::uintptr_t>(object) * 8);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(kProcessModule) : nullptr;
}
