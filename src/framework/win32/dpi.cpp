#include "framework/win32/dpi.h"

namespace brevane::framework::win32 {

namespace {

// The DPI functions of Windows 8.1 and 10 are looked up at run time: imported directly, they
// would keep the exe from starting on Windows 7 at all.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

GetDpiForWindowFunction GetDpiForWindowEntry() {
  static const auto entry =
      FindFunction<GetDpiForWindowFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  return entry;
}

AdjustWindowRectExForDpiFunction AdjustWindowRectExForDpiEntry() {
  static const auto entry = FindFunction<AdjustWindowRectExForDpiFunction>(
      GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
  return entry;
}

// Windows 8.1; the library stays loaded for the rest of the run.
GetDpiForMonitorFunction GetDpiForMonitorEntry() {
  static const auto entry = FindFunction<GetDpiForMonitorFunction>(
      LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
  return entry;
}

}  // namespace

UINT WindowDpi(HWND window) {
  if (window == nullptr) return 0;
  if (const auto getDpiForWindow = GetDpiForWindowEntry()) return getDpiForWindow(window);
  if (const auto getDpiForMonitor = GetDpiForMonitorEntry()) {
    UINT x = 0;
    UINT y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0)
      return y;
  }
  return DpiScale::ForSystem().Dpi();
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  if (const auto adjust = AdjustWindowRectExForDpiEntry())
    return adjust(&rect, style, menu ? TRUE : FALSE, exStyle, dpi) != FALSE;
  // Before Windows 10 the frame is drawn at the system's DPI whatever the monitor's.
  return AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, exStyle) != FALSE;
}

DpiScale DpiScale::ForWindow(HWND window) {
  const UINT dpi = WindowDpi(window);
  return dpi != 0 ? DpiScale(dpi) : ForSystem();
}

DpiScale DpiScale::ForSystem() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return DpiScale(dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi);
}

}  // namespace brevane::framework::win32
