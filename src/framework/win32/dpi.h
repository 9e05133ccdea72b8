#pragma once
// Design pixels (at 96 DPI) scaled to the DPI of the monitor a window is on.
#include <windows.h>

namespace brevane::framework::win32 {

constexpr UINT kDesignDpi = 96;

// The window's DPI: its monitor's where Windows scales per monitor (8.1 and later), else the
// system's; 0 for no window. Works on every Windows from 7 on.
UINT WindowDpi(HWND window);
// AdjustWindowRectEx for a frame at dpi; before Windows 10, at the system's DPI.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

class DpiScale {
 public:
  explicit DpiScale(UINT dpi = kDesignDpi) : dpi_(dpi == 0 ? kDesignDpi : dpi) {}
  static DpiScale ForWindow(HWND window);
  static DpiScale ForSystem();

  UINT Dpi() const { return dpi_; }
  int operator()(int designPixels) const {
    return MulDiv(designPixels, static_cast<int>(dpi_), static_cast<int>(kDesignDpi));
  }
  // Back from device pixels to design pixels.
  int ToDesign(int devicePixels) const {
    return MulDiv(devicePixels, static_cast<int>(kDesignDpi), static_cast<int>(dpi_));
  }
  // Device pixels measured at another DPI (a column the user sized before a DPI change, a
  // system metric) at this one.
  int FromDpi(int devicePixels, UINT otherDpi) const {
    return MulDiv(devicePixels, static_cast<int>(dpi_),
                  static_cast<int>(otherDpi == 0 ? kDesignDpi : otherDpi));
  }

 private:
  UINT dpi_;
};

}  // namespace brevane::framework::win32
