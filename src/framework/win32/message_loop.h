#pragma once
// The application's message loop. Keyboard shortcuts go through the accelerator table of the
// main window (for messages aimed at the main window or its children); modeless dialogs that
// were registered get their dialog keyboard handling; everything else is dispatched.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace brevane::framework::win32 {

class ModelessDialogs {
 public:
  void Add(HWND dialog) { dialogs_.push_back(dialog); }
  void Remove(HWND dialog) { std::erase(dialogs_, dialog); }
  // Modeless windows of another component that want every message first (the help viewer).
  void SetPreTranslate(std::function<bool(MSG&)> preTranslate) {
    preTranslate_ = std::move(preTranslate);
  }
  // True when one of the dialogs took the message.
  bool Handle(MSG& message) const;

 private:
  std::vector<HWND> dialogs_;
  std::function<bool(MSG&)> preTranslate_;
};

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators, const ModelessDialogs* dialogs);

// Lets pending messages be processed (paint, input, the loader's steps), without blocking.
// Returns false when WM_QUIT was seen (it is posted again for the main loop).
bool ProcessPendingMessages(HWND mainWindow, HACCEL accelerators);

}  // namespace brevane::framework::win32
