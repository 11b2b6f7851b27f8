#pragma once
// Our own declarations of the Win32 windowing, GDI and WGL calls the module
// uses, for builds off Windows. liblumisk_win32 implements them over EGL.
// Layouts match the 64-bit Windows ABI so that the records the module fills
// have the sizes it relies on (checked below).

#include <cstdint>

#define WINAPI
#define CALLBACK
#define LUMISK_WIN32_API extern "C" __attribute__((visibility("default")))

typedef int BOOL;
typedef unsigned char BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef WORD ATOM;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t UINT_PTR;
typedef LONG_PTR LRESULT;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef const char* LPCSTR;
typedef void* LPVOID;

// Distinct opaque handle types, so that one kind cannot be passed for another.
typedef struct LumiskWindowHandle* HWND;
typedef struct LumiskDeviceContextHandle* HDC;
typedef struct LumiskGlContextHandle* HGLRC;
typedef struct LumiskInstanceHandle* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct LumiskIconHandle* HICON;
typedef HICON HCURSOR;
typedef void* HGDIOBJ;  // untyped, as GDI hands out brushes, pens and fonts alike
typedef struct LumiskBrushHandle* HBRUSH;
typedef struct LumiskMenuHandle* HMENU;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef LONG_PTR(WINAPI* PROC)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define WS_OVERLAPPED 0x00000000u
#define WS_EX_WINDOWEDGE 0x00000100u
#define WS_EX_APPWINDOW 0x00040000u
#define IDC_ARROW (reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(32512)))
#define BLACK_BRUSH 4
#define PFD_DOUBLEBUFFER 0x00000001u
#define PFD_DRAW_TO_WINDOW 0x00000004u
#define PFD_SUPPORT_OPENGL 0x00000020u
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// Error codes that GetLastError reports after a failed call of the layer.
#define ERROR_SUCCESS 0u
#define ERROR_ACCESS_DENIED 5u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_BUSY 170u
#define ERROR_CLASS_ALREADY_EXISTS 1410u
#define ERROR_CLASS_DOES_NOT_EXIST 1411u
#define ERROR_CLASS_HAS_WINDOWS 1412u
#define ERROR_INVALID_PIXEL_FORMAT 2000u
#define ERROR_INVALID_VERSION_ARB 0x2095u
#define ERROR_INVALID_PROFILE_ARB 0x2096u

struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
static_assert(sizeof(WNDCLASSEXA) == 80, "WNDCLASSEXA must keep the 64-bit Windows layout");

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR must keep the Windows layout");

// Windowing (user32).
LUMISK_WIN32_API ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass);
LUMISK_WIN32_API BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance);
LUMISK_WIN32_API HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                             int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                             LPVOID param);
LUMISK_WIN32_API BOOL WINAPI DestroyWindow(HWND window);
LUMISK_WIN32_API LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LUMISK_WIN32_API HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName);
LUMISK_WIN32_API HDC WINAPI GetDC(HWND window);
LUMISK_WIN32_API int WINAPI ReleaseDC(HWND window, HDC dc);

// GDI (gdi32).
LUMISK_WIN32_API int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
LUMISK_WIN32_API BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
LUMISK_WIN32_API HGDIOBJ WINAPI GetStockObject(int object);

// Process (kernel32).
LUMISK_WIN32_API HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
LUMISK_WIN32_API DWORD WINAPI GetLastError();

// WGL (opengl32).
LUMISK_WIN32_API HGLRC WINAPI wglCreateContext(HDC dc);
LUMISK_WIN32_API BOOL WINAPI wglDeleteContext(HGLRC context);
LUMISK_WIN32_API BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context);
LUMISK_WIN32_API HGLRC WINAPI wglGetCurrentContext();
LUMISK_WIN32_API HDC WINAPI wglGetCurrentDC();
LUMISK_WIN32_API BOOL WINAPI wglShareLists(HGLRC shareFrom, HGLRC joining);
LUMISK_WIN32_API PROC WINAPI wglGetProcAddress(LPCSTR name);
