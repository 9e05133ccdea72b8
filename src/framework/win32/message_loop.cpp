#include "framework/win32/message_loop.h"

namespace brevane::win32 {

namespace {

bool IsInside(HWND window, HWND ancestor) {
  return window != nullptr && (window == ancestor || IsChild(ancestor, window));
}

bool TranslateShortcut(HWND mainWindow, HACCEL accelerators, MSG& message) {
  return accelerators != nullptr && mainWindow != nullptr && IsInside(message.hwnd, mainWindow) &&
         TranslateAcceleratorW(mainWindow, accelerators, &message) != 0;
}

void Dispatch(HWND mainWindow, HACCEL accelerators, const ModelessDialogs* dialogs, MSG& message) {
  if (TranslateShortcut(mainWindow, accelerators, message)) return;
  if (dialogs != nullptr && dialogs->Handle(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

bool ModelessDialogs::Handle(MSG& message) const {
  for (HWND dialog : dialogs_) {
    if (IsWindow(dialog) && IsInside(message.hwnd, dialog) && IsDialogMessageW(dialog, &message))
      return true;
  }
  return false;
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators, const ModelessDialogs* dialogs) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) return 1;
    Dispatch(mainWindow, accelerators, dialogs, message);
  }
  return static_cast<int>(message.wParam);
}

bool ProcessPendingMessages(HWND mainWindow, HACCEL accelerators) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(mainWindow, accelerators, nullptr, message);
  }
  return true;
}

}  // namespace brevane::win32
