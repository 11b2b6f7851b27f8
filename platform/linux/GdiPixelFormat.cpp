// Pixel formats: the layer offers one format (number 1), RGBA with depth, that
// every OpenGL request maps to. A window's format can be set once.

#include "platform/linux/LayerState.h"

using namespace Orvane::Lumisk::Win32Layer;

namespace {
constexpr int kOnlyPixelFormat = 1;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::ChoosePixelFormat)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return 0;
  }
  state.lastChosenPixelFormat = descriptor != nullptr ? *descriptor : PIXELFORMATDESCRIPTOR{};
  if (WindowOfDc(state, dc) == nullptr || descriptor == nullptr || descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
      (descriptor->dwFlags & PFD_SUPPORT_OPENGL) == 0) {
    SetLastErrorCode(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return kOnlyPixelFormat;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
  LayerState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (CallFails(state, Call::SetPixelFormat)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  state.lastSetPixelFormat = descriptor != nullptr ? *descriptor : PIXELFORMATDESCRIPTOR{};
  WindowRecord* window = WindowOfDc(state, dc);
  if (window == nullptr || format != kOnlyPixelFormat || (window->pixelFormat != 0 && window->pixelFormat != format)) {
    SetLastErrorCode(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  window->pixelFormat = format;
  return TRUE;
}
