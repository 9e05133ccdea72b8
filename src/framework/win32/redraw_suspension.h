#pragma once
// Many changes to a control shown as one: no flicker, and one repaint instead of one per change.
#include <windows.h>

namespace brevane::framework::win32 {

// Stops a window from redrawing for one scope; redraws it at the end, also when the scope is
// left by an exception, so that a control never stays frozen.
class RedrawSuspension {
 public:
  explicit RedrawSuspension(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawSuspension() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  RedrawSuspension(const RedrawSuspension&) = delete;
  RedrawSuspension& operator=(const RedrawSuspension&) = delete;

 private:
  HWND window_;
};

}  // namespace brevane::framework::win32
