#include "gl/AEOpenGLContext.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <iostream>

#include <glbinding/Binding.h>
#include <glbinding/ContextInfo.h>
#include <glbinding/Meta.h>
#include <glbinding/Version.h>

#include "gl/AESDK_OpenGL_Fault.h"
#include "gl/PerContextObjects.h"

namespace Orvane::Lumisk {

namespace {

std::atomic<std::int32_t> gWindowClassCounter{0};

// Looked up while a root context is made and kept for the process: per-thread
// constructions need a current context to look them up otherwise.
WglGetExtensionsStringArbProc gWglGetExtensionsStringARB = nullptr;
WglCreateContextAttribsArbProc gWglCreateContextAttribsARB = nullptr;

constexpr char kWindowClassPrefix[] = "AEOpenGL_Win_Class";
constexpr char kWindowTitle[] = "OpenGL-using FBOs in AE";
constexpr char kCreateContextExtension[] = "WGL_ARB_create_context";

[[noreturn]] void Fail() {
  throw AESDK_OpenGL_Fault(1);
}

PIXELFORMATDESCRIPTOR HiddenWindowPixelFormat() {
  PIXELFORMATDESCRIPTOR descriptor;
  std::memset(&descriptor, 0, sizeof(descriptor));
  descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  descriptor.nVersion = 1;
  descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;  // single-buffered
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = 32;
  descriptor.cDepthBits = 8;
  descriptor.iLayerType = PFD_MAIN_PLANE;
  return descriptor;
}

HGLRC CreateRootWglContext(HDC dc) {
  const HGLRC context = wglCreateContext(dc);
  if (wglMakeCurrent(dc, context) == FALSE) {
    if (context != nullptr) {
      wglDeleteContext(context);
    }
    Fail();
  }
  // From here on a failure must not leave the half-made context behind.
  try {
    gWglGetExtensionsStringARB =
        WglProcCast<WglGetExtensionsStringArbProc>(wglGetProcAddress("wglGetExtensionsStringARB"));
    if (gWglGetExtensionsStringARB == nullptr) {
      Fail();
    }
    // A null string is searched as an empty one.
    const char* reported = gWglGetExtensionsStringARB(dc);
    const std::string extensionString = reported != nullptr ? reported : "";
    // A plain substring search: a longer name that begins with it counts too.
    if (extensionString.find(kCreateContextExtension) != std::string::npos) {
      gWglCreateContextAttribsARB =
          WglProcCast<WglCreateContextAttribsArbProc>(wglGetProcAddress("wglCreateContextAttribsARB"));
    }
    if (gWglCreateContextAttribsARB == nullptr) {
      Fail();
    }
  } catch (...) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    throw;
  }
  return context;
}

HGLRC CreateSharedWglContext(HDC dc, HGLRC shareWith) {
  // No share context here: the new context joins the share group right after.
  const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3, 0, 0};
  const HGLRC context =
      gWglCreateContextAttribsARB != nullptr ? gWglCreateContextAttribsARB(dc, nullptr, attributes) : nullptr;
  if (context == nullptr) {
    Fail();
  }
  // Joined before it is first made current: Wine (and a driver that rebuilds
  // the context to share) refuses to share a context that has been current.
  if (wglShareLists(shareWith, context) == FALSE || wglMakeCurrent(dc, context) == FALSE) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    Fail();
  }
  return context;
}

}  // namespace

AEOpenGLContext::AEOpenGLContext(AEOpenGLContext* shareWith) {
  windowClassName = std::to_string(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(this)));
  try {
    hwnd = CreateHiddenWindow(windowClassName);
    hdc = GetDC(hwnd);
    hglrc = CreateWglContext(hdc, shareWith != nullptr ? shareWith->hglrc : nullptr);
    wglMakeCurrent(hdc, hglrc);
    PrintContextInfo();
    extensions = glbinding::ContextInfo::extensions();
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

AEOpenGLContext::~AEOpenGLContext() {
  ReleaseAll();
}

void AEOpenGLContext::ReleaseAll() noexcept {
  if (hglrc != nullptr) {
    // Whatever this context held per context goes with it.
    ForgetContextObjects(hglrc);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(hglrc);
    hglrc = nullptr;
  }
  if (hdc != nullptr) {
    ReleaseDC(hwnd, hdc);
    hdc = nullptr;
  }
  // The window goes first, or its class could not be unregistered.
  if (hwnd != nullptr) {
    DestroyWindow(hwnd);
    hwnd = nullptr;
  }
  if (!windowClassName.empty()) {
    UnregisterClassA(windowClassName.c_str(), nullptr);
  }
}

void AEOpenGLContext::MakeCurrent() {
  wglMakeCurrent(hdc, hglrc);
  glbinding::Binding::useCurrentContext();
  DeletePendingContextObjects();
}

HWND AEOpenGLContext::CreateHiddenWindow(std::string& name) {
  const std::int32_t counter = gWindowClassCounter.fetch_add(1);
  const std::string className = kWindowClassPrefix + name + "_" + std::to_string(counter);

  WNDCLASSEXA windowClass;
  std::memset(&windowClass, 0, sizeof(windowClass));
  windowClass.cbSize = sizeof(WNDCLASSEXA);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className.c_str();
  if (RegisterClassExA(&windowClass) == 0) {
    name.clear();  // nothing registered: nothing to unregister
    Fail();
  }
  name = className;

  const HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, className.c_str(), kWindowTitle,
                                      WS_OVERLAPPED, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) {
    Fail();
  }
  return window;
}

HGLRC AEOpenGLContext::CreateWglContext(HDC dc, HGLRC shareWith) {
  const PIXELFORMATDESCRIPTOR descriptor = HiddenWindowPixelFormat();
  const int format = ChoosePixelFormat(dc, &descriptor);
  if (format == 0 || SetPixelFormat(dc, format, &descriptor) == FALSE) {
    Fail();
  }
  return shareWith == nullptr ? CreateRootWglContext(dc) : CreateSharedWglContext(dc, shareWith);
}

void AEOpenGLContext::PrintContextInfo() {
  glbinding::Binding::initialize(false);
  // initialize returns at once for a handle glbinding already knows, which
  // opengl32 may hand out again after a context is deleted; without this a
  // thread new to glbinding would make its first GL call with no state.
  glbinding::Binding::useCurrentContext();
  const std::string renderer = glbinding::ContextInfo::renderer();
  const std::string vendor = glbinding::ContextInfo::vendor();
  const glbinding::Version version = glbinding::ContextInfo::version();
  std::cout << std::endl;
  std::cout << "OpenGL Version:  " << version << std::endl;
  std::cout << "OpenGL Vendor:   " << vendor << std::endl;
  std::cout << "OpenGL Renderer: " << renderer << std::endl;
  std::cout << "OpenGL Revision: " << glbinding::Meta::glRevision() << " (gl.xml)" << std::endl;
  std::cout << std::endl;
}

}  // namespace Orvane::Lumisk
