#pragma once
// Shows the hourglass for one scope and puts the previous cursor back on every way out.
// Restore() brings the previous cursor back early, before a message box is shown.
#include <windows.h>

namespace brevane::framework::win32 {

class BusyCursor {
 public:
  BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~BusyCursor() { Restore(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  void Restore() {
    if (active_) SetCursor(previous_);
    active_ = false;
  }

 private:
  HCURSOR previous_;
  bool active_ = true;
};

}  // namespace brevane::framework::win32
