#include "framework/win32/message_loop.h"

namespace brevane::framework::win32 {

namespace {

bool IsInside(HWND window, HWND ancestor) {
  return window != nullptr && (window == ancestor || IsChild(ancestor, window));
}

// Tab and Shift+Tab move the focus between the main window's controls, as in a dialog, but
// without the dialog manager's other keys (Enter and Escape stay with the controls).
bool MoveFocusOnTab(HWND mainWindow, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || mainWindow == nullptr ||
      !IsInside(message.hwnd, mainWindow) || GetKeyState(VK_CONTROL) < 0 ||
      GetKeyState(VK_MENU) < 0) {
    return false;
  }
  HWND control = message.hwnd;
  while (control != nullptr && GetParent(control) != mainWindow) control = GetParent(control);
  HWND next = GetNextDlgTabItem(mainWindow, control, GetKeyState(VK_SHIFT) < 0);
  if (next == nullptr) return false;
  SetFocus(next);
  return true;
}

bool TranslateShortcut(HWND mainWindow, HACCEL accelerators, MSG& message) {
  return accelerators != nullptr && mainWindow != nullptr && IsInside(message.hwnd, mainWindow) &&
         TranslateAcceleratorW(mainWindow, accelerators, &message) != 0;
}

void Dispatch(HWND mainWindow, HACCEL accelerators, const MessageFilter& filter, MSG& message) {
  if (TranslateShortcut(mainWindow, accelerators, message)) return;
  if (MoveFocusOnTab(mainWindow, message)) return;
  if (filter && filter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(HWND mainWindow, HACCEL accelerators, const MessageFilter& filter) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) return 1;
    Dispatch(mainWindow, accelerators, filter, message);
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
    Dispatch(mainWindow, accelerators, {}, message);
  }
  return true;
}

}  // namespace brevane::framework::win32
