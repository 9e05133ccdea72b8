#include "framework/win32/dpi.h"

namespace brevane::win32 {

DpiScale DpiScale::ForWindow(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
  return dpi != 0 ? DpiScale(dpi) : ForSystem();
}

DpiScale DpiScale::ForSystem() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return DpiScale(dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi);
}

}  // namespace brevane::win32
