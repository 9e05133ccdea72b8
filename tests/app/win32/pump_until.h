#pragma once
// Processes this thread's messages until a condition holds or the time is up.
#include <windows.h>

#include <functional>

namespace brevane::app::win32 {

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  }
  return true;
}

}  // namespace brevane::app::win32
